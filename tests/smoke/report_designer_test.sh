#!/usr/bin/env bash
# The report designer in the windowed program on a real X server (Xvfb), read back through the
# accessibility bus as an assistive client would.
#
#   report_designer_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# On a collection of three stamps, Ctrl+R opens "Reports" and Alt+N "New Report": the "Report
# Definition" window comes up with the new report's name box focused. "Designed Report" is typed;
# "Specify Report Content" opens the layout, where a mouse click on the first body line opens
# "Select Report Part" on "Line 1, Item 1" (both closed with Escape); Alt+U saves the report. The designer must close and the Reports list must now hold "Designed
# Report"; Alt+V then runs the new report at once (Return closes the status window at its end),
# and the preview's page label must read "Page 1 of 1".
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly REPORTS_TITLE='Reports'
readonly DESIGNER_TITLE='Report Definition'
readonly LAYOUT_TITLE='Specify Report Layout'
readonly PART_TITLE='Select Report Part'
readonly REPORT_NAME='Designed Report'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

inside_x() {
  local binary=$1 reports_id designer_id layout_id part_id preview_id
  work=$2
  make_master "$CLI" "$work/program" "$work/config" \
    "[{'country': c, 'year': y} for c, y in [('France', 1900), ('Italy', 1950), ('Spain', 1925)]]"
  # The click positions below are at the 640 x 480 screen size (windows unscaled).
  printf 'Window Size=640\n' >>"$work/config/tessellon/TESSELON.INI"
  start_with_accessibility "$binary" "$work"

  focus "$main_id"
  xdotool key ctrl+r
  reports_id=$(wait_for_window "$REPORTS_TITLE" 10) || fail "no \"$REPORTS_TITLE\" window; windows seen:
$(window_names)"
  focus "$reports_id"
  sleep 0.3
  xdotool key alt+n
  designer_id=$(wait_for_window "$DESIGNER_TITLE" 10) || fail "no \"$DESIGNER_TITLE\" window; windows seen:
$(window_names)"
  focus "$designer_id"
  sleep 0.3
  xdotool type --delay 40 "$REPORT_NAME"

  # The layout window: a click on the first body line's box opens the entry window on it.
  atspi press "Specify Report Content" >/dev/null 2>&1 &
  layout_id=$(wait_for_window "$LAYOUT_TITLE" 10) || fail "no \"$LAYOUT_TITLE\" window"
  focus "$layout_id"
  xdotool mousemove --window "$layout_id" 40 85 click 1
  part_id=$(wait_for_window "$PART_TITLE" 10) || fail "a click on line 1 opened no \"$PART_TITLE\""
  wait_widget 10 label "Line 1, Item 1"
  focus "$part_id"
  xdotool key Escape
  window_gone "$PART_TITLE" 10 || fail "the entry window did not close on Escape"
  focus "$layout_id"
  xdotool key Escape
  window_gone "$LAYOUT_TITLE" 10 || fail "the layout window did not close on Escape"

  focus "$designer_id"
  xdotool key alt+u
  window_gone "$DESIGNER_TITLE" 10 || fail "the designer stayed open after Alt+U"
  wait_widget 20 "list item" "$REPORT_NAME"

  focus "$reports_id"
  xdotool key alt+v
  # The status window reports the run and waits for its OK.
  wait_widget 20 "push button" "OK"
  focus "$(wait_for_window "Report Status Screen" 5)"
  xdotool key Return
  preview_id=$(wait_for_window "$REPORT_NAME" 20) || fail "no preview of \"$REPORT_NAME\"; windows seen:
$(window_names)"
  wait_widget 10 label "Page 1 of 1"
  focus "$preview_id"
  xdotool key Escape
  window_gone "$REPORT_NAME" 10 || fail "the preview did not close on Escape"
  focus "$reports_id"
  xdotool key Escape
  window_gone "$REPORTS_TITLE" 10 || fail "the Reports window did not close on Escape"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main report_designer "a report made in the designer (its layout chosen by mouse) was listed and previewed without a restart" "$@"
