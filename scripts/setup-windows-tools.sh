#!/bin/sh
# Installs what building diadim.exe and testing it under Wine needs on a
# Debian machine: the MinGW-w64 cross compiler (POSIX threads flavour, which
# links a fully static executable), 64-bit Wine, and the ja_JP.UTF-8 locale
# under which Wine's ANSI code page is 932.
#
# Safe to run again: packages that are present are not touched, and apt is
# asked only when something is missing. Only the 64-bit Wine is installed
# (no i386 architecture, no recommended extras such as fonts, sound or
# graphics drivers): diadim.exe is a 64-bit console program.
set -eu

PACKAGES="g++-mingw-w64-x86-64-posix wine wine64"

missing=""
for package in $PACKAGES; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-windows-tools.sh: missing packages:$missing; run this script as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  # shellcheck disable=SC2086
  apt-get install -y --no-install-recommends $missing
fi

# ja_JP.UTF-8, beside the code page 932 locale of the Linux tests.
"$(dirname "$0")/setup-locales.sh"
