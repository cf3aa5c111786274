#!/bin/sh
# Installs what building and testing diadim needs on a Debian machine:
# the compiler, CMake, Ninja, GoogleTest, Python 3 for the end-to-end
# harness, the code page 932 locale, and clang 14 with its libFuzzer and
# sanitizer runtimes for the fuzz target. Safe to run again: packages that are
# present are not touched, and apt is asked only when something is missing.
set -eu

"$(dirname "$0")/install-packages.sh" g++ cmake ninja-build libgtest-dev python3 locales clang-14 libclang-rt-14-dev

"$(dirname "$0")/setup-locales.sh"
