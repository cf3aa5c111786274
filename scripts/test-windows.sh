#!/bin/sh
# Builds the Windows executable diadim.exe with MinGW-w64 and runs every
# end-to-end case against it under Wine with code page 932: the common cases
# (the same expected bytes as on Linux) and the Windows-only ones.
#
# Installs the tools first when they are missing (scripts/setup-windows-tools.sh).
# Outside CI, a machine where they are missing and cannot be installed (not
# root) skips the suite with a note; in CI that is a failure.
set -eu
cd "$(dirname "$0")/.."

if ! scripts/setup-windows-tools.sh; then
  if [ -n "${CI:-}" ]; then
    echo "test-windows.sh: the Windows tools could not be installed" >&2
    exit 1
  fi
  echo "test-windows.sh: skipped: MinGW-w64, Wine or the ja_JP.UTF-8 locale is missing" >&2
  exit 0
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
# The zip of diadim.exe, the README and the examples.
cmake --build --preset windows --target package
exe=build/windows/diadim.exe

# One file and nothing beside it: the executable may import system DLLs
# only, never a runtime DLL of the compiler.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
for dll in $imports; do
  case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
    kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | advapi32.dll | user32.dll) ;;
    *)
      echo "test-windows.sh: $exe imports $dll, which is not a system DLL" >&2
      exit 1
      ;;
  esac
done
echo "diadim.exe imports only system DLLs: $(echo "$imports" | tr '\n' ' ')"

start=$(date +%s)
# The whole Wine part stays within 10 minutes.
timeout 600 python3 tests/e2e/run_cases.py --runner wine --binary "$exe" \
  --cases tests/e2e/cases --cases tests/e2e/windows-cases
echo "Wine suite: $(($(date +%s) - start)) s"
