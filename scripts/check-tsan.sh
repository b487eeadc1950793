#!/usr/bin/env bash
# Builds only the test programs that run worker threads with
# ThreadSanitizer (-DQZ_TSAN=ON) in build-tsan/ and runs them; fails on the
# first data race, deadlock or test failure.
#   scripts/check-tsan.sh [build-dir]
# QZ_TSAN_TARGETS (space-separated) replaces the list of test programs.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-tsan}
read -r -a targets <<< "${QZ_TSAN_TARGETS:-test_host_shell test_host_threads test_shellview}"

generator=()
if [ ! -f "$build_dir/CMakeCache.txt" ]; then generator=(-G Ninja); fi
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQZ_TSAN=ON -DQZ_BENCH=OFF "${launcher[@]}" > /dev/null
cmake --build "$build_dir" --target "${targets[@]}"

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
# ThreadSanitizer needs the classic address space layout; kernels with more
# random bits for mmap break its shadow memory unless randomisation is off.
run=()
if command -v setarch > /dev/null && setarch "$(uname -m)" -R true 2> /dev/null; then
  run=(setarch "$(uname -m)" -R)
fi
status=0
for target in "${targets[@]}"; do
  echo "== $target under ThreadSanitizer"
  "${run[@]}" "$build_dir/tests/$target" --gtest_brief=1 || status=1
done
exit $status
