#!/usr/bin/env bash
# Everyday desktop keys and recalling a deleted stamp in the windowed program on a real X server
# (Xvfb, xcb platform), read back through the accessibility bus.
#
#   conventions_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# A MASTER.DBF of three stamps is made with the companion and python3-dbf. In the program: Ctrl+E
# opens the record editor, where F1 must open the help window and Escape close the editor; Ctrl+Q
# opens "Sort Order", which Escape must close; Ctrl+D and Enter delete a stamp (the count goes
# from 3 to 2); Edit > Recall Deleted Stamps (Alt+E, R) lists it and Alt+R recalls it, so the
# count is 3 again.
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly EDITOR_TITLE='Input Stamps'
readonly HELP_TITLE='Tessellon Help'
readonly SORT_TITLE='Sort Order'
readonly CONFIRM_TITLE='Confirm'
readonly RECALL_TITLE='Recall Deleted Stamps'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

# Opens the window titled $2 with the keys $1 from the main window and prints its id.
open_from_main() {
  local id
  focus "$main_id"
  xdotool key "$1"
  id=$(wait_for_window "$2" 10) || fail "no \"$2\" window after $1; windows seen:
$(window_names)"
  focus "$id"
  sleep 0.3
  echo "$id"
}

inside_x() {
  local binary=$1 editor_id help_id sort_id confirm_id recall_id
  work=$2
  make_master "$CLI" "$work/program" "$work/config" \
    "[{'catalog': c, 'country': k} for c, k in [('AU-0001', 'Australia'), ('AU-0002', 'Austria'),
      ('AU-0003', 'Belgium')]]"
  start_with_accessibility "$binary" "$work"
  wait_count 15 3

  editor_id=$(open_from_main ctrl+e "$EDITOR_TITLE")
  xdotool key F1
  help_id=$(wait_for_window "$HELP_TITLE" 10) || fail "F1 in the record editor opened no help"
  echo "$SECONDS s: F1 opened \"$HELP_TITLE\""
  focus "$help_id"
  xdotool key Escape
  window_gone "$HELP_TITLE" 5 || fail "the help window stayed open after Escape"
  focus "$editor_id"
  xdotool key Escape
  window_gone "$EDITOR_TITLE" 5 || fail "Escape did not close the unchanged record editor"
  echo "$SECONDS s: Escape closed the record editor"

  sort_id=$(open_from_main ctrl+q "$SORT_TITLE")
  xdotool key Escape
  window_gone "$SORT_TITLE" 5 || fail "Escape did not close \"$SORT_TITLE\""
  echo "$SECONDS s: Escape closed \"$SORT_TITLE\""

  confirm_id=$(open_from_main ctrl+d "$CONFIRM_TITLE")
  xdotool key Return
  window_gone "$CONFIRM_TITLE" 5 || fail "the delete question stayed open"
  wait_count 10 2

  focus "$main_id"
  xdotool key alt+e
  sleep 0.5
  xdotool key r
  recall_id=$(wait_for_window "$RECALL_TITLE" 10) || fail "no \"$RECALL_TITLE\" window; windows:
$(window_names)"
  focus "$recall_id"
  sleep 0.3
  wait_label 5 'Deleted stamps not yet packed: 1'
  xdotool key alt+r
  wait_label 5 'No deleted stamps are waiting to be packed.'
  xdotool key Escape
  window_gone "$RECALL_TITLE" 5 || fail "Escape did not close \"$RECALL_TITLE\""
  wait_count 10 3
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main conventions "F1 opened help, Escape closed the windows and a deleted stamp came back" "$@"
