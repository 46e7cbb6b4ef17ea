#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test, headless.
# With SANITIZE=1 the tests run once more in build-sanitize/, built with the
# address and undefined-behaviour sanitizers.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh" -DSORAFUMI_WERROR=ON
(cd "$top/build" && ctest --output-on-failure)

if [ "${SANITIZE:-0}" = 1 ]; then
    cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DSORAFUMI_WERROR=ON -DSORAFUMI_SANITIZE=ON
    cmake --build "$top/build-sanitize" -j "$(nproc)"
    # Qt and the fonts keep caches for the whole run on purpose: leaks are not
    # looked for. The browser engine's own sizes of new and delete differ
    # inside the library; every other fault stops the test. The crash test
    # counts the program's system calls, which the sanitizers' runtime changes:
    # it runs in the plain build only, as does the clean-root install, which
    # packages the program for users, without the sanitizers.
    export ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QTEST_DISABLE_STACK_DUMP=1
    (cd "$top/build-sanitize" && ctest --output-on-failure -E 'crash_and_disk_faults|clean_root_install')
fi
