#!/usr/bin/env bash
# Configures and builds Tessellon in build/ (release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build build -j"$(nproc)"
