#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers (preset "fuzz": clang,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each one for a
# bounded time, starting from the seed corpus in tools/fuzz/corpus/.
#
#   tools/fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Default: 5 seconds for each of the 11 targets (about a minute in all). New
# inputs that reach new code collect in build/fuzz/corpus/<target>; a crash,
# hang or runaway allocation leaves its input in build/fuzz/findings/ and makes
# the script fail. Rerun one finding: build/fuzz/fuzz/fuzz_<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-5}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(config setup status threshld groups chgroup subproj plate counts realtime calvalue)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p build/fuzz/findings
failed=()
total=0
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$t"
  log="build/fuzz/$t.log"
  # -timeout: one input may take at most 10 s (a hang); -rss_limit_mb and
  # -malloc_limit_mb: no input may make the reader hold more than 1 GB.
  if build/fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=1024 \
       -max_len=8192 -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$t-" \
       "build/fuzz/corpus/$t" "tools/fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz $t: ${runs:-?} inputs in ${seconds} s, no finding"
    total=$((total + ${runs:-0}))
  else
    echo "fuzz $t: FINDING (see $log and build/fuzz/findings/$t-*)"
    tail -40 "$log"
    failed+=("$t")
  fi
done
echo "fuzz: $total inputs in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
