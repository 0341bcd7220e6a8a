#!/usr/bin/env bash
# Builds the picture decoders' libFuzzer targets with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each for a bounded time on the
# generated seed corpus. Usage: run-fuzzers.sh [SECONDS_PER_TARGET] [FORMAT...]
# Findings (crash-*, leak-*, timeout-*) are left in the build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)
seconds=${1:-30}
shift || true
formats=("$@")
[ ${#formats[@]} -eq 0 ] && formats=(jpeg png gif bmp)
build=${FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
      -DVEXLO_SANITIZE=ON -DVEXLO_FUZZ=ON >/dev/null
targets=(make_picture_corpus)
for f in "${formats[@]}"; do targets+=("fuzz_$f"); done
cmake --build "$build" -j 2 --target "${targets[@]}" >/dev/null

here=$build/tests/engine/picture/fuzz
export QT_QPA_PLATFORM=offscreen
"$here/make_picture_corpus" "$here/seeds"
status=0
for f in "${formats[@]}"; do
    mkdir -p "$here/work-$f"
    echo "== fuzz_$f for ${seconds}s"
    (cd "$here" && ./"fuzz_$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -max_len=4096 -print_final_stats=1 "work-$f" "seeds/$f" 2>&1 | tail -n 12) || status=1
done
exit $status
