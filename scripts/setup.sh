#!/usr/bin/env bash
# Installs the Debian packages a build, a run or a test run needs, when they are missing.
# Usage: scripts/setup.sh build|run|test|fuzz
set -euo pipefail

mode=${1:-test}
# MinGW in both thread models: win32 for the programs, posix for the GoogleTest executables.
build_pkgs=(cmake ninja-build g++ make python3 python3-pefile googletest nlohmann-json3-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64)
fuzz_pkgs=(cmake ninja-build make clang libclang-rt-14-dev)
# wine32 runs the 32-bit program and its tests in a 32-bit prefix (as Windows XP and 98); the
# harness starts Xvfb with python3-pyvirtualdisplay, drives the mouse with xdotool and grabs the
# screen with python3-pil.
wine_pkgs=(wine wine64 wine32:i386 xvfb xdotool x11-utils python3-pil python3-pyvirtualdisplay
  fonts-liberation fonts-dejavu-core procps)

case "$mode" in
  build) pkgs=("${build_pkgs[@]}") ;;
  run | test) pkgs=("${build_pkgs[@]}" "${wine_pkgs[@]}") ;;
  fuzz) pkgs=("${fuzz_pkgs[@]}") ;;
  *) echo "usage: $0 build|run|test|fuzz" >&2; exit 2 ;;
esac

# wine32 is an i386 package: the architecture must be known to dpkg before apt sees it.
need_i386=0
for p in "${pkgs[@]}"; do
  [[ $p == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386 && need_i386=1
done

missing=()
for p in "${pkgs[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root (or sudo) to install ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
if [ "$need_i386" = 1 ]; then
  echo "setup: adding the i386 architecture for wine32"
  $sudo dpkg --add-architecture i386
fi
# A mirror index that is being synced can make update fail; the install decides.
$sudo apt-get update -qq || echo "setup: apt-get update reported an error; trying the install anyway" >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
