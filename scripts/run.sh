#!/usr/bin/env bash
# Sets up, builds and starts the windowed program build/src/app/tessellon. Its program directory
# is build/src/app/: on a first start (no settings file yet) it creates and opens MASTER.DBF there;
# later starts open the collection last used. Arguments are passed on ("/BROWSE" for browse mode).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show the window on (DISPLAY is not set)." >&2
  echo "Run it on a desktop, or on a virtual one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
exec build/src/app/tessellon "$@"
