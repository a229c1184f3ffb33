#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine (run as root).
# Safe to run again: every step checks first.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine64 fonts-wine xvfb xauth x11-utils imagemagick
  cmake ninja-build g++ googletest libgtest-dev python3 bzip2
  locales fonts-wqy-microhei clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine maps GBK file names through the glibc locale; without it every non-ASCII path fails.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  echo "setup: generating zh_CN.UTF-8"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# minizip (the unzip side) from Debian's zlib source package: no MinGW build of
# it is packaged. Pinned version; the tarball and every file used are checked.
# The source stays out of the repository (third_party/ is ignored).
minizip_dir=$(cd "$(dirname "$0")/.." && pwd)/third_party/minizip
minizip_files="\
fc9e8d752618a05c1f3a2ce61ebf76d0c8053dd5579458f836834a36e8690bbe  unzip.c
20cdc47658a3e41db897d31650e46cd2c8cca3c83ddaaeb6c7a48dd8b7f18e03  unzip.h
f6878a3ecf6802f0f75cadb41a114fa274636c386bac794c66cbb27a24d9a29f  ioapi.c
9f5448f8d5e8894d6f397dd09d24f7ff39cb818cd493a8bd90dda19553b814ea  ioapi.h
103cdef91d57ceca7a1c1973772ff7e1d44c7b3e227a3640171957302bd9e974  iowin32.c
586f22b9c3c64da253ce2b518e0fad61f19a7b47b289fc704cc9708242294c49  iowin32.h
1d25a0fab3189dc3c6ae43c7813e1e5d07d0d049bd32bd7bd0e9ccd752bfdd5e  crypt.h"
if ! (cd "$minizip_dir" 2>/dev/null && echo "$minizip_files" | sha256sum --quiet -c - >/dev/null 2>&1); then
  echo "setup: fetching minizip from Debian's zlib source package"
  # A deb-src entry built from the URIs of the system's own deb entry.
  src_list=/etc/apt/sources.list.d/vantry-src.sources
  if [ ! -f "$src_list" ]; then
    # deb822 (the usual images) or one-line form (debootstrap).
    uris=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$uris" ] || uris=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:/) { print $i; exit } }' \
      /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$uris" ] || { echo "setup: no Debian package source found for minizip" >&2; exit 1; }
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uris" > "$src_list"
    apt-get update -qq
  fi
  work=$(mktemp -d)
  (cd "$work" && apt-get source --download-only zlib=1:1.2.13.dfsg-1 >/dev/null 2>&1)
  echo "71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1  $work/zlib_1.2.13.dfsg.orig.tar.bz2" | sha256sum --quiet -c -
  tar xjf "$work/zlib_1.2.13.dfsg.orig.tar.bz2" -C "$work" zlib-1.2.13.dfsg/contrib/minizip
  (cd "$work/zlib-1.2.13.dfsg/contrib/minizip" && echo "$minizip_files" | sha256sum --quiet -c -)
  mkdir -p "$minizip_dir"
  for f in $(echo "$minizip_files" | awk '{print $2}'); do
    cp "$work/zlib-1.2.13.dfsg/contrib/minizip/$f" "$minizip_dir/"
  done
  rm -rf "$work"
fi
