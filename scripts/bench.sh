#!/bin/sh
# Times a whole run of the release executable on the bundled example against
# starting and ending a process that does nothing (`true`). Both commands get
# the same preparation (a fresh copy of the work file), so the difference is
# diadim's own work. It runs twice: in a directory on the disk, where the
# durable replacement of the work file (sync, then rename) costs what the
# disk asks, and in memory (/dev/shm), where only the program's own work
# counts. Needs hyperfine (Debian package `hyperfine`). RUNS sets the number
# of runs (2000).
set -eu
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
binary=$root/build/release/diadim
# hyperfine takes only UTF-8 arguments: the code page 932 diameter symbol of
# the example is replaced by an ASCII one, which takes the same path.
args=$(LC_ALL=C sed "s/$(printf '\203\323')/D/" examples/args)

for base in "${TMPDIR:-/tmp}" /dev/shm; do
  [ -d "$base" ] || continue
  scratch=$(mktemp -d "$base/diadim-bench-XXXXXX")
  cp examples/tolerance.tbl examples/dim.tmp "$scratch/"
  cp examples/dim.tmp "$scratch/host.tmp"
  echo "== work file in $base"
  (cd "$scratch" && LC_ALL=ja_JP.WINDOWS-31J hyperfine -N --warmup 50 --runs "${RUNS:-2000}" \
    --prepare "cp $scratch/host.tmp $scratch/dim.tmp" \
    -n true "true" \
    -n diadim "$binary $args")
  rm -rf "$scratch"
done
