#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine.
# Idempotent: checks every package with dpkg -s first, so a second run costs seconds.
set -euo pipefail

native=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  zlib1g-dev googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
  go-md2man
)
cross=(
  g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine32:i386 fonts-wine xvfb xauth x11-apps xdotool imagemagick python3
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for pkg in "${native[@]}" "${cross[@]}"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
