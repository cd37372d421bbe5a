#!/usr/bin/env bash
# The checks every submission runs after the tests (.ci/run), each in a build folder of
# its own; any sanitizer report or fuzz finding fails the check:
#   1. build-asan (clang, AddressSanitizer + UndefinedBehaviorSanitizer): the whole test
#      suite, with leak checking (tests/lsan.supp names the library leaks left out); the
#      same build holds the fuzz targets, compiled with the fuzzer's coverage;
#   2. build-tsan (ThreadSanitizer): the integration suite, where the polling thread and
#      the window meet the simulated mouse; reports about Qt's own pool and file-dialog
#      threads are left out by the test main (see tests/integration/tsan.supp);
#   3. every fuzz target for VTRM408X_FUZZ_SECONDS (20) seconds on its corpus; the summary
#      (runs, coverage) goes to build-asan/fuzz/summary.txt.
# The fault walks of the integration suite visit every 4th transfer under the address
# sanitizer and every 16th under the thread sanitizer (scripts/test.sh visits them all).
# VTRM408X_JOBS sets how many compilers, tests and fuzzers run at once (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --check

jobs=${VTRM408X_JOBS:-$(nproc)}
fuzz_seconds=${VTRM408X_FUZZ_SECONDS:-20}
root=$(pwd)
# Sanitizer builds compile at -O1 with line tables only: quicker to build than the
# release build, and the reports still name files and lines.
flags=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTRM408X_BUILD_BENCH=OFF
       "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"
       "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"
       -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Leaks inside giflib's encoder and fontconfig's caches are not ours (see the file).
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
build() { cmake --build "$1" --parallel "$jobs" "${@:2}"; }
section() { printf '\n==== %s (%s)\n' "$1" "$(date +%T)"; }

section "address + undefined: build"
cmake -S . -B build-asan "${flags[@]}" -DVTRM408X_SANITIZE=address,undefined \
  -DVTRM408X_FUZZ=ON >/dev/null
build build-asan
section "address + undefined: every suite, leaks checked"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 VTRM408X_WALK_STRIDE=4 \
  ctest --output-on-failure --parallel "$jobs")

section "thread: build"
cmake -S . -B build-tsan "${flags[@]}" -DVTRM408X_SANITIZE=thread >/dev/null
build build-tsan --target test_integration
section "thread: the integration suite"
(cd build-tsan && VTRM408X_WALK_STRIDE=16 \
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/integration/tsan.supp" \
  ctest --output-on-failure --parallel "$jobs" -L integration)

section "fuzz: every target ${fuzz_seconds} s"
work=build-asan/fuzz
rm -rf "$work"
mkdir -p "$work"
run_target() {
  local exe=$1 name=${1##*/fuzz_}
  mkdir -p "$work/$name"
  if "$exe" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
      -artifact_prefix="$work/$name-" "$work/$name" "tests/fuzz/corpus/$name" \
      >"$work/$name.log" 2>&1; then
    echo "ok $name"
  else
    echo "FAILED $name (log: $work/$name.log)"
    tail -40 "$work/$name.log"
  fi
}
export -f run_target
export work fuzz_seconds
find build-asan/tests/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable | sort |
  xargs -P "$jobs" -I{} bash -c 'run_target {}' | tee "$work/results.txt"
{
  printf '%-20s %10s %8s %8s %8s\n' target runs cov ft corpus
  for log in "$work"/*.log; do
    name=$(basename "$log" .log)
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    printf '%-20s %10s %8s %8s %8s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}"
  done
} | tee "$work/summary.txt"
if grep -q '^FAILED' "$work/results.txt"; then
  echo "check.sh: a fuzz target failed" >&2
  exit 1
fi
section "all checks passed"
