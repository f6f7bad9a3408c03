#!/usr/bin/env bash
# The whole benchmark in one command:
#
#   bench/run.sh [--runs N] [--size-mb N] [--seed N] [--build DIR] [--data DIR] [--keep]
#
# 1. Builds a Release tree of its own (default build-bench/release) with the
#    benchmarks (QUILLARET_BUILD_BENCH=ON).
# 2. Generates the data set into DIR (default build-bench/bench-data): the master
#    Bench.esm (80 MB by default), Bench8.esm (a tenth of it), Header.esm
#    (its TES3 record alone) and the three full lexicons, beside a copy of
#    the translator.
# 3. Translates Bench.esm once and checks the SHA-256 of the master and of
#    its translation against bench/expected_output.sha256 (for the default
#    size and seed); a different translation fails the run.
# 4. Times, on a warm cache and in turns, the translator on the three
#    plug-ins and `cp` of Bench.esm, in N rounds (default 9; the two small
#    plug-ins five times a round), and prints the medians, the ratio
#    translator/cp, the translator's peak memory, the linearity
#    (t80 - t0) / (t8 - t0) and, from the Google Benchmark microbenchmarks,
#    lexicon loading and response rewriting with 32,767 names against 1,000.
#
# Generated files are removed at the end unless --keep is given.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=9
size_mb=80
seed=1
build=$repo/build-bench/release
data=$repo/build-bench/bench-data
keep=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --size-mb) size_mb=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "usage: bench/run.sh [--runs N] [--size-mb N] [--seed N] [--build DIR] [--data DIR] [--keep]" >&2
       exit 2 ;;
  esac
done
if [ "$runs" -lt 5 ]; then echo "at least 5 runs" >&2; exit 2; fi

packages=(cmake g++ make libbenchmark-dev time)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then echo "Please install: ${missing[*]}" >&2; exit 1; fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

echo "== Release build in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLARET_BUILD_BENCH=ON \
  -DQUILLARET_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quillaret quillaret_make_dataset quillaret_microbench \
  >/dev/null

