#!/usr/bin/env bash
# Builds the picture decoders' libFuzzer targets with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each on the generated seed corpus:
#   run-fuzzers.sh [SECONDS_PER_TARGET] [FORMAT...]   for a bounded time each
#   run-fuzzers.sh --runs N [FORMAT...]               for N inputs each (scripts/test)
# Findings (crash-*, leak-*, timeout-*) are left in the build folder
# ($FUZZ_BUILD, else build-fuzz).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)
if [ "${1:-}" = --runs ]; then
    limit="-runs=${2:?--runs needs a number}"
    shift 2
else
    limit="-max_total_time=${1:-30}"
    shift || true
fi
formats=("$@")
[ ${#formats[@]} -eq 0 ] && formats=(jpeg png gif bmp)
build=${FUZZ_BUILD:-$root/build-fuzz}

launcher=()
command -v ccache >/dev/null &&
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" "${launcher[@]}" \
      -DVEXLO_SANITIZE=ON -DVEXLO_FUZZ=ON >/dev/null
targets=(make_picture_corpus)
for f in "${formats[@]}"; do targets+=("fuzz_$f"); done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null

here=$build/tests/engine/picture/fuzz
export QT_QPA_PLATFORM=offscreen
"$here/make_picture_corpus" "$here/seeds" >/dev/null
status=0
for f in "${formats[@]}"; do
    # A fixed number of runs starts afresh each time, so it runs the same inputs.
    [[ $limit == -runs=* ]] && rm -rf "$here/work-$f"
    mkdir -p "$here/work-$f"
    echo "== fuzz_$f ($limit)"
    (cd "$here" && ./"fuzz_$f" "$limit" -seed=1 -timeout=10 -rss_limit_mb=4096 \
        -max_len=4096 -print_final_stats=1 "work-$f" "seeds/$f" 2>&1 | tail -n 12) || status=1
done
exit $status
