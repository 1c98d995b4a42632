#!/usr/bin/env python3
"""Writes the release archive OUT_DIR/Velkaro-<version>.zip from the two Release builds:
x64/Velkaro.exe, x86/Velkaro.exe, LIESMICH.txt (Windows-1252, CR LF, for Notepad on XP) and
SHA256SUMS of the three. The same programs give the same bytes: fixed entry order, times and
permissions, nothing taken from the clock or the machine.

Usage: tools/dist/make_dist.py X64_BUILD X86_BUILD OUT_DIR   (prints the archive's path)
"""

import hashlib
import re
import sys
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
ENTRY_TIME = (1980, 1, 1, 0, 0, 0)  # the earliest time a zip entry can hold
UNIX_FILE_644 = (0o100644 << 16)


def version_of(build):
    """The version text of a build, from its generated velkaro_version.h."""
    header = (Path(build) / "generated" / "velkaro_version.h").read_text()
    return re.search(r'#define VELKARO_VERSION_TEXT "([^"]+)"', header).group(1)


def readme(version):
    text = (HERE / "LIESMICH.txt").read_text(encoding="utf-8").replace("{version}", version)
    return text.replace("\n", "\r\n").encode("cp1252")


def entries(x64, x86):
    """[(name, bytes)] in archive order."""
    version = version_of(x64)
    if version_of(x86) != version:
        raise SystemExit(f"make_dist: the builds differ in version: {version} / {version_of(x86)}")
    files = [("x64/Velkaro.exe", (Path(x64) / "bin" / "Velkaro.exe").read_bytes()),
             ("x86/Velkaro.exe", (Path(x86) / "bin" / "Velkaro.exe").read_bytes()),
             ("LIESMICH.txt", readme(version))]
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in files)
    return version, files + [("SHA256SUMS", sums.encode("ascii"))]


def write_zip(path, files):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, data in files:
            info = zipfile.ZipInfo(name, ENTRY_TIME)
            info.create_system = 3  # Unix, so that the permissions below are what is stored
            info.external_attr = UNIX_FILE_644
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    x64, x86, out_dir = argv
    version, files = entries(x64, x86)
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    path = out / f"Velkaro-{version}.zip"
    write_zip(path, files)
    print(path)


if __name__ == "__main__":
    main(sys.argv[1:])
