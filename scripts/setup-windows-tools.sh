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

"$(dirname "$0")/install-packages.sh" g++-mingw-w64-x86-64-posix wine wine64

# ja_JP.UTF-8, beside the code page 932 locale of the Linux tests.
"$(dirname "$0")/setup-locales.sh"
