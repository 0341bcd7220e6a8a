#!/usr/bin/env bash
# Whole-process tools on the benchmark's pictures: djpeg -bmp (libjpeg-turbo's
# own decode and BMP write) and vipsthumbnail -s 1920x1080 (a shrinking
# pipeline). Prints "NAME VALUE UNIT" lines, the mean of several runs.
set -euo pipefail
build=${BENCH_BUILD:?BENCH_BUILD must name the benchmark build folder}
program=$(find "$build" -type f -name bench_picture -perm -u+x | head -n 1)
[ -n "$program" ] || { echo "bench_picture not built in $build" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$program" --make-pictures "$work"
runs=${COMPARE_RUNS:-5}

# Mean wall time of a command over $runs runs, in milliseconds.
mean_ms() {
    local total=0 start end
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        total=$((total + end - start))
    done
    awk -v t="$total" -v n="$runs" 'BEGIN { printf "%.2f", t / n / 1e6 }'
}

report() { echo "$1 $2 ms"; }
if command -v djpeg >/dev/null; then
    report picture_djpeg_bmp_baseline "$(mean_ms djpeg -bmp -outfile "$work/out.bmp" "$work/baseline.jpg")"
    report picture_djpeg_bmp_progressive "$(mean_ms djpeg -bmp -outfile "$work/out.bmp" "$work/progressive.jpg")"
else
    echo "picture_djpeg_bmp skipped: djpeg is not installed" >&2
fi
if command -v vipsthumbnail >/dev/null; then
    for name in baseline.jpg progressive.jpg picture.png; do
        report "picture_vipsthumbnail_1080p_${name%.*}_${name#*.}" \
            "$(mean_ms vipsthumbnail -s 1920x1080 -o "$work/thumb.jpg" "$work/$name")"
    done
    report picture_vipsthumbnail_1080p_bmp_out \
        "$(mean_ms vipsthumbnail -s 1920x1080 -o "$work/thumb.v" "$work/baseline.jpg")"
else
    echo "picture_vipsthumbnail skipped: vipsthumbnail is not installed" >&2
fi
