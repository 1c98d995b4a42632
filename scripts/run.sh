#!/usr/bin/env bash
# Runs Velkaro.exe under Wine.
#   With a reachable X display: on that display, in the project's own prefix build/wine-run
#   (made on first use), from C:\Velkaro\ inside it; returns when the program ends.
#   Without one: under Xvfb in a throw-away prefix, a tour: the splash, the main window, all nine
#   panels, a report with every category ticked (the wait window and the closing message), each
#   saved as a screenshot to build/screenshots/ with a copy of the report, SystemInfo.txt
#   (and docs/screenshot.png, docs/panel.png with --update-docs).
# Usage: scripts/run.sh [--update-docs] [path/to/Velkaro.exe]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
update_docs=0
program=$root/build/x64/bin/Velkaro.exe
for arg in "$@"; do
  case "$arg" in
    --update-docs) update_docs=1 ;;
    -*) echo "usage: $0 [--update-docs] [path/to/Velkaro.exe]" >&2; exit 2 ;;
    *) program=$arg ;;
  esac
done
[ -f "$program" ] || { echo "run: $program is missing: build it first (make run)" >&2; exit 1; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader by path: with 32-bit Wine installed, `wine` is the 32-bit one.
wine=/usr/lib/wine/wine64

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEPREFIX=$root/build/wine-run
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: making the Wine prefix $WINEPREFIX (once)"
    "$wine" wineboot -i >/dev/null 2>&1
  fi
  install_dir=$WINEPREFIX/drive_c/Velkaro
  mkdir -p "$install_dir"
  cp "$program" "$install_dir/Velkaro.exe"
  cd "$install_dir"
  exec "$wine" 'C:\Velkaro\Velkaro.exe'
fi

echo "run: no X display; touring the program under Xvfb and taking screenshots"
build_dir=$(dirname "$(dirname "$program")")
# The screenshots are taken through the Wine harness's probe (tools/wine).
cmake --build "$build_dir" --target probe >/dev/null
out=$root/build/screenshots
"$root/scripts/tour.py" "$program" "$out" | sed 's/^/run: saved /'
if [ "$update_docs" = 1 ]; then
  mkdir -p "$root/docs"
  cp "$out/main.png" "$root/docs/screenshot.png"
  cp "$out/panel-3-computer.png" "$root/docs/panel.png"
  echo "run: copied to $root/docs/screenshot.png and $root/docs/panel.png"
fi
