#!/bin/sh
# Builds the release executable and runs it on the bundled example: a work
# file as the host writes it and a tolerance table. Prints the work file
# before and after the run (code page 932 shown as UTF-8).
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp examples/dim.tmp examples/tolerance.tbl "$scratch/"
args=$(cat examples/args)

show() {
  iconv -f CP932 -t UTF-8 "$1" | sed 's/\r$//; s/^/    /'
}

echo "Command line: diadim $(printf '%s' "$args" | iconv -f CP932 -t UTF-8)"
echo "Work file before the run:"
show "$scratch/dim.tmp"
# The host starts diadim in the directory that holds the work file.
# shellcheck disable=SC2086
(cd "$scratch" && LC_ALL=ja_JP.WINDOWS-31J "$OLDPWD/build/release/diadim" $args)
echo "Work file after the run:"
show "$scratch/dim.tmp"
