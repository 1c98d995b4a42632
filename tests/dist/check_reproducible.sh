#!/usr/bin/env bash
# The release archive is reproducible and starts on the floor: both programs are built a second
# time, in Release, from a copy of the sources at another path into other build folders (the
# program target only), packed the same way, and the archive must equal ARCHIVE byte for byte;
# then the archive's own programs go through the floor check and its SHA256SUMS are verified.
# Usage: tests/dist/check_reproducible.sh ARCHIVE
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
archive=$(realpath "$1")
work=$root/build/repro
rm -rf "$work"
mkdir -p "$work/src" "$work/unpacked"

# The sources as they stand now (tracked and new files; nothing git ignores).
git -C "$root" ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$root/$f" ] && printf '%s\0' "$f"; done |
  (cd "$root" && xargs -0 cp --parents -t "$work/src")

start=$SECONDS
make -s -C "$work/src" x64 x86 TARGET=Velkaro >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log" >&2; exit 1; }
second=$(python3 "$work/src/tools/dist/make_dist.py" "$work/src/build/x64" "$work/src/build/x86" \
  "$work/dist")
echo "dist-check: second build of both programs in $((SECONDS - start)) s"

if ! cmp "$archive" "$second"; then
  echo "dist-check: two builds of the same sources give different archives:" >&2
  python3 - "$archive" "$second" <<'PY' >&2
import sys, zipfile
a, b = (zipfile.ZipFile(p) for p in sys.argv[1:])
for x, y in zip(a.infolist(), b.infolist()):
    if (x.filename, x.CRC, x.date_time, x.external_attr) != (y.filename, y.CRC, y.date_time, y.external_attr):
        print(f"  {x.filename}: differs")
PY
  exit 1
fi
echo "dist-check: $(basename "$archive") is the same byte for byte"

python3 -m zipfile -e "$archive" "$work/unpacked"
(cd "$work/unpacked" && sha256sum --quiet -c SHA256SUMS)
/usr/bin/python3 "$root/tests/floor/check_floor.py" "$work/unpacked/x64/Velkaro.exe" \
  "$work/unpacked/x86/Velkaro.exe"
rm -rf "$work"
