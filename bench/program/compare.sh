#!/usr/bin/env bash
# The program as a whole process on a private X display with a window manager,
# a notification area and a session bus: start-up to the window shown and idle
# with 1,000 folders and resident memory once idle, both against a minimal Qt
# window;
# "Vexlo apply" of a 3840 x 2160 JPEG on bare X against feh --bg-center; and a
# soak of 1,000 wallpaper changes by the hot key in one running program.
# Start-up is timed by X events (startup_probe), to the millisecond or better.
# Prints "NAME VALUE UNIT" lines.
set -euo pipefail
build=${BENCH_BUILD:?BENCH_BUILD must name the benchmark build folder}
vexlo=$build/app/Vexlo
minimal=$build/bench/program/minimal_window
probe=$build/bench/program/startup_probe
pictures=$(find "$build" -type f -name bench_picture -perm -u+x | head -n 1)
for tool in Xvfb openbox trayer xdotool djpeg cjpeg; do
    command -v "$tool" >/dev/null || { echo "program bench skipped: $tool is not installed" >&2; exit 0; }
done
runs=${COMPARE_RUNS:-5}
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
# A session bus of its own, as every desktop session has: without one, the
# first use of the bus (Qt asks it for a tray host) makes libdbus start a
# bus of its own, at a cost no real session pays.
if command -v dbus-daemon >/dev/null; then
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.1; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
fi
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
export QT_QPA_PLATFORM=xcb VEXLO_DESKTOP=x11 HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data" VEXLO_REGISTRY_DIR="$work/registry"
mkdir -p "$work/prog" "$work/pics" "$HOME"
cp "$vexlo" "$work/prog/Vexlo"
{
    echo "[Folders]"
    for i in $(seq 1000); do echo "folder$i=$work/folders/folder$i"; done
} >"$work/prog/Vexlo.ini"

now_ns() { date +%s%N; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }
mean() { awk '{ s += $1 } END { printf "%.1f", s / NR }'; }

# Start-up: startup_probe starts the program and times it from just before
# the fork to the first Expose of its window (mapped and viewable), as X
# events; then, one second later, reads the resident memory. Each line it
# prints: milliseconds, KiB, and the resolution of its timing in ms.
# A pause after each lets the server, the window manager and the tray host
# finish with the program just ended before the next one starts.
probe_start() {
    local out
    out=$("$probe" "$1" 1 "$2") || { echo "program bench: no start-up figure for $1" >&2; exit 1; }
    read -r ms rss res <<<"$out"
    sleep 0.3
}
# One start of each first, not counted: the binaries, libraries and font
# caches are then read from memory, as at any start but the first after boot.
probe_start Vexlo "$work/prog/Vexlo"
probe_start Minimal "$minimal"
vexlo_ms=() minimal_ms=() vexlo_rss=() minimal_rss=() resolution=()
# Twice the runs of the other figures: a start varies by several milliseconds.
for _ in $(seq $((runs * 2))); do
    probe_start Vexlo "$work/prog/Vexlo"
    vexlo_ms+=("$ms") vexlo_rss+=("$rss") resolution+=("$res")
    probe_start Minimal "$minimal"
    minimal_ms+=("$ms") minimal_rss+=("$rss") resolution+=("$res")
done
v=$(printf '%s\n' "${vexlo_ms[@]}" | mean)
m=$(printf '%s\n' "${minimal_ms[@]}" | mean)
echo "program_startup_1000_folders $v ms"
echo "program_startup_minimal_qt $m ms"
echo "program_startup_ratio $(awk -v a="$v" -v b="$m" 'BEGIN { printf "%.2f", a / b }') x"
echo "program_startup_resolution_ms $(printf '%s\n' "${resolution[@]}" |
    awk 'NR == 1 || $1 > r { r = $1 } END { printf "%.3f", r }') ms"
v=$(printf '%s\n' "${vexlo_rss[@]}" | mean)
m=$(printf '%s\n' "${minimal_rss[@]}" | mean)
echo "program_idle_rss $v KiB"
echo "program_idle_rss_minimal_qt $m KiB"
echo "program_idle_rss_ratio $(awk -v a="$v" -v b="$m" 'BEGIN { printf "%.2f", a / b }') x"

# Apply of a 4K JPEG on bare X against feh.
if [ -n "$pictures" ] && command -v feh >/dev/null; then
    QT_QPA_PLATFORM=offscreen "$pictures" --make-pictures "$work/pics" >/dev/null
    mean_ms() {
        local total=0 start end
        for _ in $(seq "$runs"); do
            start=$(now_ns)
            "$@" >/dev/null 2>&1
            end=$(now_ns)
            total=$((total + end - start))
        done
        awk -v t="$total" -v n="$runs" 'BEGIN { printf "%.1f", t / n / 1e6 }'
    }
    printf '[Folders]\n' >"$work/prog/Vexlo.ini"
    a=$(mean_ms "$work/prog/Vexlo" apply "$work/pics/baseline.jpg")
    f=$(mean_ms feh --bg-center --no-fehbg "$work/pics/baseline.jpg")
    echo "program_apply_4k_jpeg_x11 $a ms"
    echo "program_feh_bg_center_4k_jpeg $f ms"
    echo "program_apply_vs_feh $(awk -v a="$a" -v b="$f" 'BEGIN { printf "%.2f", a / b }') x"

    # Soak: 1,000 changes by the hot key in one running program.
    mkdir -p "$work/soak"
    djpeg -scale 1/8 "$work/pics/baseline.jpg" | cjpeg >"$work/soak/a.jpg"
    for n in b c d e; do cp "$work/soak/a.jpg" "$work/soak/$n.jpg"; done
    printf '[Folders]\nsoak=%s\n[Startup]\nRandom=0\n' "$work/soak" >"$work/prog/Vexlo.ini"
    "$work/prog/Vexlo" /DEBUG >/dev/null 2>&1 &
    soak=$!
    pids+=("$soak")
    sleep 2
    press() { for _ in $(seq "$1"); do xdotool key ctrl+alt+c; sleep 0.02; done; }
    # The first few hundred changes grow the heap to its working size; the
    # figure is the growth after that, over 1,000 more.
    rss_start=$(rss_kb "$soak")
    press 300
    sleep 1
    rss0=$(rss_kb "$soak")
    echo "program_soak_warmup_300_changes_rss_growth $((rss0 - rss_start)) KiB"
    fd0=$(ls "/proc/$soak/fd" | wc -l)
    press 1000
    sleep 2
    rss1=$(rss_kb "$soak")
    fd1=$(ls "/proc/$soak/fd" | wc -l)
    echo "program_soak_1000_changes_rss_growth $((rss1 - rss0)) KiB"
    echo "program_soak_1000_changes_fd_growth $((fd1 - fd0)) fds"
fi
