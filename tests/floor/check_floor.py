#!/usr/bin/python3
"""Checks that each program starts on the oldest Windows it is built for: the 32-bit one on
Windows XP SP3 (NT 5.1), the 64-bit one on Windows XP x64 / Server 2003 x64 (NT 5.2).

Wine exports every function, so no test under Wine can see a missing one; the import table
can. For each program:
  - every imported function (by name or ordinal) is on the table of what the floor's DLLs
    export (floor_exports.txt next to this file);
  - the loader's version fields (OS and subsystem) are the floor's;
  - no delay-load imports (they would only fail later, at the first call);
  - TLS callbacks, if any, lie in the program's own code (XP runs them for an EXE; what it
    mishandles is implicit TLS in a DLL loaded at run time);
  - the embedded manifest is one XP's loader accepts, asks for Common Controls 6.0.0.0 when a
    function exported by name only from comctl32 version 6 is imported, and carries the
    file version of the version resource.

Usage: tests/floor/check_floor.py EXE...   (exit status 1 when a check fails)
Needs python3-pefile (Debian's python3).
"""

import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import pefile

TABLE = Path(__file__).with_name("floor_exports.txt")
# Machine field -> (floor, its NT version)
FLOORS = {
    0x014C: ("x86", (5, 1), "Windows XP SP3"),
    0x8664: ("x64", (5, 2), "Windows XP x64 / Server 2003 x64"),
}
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
# Elements of the asm.v1 namespace that XP's side-by-side loader knows; it refuses a manifest
# with any other element in that namespace ("... is not supported by this version of Windows").
# Newer settings (trustInfo, compatibility, dpiAware, ...) must stand in namespaces of their own,
# which XP skips.
XP_ASM_V1 = {"assembly", "assemblyIdentity", "description", "dependency", "dependentAssembly",
             "file", "noInherit", "comClass", "typelib", "windowClass",
             "comInterfaceExternalProxyStub"}
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                   "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}
RT_MANIFEST, MANIFEST_ID = 24, 1


def load_table(path=TABLE):
    """{(dll, function): {"floors": {"x86", "x64"}, "v6": bool}} from the table's lines
    "dll function floor... [comctl32-v6]" ("@n" for an ordinal); '#' starts a comment."""
    table = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        dll, function, *tags = words
        floors = {t for t in tags if t in ("x86", "x64")}
        unknown = set(tags) - floors - {"comctl32-v6"}
        if not floors or unknown:
            raise ValueError(f"{path}:{number}: bad line {line!r}")
        table[(dll.lower(), function)] = {"floors": floors, "v6": "comctl32-v6" in tags}
    return table


def imports_of(pe):
    """[(dll, function)] with "@n" for an import by ordinal."""
    out = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode("ascii").lower()
        for imp in entry.imports:
            out.append((dll, imp.name.decode("ascii") if imp.name else f"@{imp.ordinal}"))
    return out


def tls_callbacks(pe):
    """The TLS callbacks' virtual addresses (empty without a TLS directory)."""
    tls = getattr(pe, "DIRECTORY_ENTRY_TLS", None)
    if tls is None or not tls.struct.AddressOfCallBacks:
        return []
    base, size = pe.OPTIONAL_HEADER.ImageBase, 8 if pe.PE_TYPE == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS else 4
    rva, found = tls.struct.AddressOfCallBacks - base, []
    while True:
        va = pe.get_qword_at_rva(rva) if size == 8 else pe.get_dword_at_rva(rva)
        if not va:
            return found
        found.append(va)
        rva += size


def manifest_of(pe):
    """The RT_MANIFEST resource with ID 1 (the one the loader reads for an EXE), or None."""
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in resources.entries if resources else []:
        if kind.id != RT_MANIFEST:
            continue
        for name in kind.directory.entries:
            if name.id == MANIFEST_ID:
                data = name.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    return None


def file_version(pe):
    if not getattr(pe, "VS_FIXEDFILEINFO", None):
        return None
    info = pe.VS_FIXEDFILEINFO[0]
    return (f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}."
            f"{info.FileVersionLS >> 16}.{info.FileVersionLS & 0xFFFF}")


