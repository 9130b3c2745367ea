#!/usr/bin/env bash
# Sets up, builds and starts Tessellon (or tessellon-cli until the window exists).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -x build/src/app/tessellon ]; then
  exec build/src/app/tessellon "$@"
fi
echo "The windowed program is not built yet; tessellon-cli is at build/src/cli/tessellon-cli" >&2
exec build/src/cli/tessellon-cli "$@"
