#!/usr/bin/env bash
# The whole benchmark (README.md, "Benchmarks"): builds a Release tree,
# generates the data set, checks the translation of the master against
# bench/expected_output.sha256, times the programs against `cp` in turns,
# runs the microbenchmarks and prints every figure against its target.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=9 size_mb=80 seed=1 keep=0 build=$repo/build-bench/release data=$repo/build-bench/bench-data
usage() {
  echo "usage: bench/run.sh [--runs N] [--size-mb N] [--seed N] [--build DIR] [--data DIR] [--keep]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case $1 in
    --runs | --size-mb | --seed | --build | --data) [ $# -ge 2 ] || usage; name=${1#--}
      printf -v "${name/-/_}" %s "$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    *) usage ;;
  esac
done
[ "$runs" -ge 5 ] || { echo "at least 5 runs" >&2; exit 2; }
bash "$repo/scripts/install-packages.sh" cmake g++ make libbenchmark-dev time

echo "== Release build in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLARET_BUILD_BENCH=ON \
  -DQUILLARET_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quillaret quillaret-lexicon quillaret-check \
  quillaret_make_dataset quillaret_microbench >/dev/null

# Bench.esm; Bench8.esm, a tenth of it; Header.esm, its TES3 record alone.
echo "== Data set in $data"
mkdir -p "$data/kept"
generate() { "$build/bench/quillaret_make_dataset" --seed "$seed" "$@"; }
master_stats=$(generate --size-mb "$size_mb" --lexicons "$data" "$data/Bench.esm")
echo "$master_stats"
generate --size-mb "$(awk -v s="$size_mb" 'BEGIN { print s / 10 }')" "$data/Bench8.esm" >/dev/null
generate --size-mb 0 "$data/Header.esm" >/dev/null
cp "$build/quillaret" "$build/quillaret-check" "$data/"  # beside the lexicons, where they read them
outputs() { rm -rf "$data"/*_fr.* "$data/Bench_copy.esm" "$data/out"; }
cleanup() {
  outputs
  [ "$keep" -eq 1 ] || rm -rf "$data"/{Bench,Bench8,Header}.esm "$data"/lexique_enfr_*.txt \
    "$data"/quillaret{,-check} "$data/microbench.csv" "$data/kept"
}
trap cleanup EXIT

echo "== Output check"
translate() { "${@:2}" "$data/quillaret" "$data/$1.esm" </dev/null >/dev/null; }
translate Bench
cp "$data/Bench_fr.esm" "$data/kept/"  # for the programs that read a translation
# A mod of the translated master beside it, a third of its names detached.
generate --mod-of "$data/kept/Bench_fr.esm" "$data/kept/Mod.esp"
if [ "$size_mb" != 80 ] || [ "$seed" != 1 ]; then
  echo "no recorded hashes for $size_mb MB, seed $seed:"
  (cd "$data" && sha256sum Bench.esm Bench_fr.esm)
elif (cd "$data" && sha256sum --quiet -c "$repo/bench/expected_output.sha256"); then
  echo "Bench.esm and Bench_fr.esm as recorded"
else
  echo "!! FAILED: the master or its translation differs from bench/expected_output.sha256" >&2
  exit 1
fi

# A copy writes real blocks where the file system could share them.
copy() { cp --reflink=never "$data/$1.esm" "$data/Bench_copy.esm"; }

# The programs timed on Bench.esm against `cp` of it: run_<name> runs one,
# under the command given if any (/usr/bin/time). Another is a line here, a
# word in `programs` and a target to build. The check's findings make it
# exit with 1.
run_translator() { translate Bench "$@"; }
run_lexicon() { "$@" "$build/quillaret-lexicon" "$data/Bench.esm" "$data/kept/Bench_fr.esm" "$data/out" </dev/null >/dev/null; }
run_check() { "$@" "$build/quillaret-check" "$data/kept/Bench_fr.esm" </dev/null >/dev/null || [ $? -eq 1 ]; }
# The check of a mod reads the master and, for its hints, the lexicons.
run_mod() { "$@" "$data/quillaret-check" "$data/kept/Mod.esp" </dev/null >/dev/null || [ $? -eq 1 ]; }
programs=(translator lexicon check mod)

# Adds to times[<name>] the milliseconds that a command takes, run after
# the outputs of the run before are removed and written out.
declare -A times=()
timed() {
  local start end
  outputs && mkdir "$data/out" && sync
  start=$EPOCHREALTIME
  "${@:2}"
  end=$EPOCHREALTIME
  times[$1]+=" $(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) * 1000 }')"
}
median() { echo "${times[$1]}" | tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END {
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "== Timing: $runs rounds in turns, after one warm-up round"
for ((round = 0; round <= runs; round++)); do
  for program in "${programs[@]}"; do timed "$program" "run_$program"; done
  timed cp copy Bench
  # Five times a round: a few milliseconds count in the linearity.
  for repeat in 1 2 3 4 5; do
    timed t8 translate Bench8
    timed t0 translate Header
    timed cp8 copy Bench8
    timed cp0 copy Header
  done
  [ "$round" -gt 0 ] || times=()
done
outputs
peak_kib=$(run_translator /usr/bin/time -f %M 2>&1 | tail -1)
outputs && mkdir "$data/out"
lexicon_kib=$(run_lexicon /usr/bin/time -f %M 2>&1 | tail -1)
check_kib=$(run_check /usr/bin/time -f %M 2>&1 | tail -1)
lexicon_summary=$(grep -h ' added, ' "$data/out/lexique_enfr_report.txt" | tr -d '\r')
check_summary=$(tail -1 "$data/kept/Bench_fr.check.txt" | tr -d '\r')
mod_summary=$(tail -1 "$data/kept/Mod.check.txt" | tr -d '\r')
input=$(stat -c %s "$data/Bench.esm")

# Interleaved, the two sizes of name lexicon are timed side by side.
echo "== Microbenchmarks (medians of 9 repetitions, interleaved)"
"$build/bench/quillaret_microbench" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
  --benchmark_enable_random_interleaving=true \
  --benchmark_out="$data/microbench.csv" --benchmark_out_format=csv >/dev/null 2>&1
micro() { awk -F, -v name="\"$1_median\"" '$1 == name { print $3 }' "$data/microbench.csv"; }

# row <label> <awk expression> <format> [<condition on v> <target>]
row() {
  awk -v label="$1" -v fmt="$3" -v target="${5:-}" "BEGIN { v = $2
    printf \"  %-30s\" fmt, label, v
    if (target != \"\") printf \"  target %-12s %s\", target, (${4:-1}) ? \"met\" : \"NOT MET\"
    print \"\" }"
}
echo
echo "Quillaret benchmark: $(nproc) cores, warm cache, $runs rounds (small plug-ins 5 per round)"
echo "  Bench.esm $input bytes, $(echo "$master_stats" | sed -n 's/.*= \([0-9]*\) nodes.*/\1/p')" \
  "records and subrecords; Bench8.esm $(stat -c %s "$data/Bench8.esm") bytes"
for name in "${programs[@]}" cp t8 t0; do echo "  runs (ms) $name:${times[$name]}"; done
mcp=$(median cp) m0=$(median t0) m8=$(median t8) mcp0=$(median cp0) mcp8=$(median cp8)
row "median cp $size_mb MB" "$mcp" "%9.1f ms"
row "median translator $size_mb MB" "$(median translator)" "%9.1f ms"
row "ratio translator / cp" "$(median translator) / $mcp" "%9.2f" "v <= 2" "<= 2"
# The companions: well under a second on the whole master.
for program in lexicon check; do
  row "median $program $size_mb MB" "$(median "$program")" "%9.1f ms" "v < 1000" "< 1 s"
  row "ratio $program / cp" "$(median "$program") / $mcp" "%9.2f"
done
row "median check of Mod.esp" "$(median mod)" "%9.1f ms" "v < 1000" "< 1 s"
row "peak memory" "$peak_kib / 1024" "%9.1f MiB" "v <= $input / 524288 + 64" \
  "<= $(awk -v i="$input" 'BEGIN { printf "%.1f", i / 524288 + 64 }') MiB"
row "peak memory, lexicon builder" "$lexicon_kib / 1024" "%9.1f MiB"
row "peak memory, check" "$check_kib / 1024" "%9.1f MiB"
row "lexicon loading (microbench)" "$(micro BM_LoadLexicons)" "%9.2f ms" "v <= 30" "<= 30 ms"
row "median header-only run (t0)" "$m0" "%9.1f ms"
row "median 8 MB run (t8)" "$m8" "%9.1f ms"
row "(t80 - t0) / (t8 - t0)" "($(median translator) - $m0) / ($m8 - $m0)" "%9.2f" \
  "v >= 8.5 && v <= 11.5" "8.5 to 11.5"
row "  the same for cp" "($mcp - $mcp0) / ($mcp8 - $mcp0)" "%9.2f    (cp 8 MB $mcp8, header $mcp0 ms)"
full=$(micro BM_ResponseRewriting/32767) small=$(micro BM_ResponseRewriting/1000)
row "responses, 32,767 names" "$full" "%9.2f ms"
row "responses, 1,000 names" "$small" "%9.2f ms"
row "ratio 32,767 / 1,000 names" "$full / $small" "%9.2f" "v <= 1.5" "<= 1.5"
row "scripts (microbench)" "$(micro BM_ScriptRewriting)" "%9.2f ms"
echo "  lexicons built from Bench.esm and its translation:"
echo "$lexicon_summary" | sed 's/^/    /'
echo "  check of Bench_fr.esm: $check_summary"
echo "  check of Mod.esp ($(stat -c %s "$data/kept/Mod.esp") bytes) against it: $mod_summary"
