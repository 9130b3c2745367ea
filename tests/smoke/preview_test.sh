#!/usr/bin/env bash
# The report preview in the windowed program on a real X server (Xvfb, xcb platform), read back
# through the accessibility bus as an assistive client would.
#
#   preview_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# A MASTER.DBF of 150 stamps is made with the companion and python3-dbf. In the program, Ctrl+R
# opens "Reports"; Home selects the first report ("120 Column 1 Line Report") and Alt+V presses
# "&View". The status window must read "Report Completed!" and is closed with its OK button;
# the preview titled after the report must then read "Page 1 of N" with N > 1, and after its
# "Next Page" button is pressed "Page 2 of N". "Done" closes it, E&xit the Reports window and
# File > Exit the program.
#
# Runs in a D-Bus session of its own with the accessibility bus started in it (a fresh one for
# every attempt on an X server). Exit status 0 on success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly REPORTS_TITLE='Reports'
readonly STATUS_TITLE='Report Status Screen'
readonly REPORT_NAME='120 Column 1 Line Report'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

inside_x() {
  local binary=$1 reports_id status_id preview_id first second pages
  work=$2
  make_master "$CLI" "$work/program" "$work/config" \
    "[{'catalog': 'C%03d' % i, 'country': ('Austria', 'Belgium', 'Chile')[i % 3],
       'year': 1900 + i % 100, 'descriptio': 'Stamp number %d' % i, 'quantity': 1}
      for i in range(150)]"
  start_with_accessibility "$binary" "$work"
  wait_label 15 '150' >/dev/null

  focus "$main_id"
  xdotool key ctrl+r
  reports_id=$(wait_for_window "$REPORTS_TITLE" 10) || fail "no \"$REPORTS_TITLE\" window; windows seen:
$(window_names)"
  focus "$reports_id"
  sleep 0.3
  xdotool key Home
  xdotool key alt+v
  status_id=$(wait_for_window "$STATUS_TITLE" 10) || fail "no \"$STATUS_TITLE\" window after View"
  wait_label 20 'Report Completed!' >/dev/null
  echo "$SECONDS s: the report was recorded"
  atspi press OK || fail "the status window has no OK button"
  window_gone "$STATUS_TITLE" 10 || fail "the status window stayed open after OK"

  preview_id=$(wait_for_window "$REPORT_NAME" 10) || fail "no preview titled \"$REPORT_NAME\"; windows seen:
$(window_names)"
  first=$(wait_label 10 'Page 1 of [0-9]+')
  pages=${first#Page 1 of }
  [ "$pages" -gt 1 ] || fail "the report has $pages page(s); two at least were expected"
  echo "$SECONDS s: the preview shows \"$first\""
  atspi press 'Next Page' || fail "the preview has no \"Next Page\" button"
  second=$(wait_label 10 "Page 2 of $pages")
  echo "$SECONDS s: after Next Page the preview shows \"$second\""

  atspi press Done || fail "the preview has no \"Done\" button"
  window_gone "$REPORT_NAME" 10 || fail "the preview stayed open after Done"
  focus "$reports_id"
  xdotool key alt+x
  window_gone "$REPORTS_TITLE" 10 || fail "the Reports window stayed open after Exit"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main preview "View showed the report's preview and Next Page moved it to page 2" "$@"
