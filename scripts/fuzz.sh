#!/bin/sh
# Fuzzes the whole run: builds the fuzz preset (clang 14, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer), replays the inputs that once
# failed (fuzz/regressions/), then runs the fuzz target for FUZZ_SECONDS
# (120 by default) from a seed corpus made of the end-to-end cases. Any input
# that fails is kept in fuzz/regressions/ and printed, and the script fails.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-120}
# CI starts from a fixed seed, so that a run there explores the same way each
# time; by hand the seed is random (0) unless FUZZ_SEED is given.
if [ "${CI:-}" = true ]; then seed=${FUZZ_SEED:-1}; else seed=${FUZZ_SEED:-0}; fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

fuzzer=$root/build/fuzz/fuzz/run_fuzzer
work=$(mktemp -d "${TMPDIR:-/tmp}/diadim-fuzz-run-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/seeds" "$work/corpus" "$root/fuzz/regressions"
python3 scripts/fuzz-seeds.py "$work/seeds" tests/e2e/cases

# Inputs that failed once must pass now.
ctest --preset fuzz

# Paths are absolute: the target enters its scratch directory for each run.
# Code page 932, the code page of the host's users.
status=0
LC_ALL=ja_JP.WINDOWS-31J "$fuzzer" -max_total_time="$seconds" -seed="$seed" -timeout=10 -max_len=65536 -rss_limit_mb=2048 \
  -dict="$root/fuzz/diadim.dict" -artifact_prefix="$root/fuzz/regressions/" \
  -print_final_stats=1 "$work/corpus" "$work/seeds" >"$work/log" 2>&1 || status=$?

grep -E '^INFO: Loaded .*counters|^#[0-9]+[[:space:]]+(INITED|DONE)' "$work/log" || true
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
last=$(grep -E '^#[0-9]+[[:space:]]' "$work/log" | tail -n 1)
coverage=$(echo "$last" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
features=$(echo "$last" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
corpus=$(echo "$last" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
echo "fuzz: ${seconds} s, ${executions:-?} executions, coverage ${coverage:-?} edges," \
  "${features:-?} features, corpus ${corpus:-?} inputs"

if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/log"
  for input in "$root"/fuzz/regressions/crash-* "$root"/fuzz/regressions/timeout-* \
    "$root"/fuzz/regressions/oom-* "$root"/fuzz/regressions/leak-*; do
    [ -e "$input" ] || continue
    echo "fuzz: failing input kept as ${input#"$root"/} (base64):"
    base64 "$input"
  done
  echo "fuzz: the fuzz target failed (status $status)" >&2
  exit 1
fi
