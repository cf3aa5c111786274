#!/bin/sh
# Times a whole run of the release executable on the bundled example against
# starting and ending a process that does nothing (`true`). Both commands get
# the same preparation (a fresh copy of the work file), so the difference is
# diadim's own work. Needs hyperfine (Debian package `hyperfine`).
set -eu
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp examples/tolerance.tbl "$scratch/"
# hyperfine takes only UTF-8 arguments: the code page 932 diameter symbol of
# the example is replaced by an ASCII one, which takes the same path.
args=$(LC_ALL=C sed "s/$(printf '\203\323')/D/" examples/args)
binary=$PWD/build/release/diadim

cd "$scratch"
LC_ALL=ja_JP.WINDOWS-31J hyperfine -N --warmup 50 --runs "${RUNS:-2000}" \
  --prepare "cp $OLDPWD/examples/dim.tmp $scratch/dim.tmp" \
  --export-json "${BENCH_JSON:-/dev/null}" \
  -n true "true" \
  -n diadim "$binary $args"
