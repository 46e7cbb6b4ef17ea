#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test, headless.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh" -DSORAFUMI_WERROR=ON
cd "$top/build"
ctest --output-on-failure
