#!/usr/bin/env bash
# Sets up, builds and runs every test. Pass --asan to use the sanitizer build.
set -euo pipefail
export QT_QPA_PLATFORM=offscreen
cd "$(dirname "$0")/.."
scripts/setup.sh
preset=release
[ "${1:-}" = "--asan" ] && preset=asan
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
