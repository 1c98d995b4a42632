#!/usr/bin/python3
"""Checks that each program starts on the oldest Windows it is built for: the 32-bit one on
Windows XP SP3 (NT 5.1), the 64-bit one on Windows XP x64 / Server 2003 x64 (NT 5.2). Wine
exports every function, so no test under Wine sees a missing one; the import table does:
  - every imported function (by name or ordinal) is on the table of what the floor's DLLs
    export (floor_exports.txt beside this file, lines "dll function floor... [comctl32-v6]");
  - the loader's OS and subsystem versions are the floor's, the subsystem the Windows GUI;
  - no delay-load imports (they would fail later, at the first call), TLS callbacks only in
    the program's own code;
  - the manifest is one XP's loader accepts, asks for Common Controls 6.0.0.0 when a function
    exported by name only from comctl32 version 6 is imported, and carries the file version.

Usage: tests/floor/check_floor.py EXE...   (exit status 1 when a check fails; python3-pefile)
"""

import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import pefile

TABLE = Path(__file__).with_name("floor_exports.txt")
FLOORS = {0x014C: ("x86", (5, 1)), 0x8664: ("x64", (5, 2))}  # machine -> floor, NT version
ASM = "{urn:schemas-microsoft-com:asm.v1}"
# The asm.v1 elements XP's side-by-side loader knows; it refuses a manifest with any other
# (newer settings must stand in namespaces of their own, which XP skips).
XP_ASM = {"assembly", "assemblyIdentity", "description", "dependency", "dependentAssembly", "file",
          "noInherit", "comClass", "typelib", "windowClass", "comInterfaceExternalProxyStub"}
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                   "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}


def load_table():
    """{(dll, function): set of tags}; '#' starts a comment."""
    table = {}
    for number, line in enumerate(TABLE.read_text(encoding="utf-8").splitlines(), 1):
        words = line.split("#", 1)[0].split()
        if words:
            tags = set(words[2:])
            if not tags & {"x86", "x64"} or tags - {"x86", "x64", "comctl32-v6"}:
                raise ValueError(f"{TABLE}:{number}: bad line {line!r}")
            table[(words[0].lower(), words[1])] = tags
    return table


def manifest_faults(pe, needs_v6):
    """Faults of the manifest (RT_MANIFEST 24, ID 1) as XP's loader would meet them."""
    raw = next((pe.get_data(n.directory.entries[0].data.struct.OffsetToData,
                            n.directory.entries[0].data.struct.Size)
                for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if kind.id == 24
                for n in kind.directory.entries if n.id == 1), None)
    if raw is None:
        return ["no manifest resource"]
    faults = ["the manifest starts with a byte-order mark"] if raw[:3] == b"\xef\xbb\xbf" else []
    # XP SP2's loader corrupts memory on a start tag declaring two namespaces (KB921337).
    faults += [f"a start tag declares two namespaces: {tag}"
               for tag in re.findall(r"<[A-Za-z][^>]*>", raw.decode("utf-8"))
               if len(re.findall(r"\sxmlns(?::\w+)?=", tag)) > 1]
    root = ElementTree.fromstring(raw)
    if root.tag != ASM + "assembly" or root.get("manifestVersion") != "1.0":
        faults.append(f"root element {root.tag}")
    faults += [f"{e.tag[len(ASM):]} in the asm.v1 namespace, which XP refuses"
               for e in root.iter() if e.tag.startswith(ASM) and e.tag[len(ASM):] not in XP_ASM]
    info = pe.VS_FIXEDFILEINFO[0]
    version = (f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}."
               f"{info.FileVersionLS >> 16}.{info.FileVersionLS & 0xFFFF}")
    identity = root.find(ASM + "assemblyIdentity")
    if identity is None or identity.get("version") != version:
        faults.append(f"the manifest's own version is not the file version {version}")
    wants_v6 = any(all(d.get(k) == v for k, v in COMMON_CONTROLS.items())
                   for d in root.iter(ASM + "assemblyIdentity") if d is not identity)
    if needs_v6 and not wants_v6:
        faults.append("comctl32 functions of version 6 are imported, but the manifest does not "
                      "ask for Microsoft.Windows.Common-Controls 6.0.0.0")
    return faults


def check(path, table):
    """(floor, faults, count of imports) of one program."""
    pe = pefile.PE(str(path))
    if pe.FILE_HEADER.Machine not in FLOORS:
        return "?", [f"unknown machine 0x{pe.FILE_HEADER.Machine:04x}"], 0
    floor, version = FLOORS[pe.FILE_HEADER.Machine]
    opt = pe.OPTIONAL_HEADER
    imports = [(e.dll.decode().lower(), i.name.decode() if i.name else f"@{i.ordinal}")
               for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) for i in e.imports]
    faults = [f"imports {dll} {function}: not on the table of the floor's exports ({TABLE.name})"
              for dll, function in imports if floor not in table.get((dll, function), ())]
    for field, got in [("OS", (opt.MajorOperatingSystemVersion, opt.MinorOperatingSystemVersion)),
                       ("subsystem", (opt.MajorSubsystemVersion, opt.MinorSubsystemVersion))]:
        if got != version:
            faults.append(f"{field} version {got[0]}.{got[1]}, the floor is {version[0]}.{version[1]}")
    if opt.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        faults.append(f"subsystem {opt.Subsystem} is not the Windows GUI")
    if opt.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]].Size:
        faults.append("delay-load imports")
    tls = getattr(pe, "DIRECTORY_ENTRY_TLS", None)
    at, width = tls and tls.struct.AddressOfCallBacks, 8 if floor == "x64" else 4
    while at:  # the callbacks' table, ended by a zero
        rva = at - opt.ImageBase
        va = pe.get_qword_at_rva(rva) if width == 8 else pe.get_dword_at_rva(rva)
        section = va and pe.get_section_by_rva(va - opt.ImageBase)
        if va and not (section and section.Characteristics & 0x20000000):
            faults.append(f"TLS callback 0x{va:x} outside the program's code")
        at = va and at + width
    needs_v6 = any("comctl32-v6" in table.get(i, ()) for i in imports)
    return floor, faults + manifest_faults(pe, needs_v6), len(imports)


def main(paths):
    if not paths:
        sys.exit(__doc__.strip().splitlines()[-1])
    table, failed = load_table(), False
    for path in paths:
        floor, faults, count = check(Path(path), table)
        print(f"floor {floor}: {path}: {'FAILED' if faults else 'ok'} ({count} imported functions)")
        for fault in faults:
            print(f"  {fault}")
        failed |= bool(faults)
    return int(failed)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
