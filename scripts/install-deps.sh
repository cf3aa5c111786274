#!/bin/sh
# Installs what building and testing diadim needs on a Debian machine:
# the compiler, CMake, Ninja, GoogleTest, Python 3 for the end-to-end
# harness, the code page 932 locale, and clang 14 with its libFuzzer and
# sanitizer runtimes for the fuzz target. Safe to run again: packages that are
# present are not touched, and apt is asked only when something is missing.
set -eu

PACKAGES="g++ cmake ninja-build libgtest-dev python3 locales clang-14 libclang-rt-14-dev"

missing=""
for package in $PACKAGES; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: missing packages:$missing; run this script as root" >&2
    exit 1
  fi
  apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi

"$(dirname "$0")/setup-locales.sh"
