#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's packages.
# Idempotent and quiet: a second run on a set-up machine installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config python3
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xdotool x11-utils imagemagick
  fonts-wine fonts-liberation
  libz-mingw-w64-dev zlib1g-dev
  googletest libgtest-dev libbenchmark-dev libpng-dev
  clang libclang-rt-14-dev clang-format
  nasm dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# libjpeg has no MinGW package: the build cross-compiles Debian's own source
# package. Fetch it once into third_party/ (ignored by git).
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/third_party/libjpeg-turbo"
if [ ! -f "$src/CMakeLists.txt" ]; then
  if ! grep -rqs "^Types:.*deb-src" /etc/apt/sources.list.d/ && ! grep -qs "^deb-src" /etc/apt/sources.list 2>/dev/null; then
    as_root tee /etc/apt/sources.list.d/quillmere-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    as_root apt-get update -qq
  fi
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1 && dpkg-source --no-check -x ./*.dsc out >/dev/null)
  mkdir -p "$root/third_party"
  rm -rf "$src"
  mv "$tmp/out" "$src"
  rm -rf "$tmp"
fi