echo "== Data set in $data"
mkdir -p "$data"
generate=$build/bench/quillaret_make_dataset
small_mb=$(awk -v s="$size_mb" 'BEGIN { print s / 10 }')
master_stats=$("$generate" --seed "$seed" --size-mb "$size_mb" --lexicons "$data" "$data/Bench.esm")
echo "$master_stats"
"$generate" --seed "$seed" --size-mb "$small_mb" "$data/Bench8.esm"
"$generate" --seed "$seed" --header-only "$data/Header.esm"
# The translator reads its lexicons beside its executable.
cp "$build/quillaret" "$data/quillaret"
cleanup() {
  rm -f "$data"/Bench_copy.esm "$data"/*_fr.esm "$data"/*_fr.log
  if [ "$keep" -eq 0 ]; then
    rm -f "$data"/Bench.esm "$data"/Bench8.esm "$data"/Header.esm "$data"/lexique_enfr_*.txt \
      "$data"/quillaret "$data"/microbench.csv
  fi
}
trap cleanup EXIT

translate() { "$data/quillaret" "$data/$1.esm" </dev/null >/dev/null; }

echo "== Output check"
translate Bench
expected=$repo/bench/expected_output.sha256
master_hash=$(sha256sum "$data/Bench.esm" | cut -d' ' -f1)
output_hash=$(sha256sum "$data/Bench_fr.esm" | cut -d' ' -f1)
if [ "$size_mb" = 80 ] && [ "$seed" = 1 ]; then
  if [ "$master_hash" != "$(awk '$2 == "Bench.esm" { print $1 }' "$expected")" ]; then
    echo "!! The generated master is not the one recorded in $expected: the generator" >&2
    echo "!! changed. Check its translation with a trusted build and record both hashes." >&2
    exit 1
  fi
  if [ "$output_hash" != "$(awk '$2 == "Bench_fr.esm" { print $1 }' "$expected")" ]; then
    echo "!! FAILED: the translation of Bench.esm differs from the recorded one." >&2
    echo "!! recorded $(awk '$2 == "Bench_fr.esm" { print $1 }' "$expected")" >&2
    echo "!! now      $output_hash" >&2
    exit 1
  fi
  echo "Bench_fr.esm $output_hash: as recorded"
else
  echo "Bench_fr.esm $output_hash (no recorded hash for size $size_mb MB, seed $seed)"
fi

# A copy writes real blocks where the file system could share them.
copy_flags=()
cp --reflink=never "$data/Header.esm" "$data/Bench_copy.esm" 2>/dev/null && copy_flags=(--reflink=never)
copy() { cp "${copy_flags[@]}" "$data/${1:-Bench}.esm" "$data/Bench_copy.esm"; }

# Milliseconds taken by a command; the outputs of the previous run are
# removed first, and the system's writing of them finished, outside the
# measurement: each run starts from the same state, without the write-back
# of the one before.
elapsed() {
  rm -f "$data"/Bench_copy.esm "$data"/*_fr.esm "$data"/*_fr.log
  sync
  local start=$EPOCHREALTIME
  "$@"
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}
median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END {
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "== Timing: $runs rounds in turns, after one warm-up round"
copy; translate Bench; translate Bench8; translate Header
# The short runs are repeated five times per round: their medians decide
# the linearity, where a few milliseconds count.
# For comparison, `cp` of the small plug-ins gives the same linearity
# measure for a plain copy.
t80=() t8=() t0=() tcp=() tcp8=() tcp0=()
for ((run = 1; run <= runs; run++)); do
  t80+=("$(elapsed translate Bench)")
  tcp+=("$(elapsed copy)")
  for repeat in 1 2 3 4 5; do
    t8+=("$(elapsed translate Bench8)")
    t0+=("$(elapsed translate Header)")
    tcp8+=("$(elapsed copy Bench8)")
    tcp0+=("$(elapsed copy Header)")
  done
done
m80=$(echo "${t80[*]}" | median)
mcp=$(echo "${tcp[*]}" | median)
m8=$(echo "${t8[*]}" | median)
m0=$(echo "${t0[*]}" | median)
mcp8=$(echo "${tcp8[*]}" | median)
mcp0=$(echo "${tcp0[*]}" | median)

rm -f "$data"/*_fr.esm "$data"/*_fr.log
peak_kib=$(/usr/bin/time -f %M "$data/quillaret" "$data/Bench.esm" 2>&1 </dev/null >/dev/null | tail -1)
input_bytes=$(stat -c %s "$data/Bench.esm")

# The repetitions of the benchmarks are run in a random interleaving, so
# that the two sizes of name lexicon, whose ratio is a target, are timed
# side by side rather than one after the other.
echo "== Microbenchmarks (medians of 9 repetitions, interleaved)"
"$build/bench/quillaret_microbench" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
  --benchmark_enable_random_interleaving=true \
  --benchmark_out="$data/microbench.csv" --benchmark_out_format=csv >/dev/null 2>&1
micro() { awk -F, -v name="\"$1_median\"" '$1 == name { print $3 }' "$data/microbench.csv"; }
load_ms=$(micro BM_LoadLexicons)
names_full=$(micro BM_ResponseRewriting/32767)
names_1000=$(micro BM_ResponseRewriting/1000)
scripts_ms=$(micro BM_ScriptRewriting)

nodes=$(echo "$master_stats" | sed -n 's/.*= \([0-9]*\) nodes.*/\1/p')
echo
echo "Quillaret benchmark: $(nproc) cores, warm cache, $runs rounds (small plug-ins 5 per round)"
printf '  Bench.esm %d bytes, %s records and subrecords; Bench8.esm %d bytes\n' \
  "$input_bytes" "$nodes" "$(stat -c %s "$data/Bench8.esm")"
echo "  runs (ms): translator 80 MB: ${t80[*]}"
echo "             cp 80 MB:         ${tcp[*]}"
echo "             translator 8 MB:  ${t8[*]}"
echo "             header only:      ${t0[*]}"
awk -v m80="$m80" -v mcp="$mcp" -v m8="$m8" -v m0="$m0" -v peak="$peak_kib" -v input="$input_bytes" \
    -v mcp8="$mcp8" -v mcp0="$mcp0" \
    -v load="$load_ms" -v full="$names_full" -v small="$names_1000" -v scripts="$scripts_ms" '
  function verdict(ok) { return ok ? "met" : "NOT MET" }
  BEGIN {
    ratio = m80 / mcp
    limit = (2 * input + 64 * 1048576) / 1048576
    peak_mib = peak / 1024
    linear = (m80 - m0) / (m8 - m0)
    names = full / small
    printf "  median translator 80 MB      %9.1f ms\n", m80
    printf "  median cp 80 MB              %9.1f ms\n", mcp
    printf "  ratio translator / cp        %9.2f      target <= 2         %s\n", ratio, verdict(ratio <= 2)
    printf "  peak memory                  %9.1f MiB  target <= %.1f MiB  %s\n", peak_mib, limit, verdict(peak_mib <= limit)
    printf "  lexicon loading (microbench) %9.2f ms   target <= 30 ms     %s\n", load, verdict(load <= 30)
    printf "  median header-only run (t0)  %9.1f ms\n", m0
    printf "  median 8 MB run (t8)         %9.1f ms\n", m8
    printf "  (t80 - t0) / (t8 - t0)       %9.2f      target 8.5 to 11.5  %s\n", linear, verdict(linear >= 8.5 && linear <= 11.5)
    printf "    the same for cp            %9.2f      (cp 80 MB %.1f, 8 MB %.1f, header %.1f ms)\n", (mcp - mcp0) / (mcp8 - mcp0), mcp, mcp8, mcp0
    printf "  responses, 32,767 names      %9.2f ms\n", full
    printf "  responses, 1,000 names       %9.2f ms\n", small
    printf "  ratio 32,767 / 1,000 names   %9.2f      target <= 1.5       %s\n", names, verdict(names <= 1.5)
    printf "  scripts (microbench)         %9.2f ms\n", scripts
  }'
