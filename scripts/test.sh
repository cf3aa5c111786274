#!/bin/sh
# Builds diadim and runs every test: the unit tests and the end-to-end cases
# on the sanitizer build (debug preset) and on the static release build, then
# the Windows build under Wine where its tools can be installed.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in debug release; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The whole run under libFuzzer for a bounded time (FUZZ_SECONDS, default 120).
scripts/fuzz.sh

if [ -x scripts/test-windows.sh ]; then
  scripts/test-windows.sh
fi
