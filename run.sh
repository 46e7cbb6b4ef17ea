#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
# A user's first start builds the program, not its tests and benchmarks.
SORAFUMI_TARGETS=sorafumi "$top/tools/setup.sh"
exec "$top/build/sorafumi"
