#!/bin/sh
# Builds the first-screen benchmark with the windowed program and runs it: the main window is
# started on a collection of 1,000 and one of 1,000,000 stamps in one run (offscreen platform),
# the times to the first painted screen are compared (target: at most 1.5 times), and the large
# collection is scrolled to its last row (target: about a screenful of rows read).
#
# Usage: bench/open_first_screen.sh [FOLDER] [OPTIONS...]
#   FOLDER   where the collections and settings go (default /tmp); removed at the end unless
#            --keep is given. The 1,000,000-record table needs about 800 MB there.
#   OPTIONS  passed on: --small=N --large=N --repeat=K --keep --reuse
# The benchmark is built in the project's build folder (the release preset, as the program).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
cd "$(dirname "$here")"
cmake --preset release >/dev/null
cmake --build build -j2 --target open_first_screen
exec build/bench/open_first_screen "$@"
