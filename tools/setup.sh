#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs
# when they are missing, then configures and builds into build/: everything,
# or only the targets named in SORAFUMI_TARGETS (the program alone, for run.sh).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/tools/packages.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
targets=()
for target in ${SORAFUMI_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$top/build" -j "$(nproc)" "${targets[@]}"