def check_manifest(raw, needs_v6, version):
    """Faults of the manifest as XP's loader would meet them."""
    if raw is None:
        return ["no manifest resource (RT_MANIFEST, ID 1)"]
    faults = []
    if raw.startswith(b"\xef\xbb\xbf"):
        faults.append("the manifest starts with a byte-order mark")
    text = raw.decode("utf-8")
    # XP SP2's loader (and Server 2003 before SP1) corrupts memory on a start tag that
    # declares two namespaces (KB921337).
    for tag in re.findall(r"<[A-Za-z][^>]*>", text):
        if len(re.findall(r"\sxmlns(?::\w+)?=", tag)) > 1:
            faults.append(f"a start tag declares two namespaces: {tag}")
    root = ElementTree.fromstring(raw)
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        faults.append(f"root element {root.tag} (manifestVersion {root.get('manifestVersion')})")
    for element in root.iter():
        if element.tag.startswith(ASM_V1) and element.tag[len(ASM_V1):] not in XP_ASM_V1:
            faults.append(f"{element.tag[len(ASM_V1):]} in the asm.v1 namespace, which XP "
                          "refuses")
    identity = root.find(ASM_V1 + "assemblyIdentity")
    if identity is None or identity.get("version") != version:
        faults.append(f"the manifest's own version "
                      f"{identity.get('version') if identity is not None else None} is not "
                      f"the file version {version}")
    dependencies = [d.attrib for d in root.iter(ASM_V1 + "assemblyIdentity")
                    if d is not identity]
    has_v6 = any(all(d.get(k) == v for k, v in COMMON_CONTROLS.items()) for d in dependencies)
    if needs_v6 and not has_v6:
        faults.append("comctl32 functions of version 6 are imported, but the manifest does "
                      "not ask for Microsoft.Windows.Common-Controls 6.0.0.0")
    return faults


def check(exe, table):
    """(floor name, faults, notes) of one program."""
    pe = pefile.PE(str(exe))
    machine = pe.FILE_HEADER.Machine
    if machine not in FLOORS:
        return "?", [f"unknown machine 0x{machine:04x}"], []
    floor, version, name = FLOORS[machine]
    faults, notes = [], []
    opt = pe.OPTIONAL_HEADER

    missing = [f"{dll} {function}" for dll, function in imports_of(pe)
               if floor not in table.get((dll, function), {}).get("floors", ())]
    faults += [f"imports {m}: not on the table of {name}'s exports ({TABLE.name})"
               for m in missing]
    needs_v6 = any(table.get(i, {}).get("v6") for i in imports_of(pe))

    for field, got in [("OS version", (opt.MajorOperatingSystemVersion,
                                       opt.MinorOperatingSystemVersion)),
                       ("subsystem version", (opt.MajorSubsystemVersion,
                                              opt.MinorSubsystemVersion))]:
        if got != version:
            faults.append(f"{field} {got[0]}.{got[1]}, the floor is {version[0]}.{version[1]}")
    if opt.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        faults.append(f"subsystem {opt.Subsystem} is not the Windows GUI")
    delay = opt.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]]
    if delay.Size:
        faults.append("delay-load imports")

    callbacks = tls_callbacks(pe)
    if callbacks and pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"]:
        faults.append("TLS callbacks in a DLL")
    for va in callbacks:
        section = pe.get_section_by_rva(va - opt.ImageBase)
        executable = section is not None and section.Characteristics & 0x20000000
        if not executable:
            faults.append(f"TLS callback 0x{va:x} outside the program's code")
    notes.append(f"{len(callbacks)} TLS callback(s) in the program's own code" if callbacks
                 else "no TLS callbacks")

    faults += check_manifest(manifest_of(pe), needs_v6, file_version(pe))
    notes.append(f"{len(imports_of(pe))} imported functions")
    return floor, faults, notes


def main(paths):
    if not paths:
        sys.exit(__doc__.strip().splitlines()[-2])
    table = load_table()
    failed = False
    for path in paths:
        floor, faults, notes = check(Path(path), table)
        verdict = "FAILED" if faults else "ok"
        print(f"floor {floor}: {path}: {verdict} ({'; '.join(notes)})")
        for fault in faults:
            print(f"  {fault}")
        failed |= bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
