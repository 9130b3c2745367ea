#!/bin/sh
# Builds the engine benchmark in Release and runs it against the sqlite3 shell
# for 100,000 and 1,000,000 records (or the counts given after the folder).
#
# Usage: bench/run_engine_bench.sh [FOLDER] [RECORDS...]
#   FOLDER   where the data and table files go (default /tmp); they are
#            removed after each run.
#   BUILD_DIR in the environment picks the build folder
#            (default /tmp/tessellon-bench-build); REPEAT the number of rounds
#            whose best times are reported (default 3).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=${BUILD_DIR:-/tmp/tessellon-bench-build}
folder=${1:-/tmp}
[ $# -gt 0 ] && shift
counts=${*:-100000 1000000}

command -v sqlite3 >/dev/null || { echo "sqlite3 is not installed" >&2; exit 1; }

cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTESSELLON_BUILD_GUI=OFF -DTESSELLON_BUILD_TESTS=OFF -DTESSELLON_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" -j2 --target engine_vs_sqlite

mkdir -p "$folder"
status=0
for n in $counts; do
    echo
    "$build_dir/bench/engine_vs_sqlite" "$n" "$folder" --repeat="${REPEAT:-3}" || status=1
done
exit $status
