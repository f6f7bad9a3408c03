#!/usr/bin/env bash
# The Windows executables are what users run. This builds them with
# MinGW-w64, makes the release zip, runs quillaret.exe from it under Wine on
# the bundled example and on the plug-ins of tests/windows/make_windows_cases.cc,
# then quillaret-lexicon.exe and quillaret-check.exe on the example and its
# translation, and compares every result with the Linux build's on
# identical copies:
#
#   - the French plug-ins and the set of files left behind are identical;
#   - the trace logs are identical but for CRLF line ends on Windows;
#   - the console output is identical but for CRLF line ends on Windows;
#   - the exit statuses are equal;
#   - an earlier Mod_fr.esp and Mod_fr.log are replaced (every run starts
#     with stale ones in place; a failing run must leave them alone).
#
# The Windows program is started with a Windows path as argument 0, which is
# where it finds its lexicons. Any difference fails the script.
#
# Usage: scripts/check-windows.sh [linux-build-dir]
#   linux-build-dir  an existing build of this project with the tests
#                    enabled, whose quillaret is compared; without it the
#                    script makes its own (which needs GoogleTest installed).
# QUILLARET_WINDOWS_CHECK_DIR chooses the work directory (default
# build/windows-check). The Wine prefix in it is kept between runs, because
# creating it is most of the time a first run takes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=${QUILLARET_WINDOWS_CHECK_DIR:-build/windows-check}
mkdir -p "$work"
work=$(cd "$work" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
wine=${QUILLARET_WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver

# Wine turns the command line and file names into UTF-16 with the locale's
# character set: without a UTF-8 locale, non-ASCII names would not survive.
export LC_ALL=C.UTF-8
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all
# No Mono or Gecko installer when the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="

started=$SECONDS
stage_started=$SECONDS
stage() {
  echo "   ($((SECONDS - stage_started)) s)"
  stage_started=$SECONDS
  echo "-- $1"
}
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

stop_wine() { WINEPREFIX=$WINEPREFIX "$wineserver" -k 2>/dev/null || true; }
trap stop_wine EXIT

echo "-- Windows build (MinGW-w64)"
rm -rf "$work/win" "$work/unzipped" "$work/run"
cmake -S . -B "$work/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQUILLARET_BUILD_TESTS=OFF >"$work/win-configure.log" ||
  { cat "$work/win-configure.log"; exit 1; }
programs=(quillaret quillaret-lexicon quillaret-check)
cmake --build "$work/win" -j "$jobs" --target "${programs[@]}"

stage "Release zip (cpack), unzipped as a user would"
(cd "$work/win" && cpack -G ZIP >/dev/null)
zips=("$work"/win/quillaret-*.zip)
[ ${#zips[@]} -eq 1 ] || { echo "expected one release zip, found: ${zips[*]}" >&2; exit 1; }
mkdir -p "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "${zips[0]}")
release=$(echo "$work"/unzipped/*)
listing=$(cd "$work/unzipped" && find . -mindepth 1 | sort | tr '\n' ' ')
folder=./$(basename "$release")
expected="$folder $folder/README.md $folder/lexique_enfr_dial.txt $folder/lexique_enfr_fact.txt \
$folder/lexique_enfr_name.txt $folder/quillaret-check.exe $folder/quillaret-lexicon.exe $folder/quillaret.exe "
[ "$listing" = "$expected" ] || fail "the release zip holds: $listing"
echo "   $(basename "${zips[0]}"): $listing"

# Users get the executables alone: anything but system DLLs would be missing.
for program in "${programs[@]}"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$release/$program.exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  echo "   $program.exe DLL imports: $(echo $imports)"
  for dll in $imports; do
    case ${dll^^} in
      KERNEL32.DLL | MSVCRT.DLL | SHELL32.DLL | USER32.DLL | ADVAPI32.DLL | API-MS-WIN-*) ;;
      *) fail "$program.exe needs $dll" ;;
    esac
  done
done

stage "Linux build"
linux_build=${1:-}
if [ -z "$linux_build" ]; then
  linux_build=$work/linux
  cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=Release >"$work/linux-configure.log" ||
    { cat "$work/linux-configure.log"; exit 1; }
fi
# Up to date already when the caller built everything.
cmake --build "$linux_build" -j "$jobs" --target "${programs[@]}" make_windows_cases \
  >"$work/linux-build.log" 2>&1 || { cat "$work/linux-build.log"; exit 1; }
linux_build=$(cd "$linux_build" && pwd)

# Z:\ is Wine's drive for the whole Unix file system.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# run_both <name> <linux cwd> <linux program> <linux plug-in> <windows cwd>
# <windows program> <windows plug-in>: runs both with an empty standard
# input, so that the final wait for a key returns at once. The results go to
# $work/run/<name>.*
run_both() {
  local name=$1 status=0
  (cd "$2" && "$3" "$4" </dev/null >"$work/run/$name.linux.out") || status=$?
  echo "$status" >"$work/run/$name.linux.status"
  status=0
  (cd "$5" && "$wine" "$6" "$7" </dev/null >"$work/run/$name.windows.out" \
    2>"$work/run/$name.wine.err") || status=$?
  echo "$status" >"$work/run/$name.windows.status"
}

# The Linux text with CR LF for every LF: what Windows' text mode makes.
crlf() { perl -0777 -pe 's/\n/\r\n/g' "$1"; }

# compare <name> <linux dir> <windows dir> <plug-in name> <expectation>
compare() {
  local name=$1 lin=$2 win=$3 plugin=$4 expectation=$5
  local out_plugin="${plugin%.*}_fr.${plugin##*.}" log="${plugin%.*}_fr.log"
  local report=()
  if ! cmp -s <(crlf "$work/run/$name.linux.out") "$work/run/$name.windows.out"; then
    fail "$plugin: console output differs"
    diff <(crlf "$work/run/$name.linux.out" | cat -A) <(cat -A "$work/run/$name.windows.out") >&2 || true
    sed 's/^/   wine: /' "$work/run/$name.wine.err" >&2
  else
    report+=("console identical but for CRLF ($(wc -l <"$work/run/$name.linux.out") lines)")
  fi
  local linux_status windows_status
  linux_status=$(cat "$work/run/$name.linux.status")
  windows_status=$(cat "$work/run/$name.windows.status")
  [ "$linux_status" = "$windows_status" ] ||
    fail "$plugin: exit status $windows_status on Windows, $linux_status on Linux"
  report+=("exit status $windows_status")

  if cmp -s "$lin/$out_plugin" "$win/$out_plugin"; then
    report+=("$out_plugin identical ($(wc -c <"$win/$out_plugin") bytes)")
  else
    fail "$plugin: $out_plugin differs"
  fi
  if cmp -s <(crlf "$lin/$log") "$win/$log"; then
    report+=("$log identical but for CRLF ($(wc -l <"$lin/$log") lines)")
  else
    fail "$plugin: $log differs"
  fi
  local lin_files win_files
  lin_files=$(cd "$lin" && find . ! -name quillaret | sort)
  win_files=$(cd "$win" && find . ! -name quillaret.exe | sort)
  [ "$lin_files" = "$win_files" ] || fail "$plugin: other files left behind:
$(diff <(echo "$lin_files") <(echo "$win_files"))"

  # Equal results prove little when both sides did nothing.
  if [ "$expectation" = fails ]; then
    if ! cmp -s "$work/run/stale" "$win/$out_plugin"; then fail "$plugin: the earlier copy was touched"; fi
  elif cmp -s "$work/run/stale" "$win/$out_plugin"; then
    fail "$plugin: the earlier $out_plugin was not replaced"
  elif [ "$expectation" = unchanged ]; then
    if ! cmp -s "$win/$plugin" "$win/$out_plugin"; then fail "$plugin: the copy differs"; fi
  elif cmp -s "$win/$plugin" "$win/$out_plugin"; then
    fail "$plugin: nothing translated"
  fi
  if [ "$expectation" = translated ] && ! grep -q $'\r$' "$win/$log"; then
    fail "$plugin: the Windows log has no CRLF line end"
  fi
  echo "   $plugin ($expectation): ${report[0]}"
  local line
  for line in "${report[@]:1}"; do echo "     $line"; done
}

# Stale outputs of an earlier run, which a successful run must replace.
plant_stale() {
  local plugin=$1
  cp "$work/run/stale" "${plugin%.*}_fr.${plugin##*.}"
  cp "$work/run/stale" "${plugin%.*}_fr.log"
}

if [ ! -d "$WINEPREFIX" ]; then
  stage "Wine prefix (first start)"
  "$wine" wineboot --init >/dev/null 2>"$work/wineboot.err" ||
    { cat "$work/wineboot.err"; exit 1; }
fi

stage "Bundled example, release folder's quillaret.exe under Wine against the Linux build"
mkdir -p "$work/run/linux/example" "$work/run/windows/example"
echo "stale output of an earlier run" >"$work/run/stale"
for side in linux windows; do
  cp examples/Example.esp "$work/run/$side/example/"
  (cd "$work/run/$side/example" && plant_stale Example.esp)
done
run_both example \
  "$work/run/linux/example" "$linux_build/quillaret" "$work/run/linux/example/Example.esp" \
  "$work/run/windows/example" "$(windows_path "$release/quillaret.exe")" \
  "$(windows_path "$work/run/windows/example/Example.esp")"
tr -d '\r' <"$work/run/example.windows.out" | sed 's/^/   | /'
compare example "$work/run/linux/example" "$work/run/windows/example" Example.esp translated

stage "End-to-end plug-ins, relative paths with backslashes"
"$linux_build/tests/windows/make_windows_cases" "$work/run/cases" >"$work/run/cases.list"
for side in linux windows; do
  cp -R "$work/run/cases" "$work/run/$side/"
done
cp "$linux_build/quillaret" "$work/run/linux/cases/"
cp "$release/quillaret.exe" "$work/run/windows/cases/"
while read -r expectation plugin; do
  for side in linux windows; do
    (cd "$work/run/$side/cases/Data Files" && plant_stale "$plugin")
  done
done <"$work/run/cases.list"
while read -r expectation plugin; do
  # From the folder above: the program as cases\quillaret.exe, the plug-in
  # as "cases\Data Files\<name>".
  run_both "$plugin" "$work/run/linux" cases/quillaret "cases/Data Files/$plugin" \
    "$work/run/windows" 'cases\quillaret.exe' "cases\\Data Files\\$plugin"
  compare "$plugin" "$work/run/linux/cases/Data Files" "$work/run/windows/cases/Data Files" \
    "$plugin" "$expectation"
done <"$work/run/cases.list"

stage "quillaret-lexicon and quillaret-check on the example and its translation"
# run_tool <name> <program> <args...>: the program of each build, run in
# each side's copy of the example folder on paths relative to it, so that
# both sides print and write the same names; the results go to
# $work/run/<name>.*
run_tool() {
  local name=$1 program=$2 status=0
  shift 2
  (cd "$work/run/linux/example" && "$linux_build/$program" "$@" </dev/null \
    >"$work/run/$name.linux.out") || status=$?
  echo "$status" >"$work/run/$name.linux.status"
  status=0
  (cd "$work/run/windows/example" && "$wine" "$(windows_path "$release/$program.exe")" "$@" \
    </dev/null >"$work/run/$name.windows.out" 2>"$work/run/$name.wine.err") || status=$?
  echo "$status" >"$work/run/$name.windows.status"
}
# expect_same <name> <exit status> <files compared byte for byte> [-- <text
# files, CRLF on Windows>]: the console (CRLF and the paths it makes with
# backslashes on Windows) and the exit status alike on both sides too.
expect_same() {
  local name=$1 status=$2 file mode=bytes
  shift 2
  for side in linux windows; do
    [ "$(cat "$work/run/$name.$side.status")" = "$status" ] ||
      fail "$name: exit status $(cat "$work/run/$name.$side.status") on $side, $status expected"
  done
  if ! cmp -s <(crlf "$work/run/$name.linux.out") <(tr '\\' / <"$work/run/$name.windows.out"); then
    fail "$name: console output differs"
    diff <(crlf "$work/run/$name.linux.out") "$work/run/$name.windows.out" >&2 || true
  fi
  for file in "$@"; do
    if [ "$file" = -- ]; then mode=text; continue; fi
    local lin="$work/run/linux/example/$file" win="$work/run/windows/example/$file"
    if [ "$mode" = bytes ]; then
      cmp -s "$lin" "$win" || fail "$name: $file differs"
    else
      cmp -s <(crlf "$lin") "$win" || fail "$name: $file differs"
    fi
  done
  echo "   $name: exit status $status, console and files alike ($*)"
}
lexicons=(lexicons/lexique_enfr_dial.txt lexicons/lexique_enfr_fact.txt lexicons/lexique_enfr_name.txt
  lexicons/lexique_enfr_report.txt)
run_tool lexicon-new quillaret-lexicon Example.esp Example_fr.esp lexicons
expect_same lexicon-new 0 "${lexicons[@]}"
grep -q '"Dague de fer"' "$work/run/windows/example/lexicons/lexique_enfr_name.txt" ||
  fail "lexicon-new: the name lexicon lacks a pair of the example"
# A second run into the same folder keeps every pair: the files stay.
cp "$work/run/windows/example/lexicons/lexique_enfr_name.txt" "$work/run/lexicon-first"
run_tool lexicon-update quillaret-lexicon Example.esp Example_fr.esp lexicons
expect_same lexicon-update 0 "${lexicons[@]}"
cmp -s "$work/run/lexicon-first" "$work/run/windows/example/lexicons/lexique_enfr_name.txt" ||
  fail "lexicon-update: the name lexicon changed"
run_tool lexicon-missing quillaret-lexicon Example.esp Missing.esp lexicons
expect_same lexicon-missing 1
# The example's master is not there: one finding at least.
run_tool check-example quillaret-check Example_fr.esp
expect_same check-example 1 -- Example_fr.check.txt
for side in linux windows; do
  head -c 20 "$work/run/linux/example/Example.esp" >"$work/run/$side/example/Damaged.esp"
done
run_tool check-damaged quillaret-check Damaged.esp
expect_same check-damaged 2

stop_wine
stage "Done"
if [ "$failures" -ne 0 ]; then
  echo "Windows check: $failures failure(s), $((SECONDS - started)) s" >&2
  exit 1
fi
echo "Windows check passed in $((SECONDS - started)) s"
