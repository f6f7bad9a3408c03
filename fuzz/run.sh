#!/usr/bin/env bash
# Builds one fuzz target with clang, libFuzzer and the sanitizers, and runs it
# for a given time on its seed corpus.
#
#   bash fuzz/run.sh pipeline 1800     # reader, translation and writer
#   bash fuzz/run.sh lexicon 1800      # the lexicon loader
#
# Further arguments go to libFuzzer (e.g. a crash file to replay it alone).
# The build goes to build-fuzz/ (or $QUILLARET_FUZZ_BUILD); new inputs
# accumulate in <build>/corpus/<target> from run to run, and a crashing input
# is written to <build>/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ $# -lt 1 ] || { [ "$1" != pipeline ] && [ "$1" != lexicon ]; }; then
  echo "usage: $0 pipeline|lexicon [seconds] [libFuzzer arguments...]" >&2
  exit 2
fi
target=$1
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))

packages=(clang libclang-rt-14-dev cmake make)
bash "$root"/scripts/install-packages.sh "${packages[@]}"

build=${QUILLARET_FUZZ_BUILD:-$root/build-fuzz}
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLARET_BUILD_FUZZ=ON -DQUILLARET_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target "fuzz_$target" make_fuzz_seeds

# Seeds: the plug-ins and lexicons of fuzz_data.cc and the bundled example.
seeds=$build/seeds
rm -rf "$seeds"
"$build/fuzz/make_fuzz_seeds" "$seeds"
cp "$root/examples/Example.esp" "$seeds/pipeline/"
cp "$root"/examples/lexique_enfr_*.txt "$seeds/lexicon/"
mkdir -p "$build/corpus/$target" "$build/findings"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
  -artifact_prefix="$build/findings/$target-" "$@" \
  "$build/corpus/$target" "$seeds/$target"
