#!/usr/bin/env bash
# Fuzzes one target for a number of seconds: ./fuzz.sh TARGET SECONDS
# Targets: record money date settings tips search characters cryptHeader. Builds with clang and libFuzzer in
# build-fuzz/, starts from the committed corpus in tests/fuzz/corpus/TARGET and
# keeps what it finds new in build-fuzz/corpus/TARGET. An input that breaks the
# target is saved in build-fuzz/found/ and the run fails.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
targets="record money date settings tips search characters cryptHeader"
target=${1:-}
seconds=${2:-}
if [ -z "$target" ] || [ -z "$seconds" ] || ! [[ " $targets " == *" $target "* ]] || ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
    echo "usage: ./fuzz.sh TARGET SECONDS   (TARGET one of: $targets)" >&2
    exit 2
fi

"$top/tools/packages.sh" clang libclang-rt-14-dev
build="$top/build-fuzz"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSORAFUMI_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "fuzz_$target"

work="$build/corpus/$target"
found="$build/found"
mkdir -p "$work" "$found"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A second per input counts as a hang.
"$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=12000 \
    -print_final_stats=1 -artifact_prefix="$found/$target-" "$work" "$top/tests/fuzz/corpus/$target"
