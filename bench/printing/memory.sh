#!/usr/bin/env bash
# Peak memory of a long report: ours laying it out and writing the PDF, against LibreOffice
# converting our RTF of the same report to PDF, in turn. Prints median, min and max of each.
#
#   bench/printing/memory.sh [BUILD_DIR] [PAGES] [RUNS]    (build-rel, 500 and 3 unless told)
set -euo pipefail
build=${1:-build-rel}
pages=${2:-500}
runs=${3:-3}
bench="$build/bin/printing_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

peak() {   # peak resident memory of a command, in KiB
    /usr/bin/time -f "%M" -o "$work/peak" "$@" > /dev/null 2>&1
    cat "$work/peak"
}

"$bench" --report="$pages" --output=rtf --file="$work/report.rtf" > /dev/null 2>&1
ours=() lo=()
for ((i = 0; i < runs; i++)); do
    ours+=("$(peak "$bench" --report="$pages" --file="$work/ours.pdf")")
    lo+=("$(peak soffice --headless "-env:UserInstallation=file://$work/profile" --convert-to pdf \
        --outdir "$work" "$work/report.rtf")")
done
spread() {   # median min max of the arguments
    printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
        printf "%.0f MiB  %.0f  %.0f", m / 1024, v[1] / 1024, v[NR] / 1024}'
}
echo "peak memory of a $pages-page report, $runs runs each (median, min, max)"
echo "  ours (layout and PDF):        $(spread "${ours[@]}")"
echo "  LibreOffice (RTF to PDF):     $(spread "${lo[@]}")"
