#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root).
# Quick when everything is already there.
set -euo pipefail

need_pkgs=(cmake ninja-build g++ g++-mingw-w64-i686-posix googletest wine wine32:i386
           xvfb imagemagick fonts-wqy-microhei locales fp-utils-3.2.2 libchm-bin
           clang libclang-rt-14-dev libimage-exiftool-perl fonts-wine libboost1.81-dev)

missing=()
for p in "${need_pkgs[@]}"; do
  name=${p%%:*}
  arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  q="$name"; [ -n "$arch" ] && q="$name:$arch"
  if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# A kernel that cannot run 32-bit programs (some virtual machines) cannot start Wine's
# 32-bit loader: the Windows tests then run on a 64-bit build under 64-bit Wine.
if ! /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
  for p in wine64 g++-mingw-w64-x86-64-posix; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        wine64 g++-mingw-w64-x86-64-posix
      break
    fi
  done
fi
