#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-dependencies.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j "$(nproc)"
