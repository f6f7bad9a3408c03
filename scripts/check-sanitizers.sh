#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole test suite on it, then the same with ThreadSanitizer, since
# the program reads, translates and writes on two threads. The end-to-end
# tests then run the instrumented executable too. Any finding aborts the process that made it,
# so the test that caused it fails. scripts/check.sh runs this after the
# normal build; the packages it needs are those of that script.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${QUILLARET_SANITIZE_BUILD:-build/sanitize}
jobs=$(nproc 2>/dev/null || echo 2)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLARET_SANITIZE=ON
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=abort_on_error=1:halt_on_error=1:print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j "$jobs"

echo "== ThreadSanitizer build and tests"
tsan_build=${QUILLARET_TSAN_BUILD:-build/sanitize-threads}
rm -rf "$tsan_build"
cmake -S . -B "$tsan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLARET_SANITIZE_THREADS=ON
cmake --build "$tsan_build" -j "$jobs"
export TSAN_OPTIONS=halt_on_error=1:abort_on_error=1
ctest --test-dir "$tsan_build" --output-on-failure -j "$jobs"
