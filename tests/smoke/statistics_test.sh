#!/usr/bin/env bash
# The status bar's totals in the windowed program on a real X server (Xvfb, xcb platform), read
# back through the accessibility bus as an assistive client would.
#
#   statistics_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# A MASTER.DBF of six stamps (France, Africa, FRANCE, Italy, Spain, Freetown, each with a
# quantity and a market value) is made with the companion and python3-dbf. The status bar must
# show the totals of all six; after a search for Country "fra" (Ctrl+S, Down, Down, "fra",
# Alt+O) those of the two matching stamps; after End Search (Ctrl+I) all six again.
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly ALL='Stamps: 6    Copies: 21    Market Value: 1,234.56    Purchase Price: 0.00'
readonly FOUND='Stamps: 2    Copies: 4    Market Value: 2.00    Purchase Price: 0.00'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

inside_x() {
  local binary=$1
  work=$2
  make_master "$CLI" "$work/program" "$work/config" \
    "[{'country': c, 'quantity': q, 'marketvalu': v} for c, q, v in [('France', 1, 1.25),
      ('Africa', 5, 200), ('FRANCE', 3, 0.25), ('Italy', 10, 21.4), ('Spain', 1, 16.31),
      ('Freetown', 1, 2.25)]]"
  start_with_accessibility "$binary" "$work"
  wait_label 15 "$ALL"

  search_country fra
  wait_label 10 "$FOUND"

  focus "$main_id"
  xdotool key ctrl+i
  wait_label 10 "$ALL"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main statistics "the status bar's totals followed the search and End Search" "$@"
