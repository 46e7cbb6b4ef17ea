#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs
# when they are missing, then configures and builds into build/.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/tools/packages.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$top/build" -j "$(nproc)"
