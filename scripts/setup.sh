#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and is missing.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build make python3
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth googletest
)
[ "${1:-}" = "--bench" ] && packages+=(jdupes fdupes rmlint bc)
# clang alone lacks libFuzzer and the sanitizers' runtimes: they come with libclang-rt.
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
