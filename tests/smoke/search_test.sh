#!/usr/bin/env bash
# Query search in the windowed program on a real X server (Xvfb, xcb platform), read back through
# the accessibility bus as an assistive client would.
#
#   search_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# A MASTER.DBF of six stamps (France, Africa, FRANCE, Italy, Spain, Freetown) is made with the
# companion and python3-dbf. In the program, Ctrl+S opens "Search"; Down, Down moves to the
# Country row, "fra" is typed and Alt+O presses "&Ok". The record count must go from 6 to 2 with
# "SEARCH ON" showing; Ctrl+I (End Search) must bring back 6 and hide "SEARCH ON".
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

# "COUNT SHOWN|HIDDEN": the record count and whether "SEARCH ON" is showing.
read_labels() {
  local labels count
  labels=$(atspi labels)
  count=$(grep -E -m1 -x '[0-9]+' <<<"$labels" || echo '?')
  if grep -q -x 'SEARCH ON' <<<"$labels"; then echo "$count SHOWN"; else echo "$count HIDDEN"; fi
}

# Waits up to $1 seconds until the labels read "$2".
wait_labels() {
  local ticks=$(($1 * 5)) now
  while now=$(read_labels) && [ "$now" != "$2" ]; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "expected \"$2\", the window shows \"$now\""
    sleep 0.2
  done
  echo "$SECONDS s: $now"
}

inside_x() {
  local binary=$1
  work=$2
  make_master "$CLI" "$work/program" "$work/config" \
    "[{'country': c, 'year': y} for c, y in [('France', 1900), ('Africa', 1901),
      ('FRANCE', 1949), ('Italy', 1950), ('Spain', 1925), ('Freetown', 1960)]]"
  start_with_accessibility "$binary" "$work"
  wait_labels 15 "6 HIDDEN"

  search_country fra
  wait_labels 10 "2 SHOWN"

  focus "$main_id"
  xdotool key ctrl+i
  wait_labels 10 "6 HIDDEN"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main search "the search typed in the search window narrowed the viewer and End Search restored it" "$@"
