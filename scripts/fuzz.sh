#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# their own build folder, seeds each corpus from the template, the sample Prep files, the test
# fixtures and the program's own captions, and runs one target.
#
#   scripts/fuzz.sh <target> [seconds] [libFuzzer options...]
#   targets: datafile_fuzz prepfile_fuzz markup_fuzz rtfreader_fuzz jetconvert_fuzz
#
# The corpus grows in fuzz/<target>/ of the build folder ($TOLMAR_FUZZ_DIR, default build-fuzz);
# a finding is written there as crash-*, timeout-* or leak-* and ends the run with its report.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: scripts/fuzz.sh <target> [seconds] [libFuzzer options...]}
seconds=${2:-600}
shift $(( $# >= 2 ? 2 : 1 ))
build=${TOLMAR_FUZZ_DIR:-$here/build-fuzz}
"$here/scripts/deps.sh"
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is needed (apt-get install clang)" >&2
  exit 1
fi

san="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOLMAR_FUZZ=ON -DTOLMAR_TESTS=OFF -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san"
fi
cmake --build "$build" -j "${TOLMAR_JOBS:-$(nproc)}" --target "$target" tolmar_template tolmar_sample_prep tolmar_mktemplate

corpus=$build/fuzz/$target
seeds=$build/fuzz/$target-seeds
mkdir -p "$corpus" "$seeds"
mk=$build/tools/tolmar_mktemplate
fixtures=$here/tests/fixtures
options=(-timeout=20 -rss_limit_mb=4096)
case "$target" in
  datafile_fuzz)
    cp "$build/bin/TLM.new" "$seeds/template.tlm"
    for format in 3.93.00 4.00.00 04.01.01 05.01.02; do
      "$mk" "$fixtures/common-tables.sql" "$fixtures/format-$format.sql" "$seeds/format-$format.tlm"
    done
    # Small pages keep the seeds short, so that the mutations reach every table.
    if command -v sqlite3 >/dev/null; then
      for f in "$seeds"/*.tlm; do sqlite3 "$f" "PRAGMA page_size=512; VACUUM;"; done
    fi
    options+=(-max_len=$(( $(stat -c %s "$seeds"/*.tlm | sort -n | tail -1) + 4096 )) -len_control=0)
    ;;
  prepfile_fuzz)
    cp "$build/bin/Costs/"*.fcd "$seeds/"
    "$mk" "$here/data/prep/prepfile-tables.sql" "$fixtures/prep-unit.sql" "$seeds/prep-unit.fcd"
    if command -v sqlite3 >/dev/null; then
      for f in "$seeds"/*.fcd; do sqlite3 "$f" "PRAGMA page_size=512; VACUUM;"; done
    fi
    options+=(-max_len=$(( $(stat -c %s "$seeds"/*.fcd | sort -n | tail -1) + 4096 )) -len_control=0)
    ;;
  markup_fuzz)
    # Every caption of the program that carries tags, one seed each.
    n=0
    grep -rhoE '"[^"]*\|(CR|B:[01]|Before:[0-9]+|Left:[0-9]+|PARALEFT:[0-9]+|Right:[0-9]+)\|[^"]*"' \
      "$here/worksheets" "$here/shell" "$here/platform" "$here/tests/platform/label" |
      while IFS= read -r line; do n=$((n + 1)); printf '%s' "${line:1:${#line}-2}" >"$seeds/caption-$n"; done
    printf '%s' '|Before:120||Left:240|One |B:1|bold|B:0| word|CR||Right:-50|Two|cr||x|' >"$seeds/tags"
    # The longest captions run to a few kilobytes: one seed holds them all, and the inputs may
    # grow to that length from the start rather than creep up to it.
    cat "$seeds"/caption-* >"$seeds/all-captions"
    options+=(-dict="$here/platform/label/fuzz/markup.dict" -max_len=16384 -len_control=0)
    ;;
  rtfreader_fuzz)
    printf '%s' '{\rtf1\ansi{\fonttbl{\f0 Arial;}}\pard\b Bold\b0  and \i italic\i0\par }' >"$seeds/plain.rtf"
    options+=(-dict="$here/platform/richtext/fuzz/rtf.dict" -max_len=16384 -len_control=0)
    ;;
  jetconvert_fuzz)
    # The Jet files users hold: Jet 4 data and Prep files, and a Jet 3 sample.
    for f in "$fixtures/jet/"*.tlm "$fixtures/jet/"*.fcd "$fixtures/jet/"*.mdb; do cp "$f" "$seeds/"; done
    # mdbtools writes a warning, often a page dump, for every oddity: its output goes nowhere, the
    # fuzzer's own reports still come.
    options+=(-max_len=$(( $(stat -c %s "$seeds"/* | sort -n | tail -1) + 4096 )) -len_control=0 -close_fd_mask=3)
    ;;
  *)
    echo "fuzz.sh: unknown target $target" >&2
    exit 1
    ;;
esac

cd "$corpus"
export QT_QPA_PLATFORM=offscreen
cat "$here/tests/support/lsan.supp" "$here/tests/support/fuzz-lsan.supp" >"$build/fuzz/lsan.supp"
export LSAN_OPTIONS=suppressions=$build/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}
exec "$build/bin/$target" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 "$@" "$corpus" "$seeds"
