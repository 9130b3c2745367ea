#!/usr/bin/env bash
# Restore of a collection kept outside the program directory, in the real windows (Xvfb, xcb
# platform), read back through the accessibility bus.
#
#   restore_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# ~/Mine.DBF holds three stamps and its own settings (the Country field named "Land"); the
# companion backs it up into a media folder. In the program (started on ~/Mine.DBF) Ctrl+D
# deletes a stamp (2 left), Ctrl+Y opens "Restore", Alt+S asks for the backup, whose path is
# typed into the file dialog; the notice must name ~/Mine.DBF and the count must read 3 again.
# After File > Exit: nothing was restored into the program directory, ~/Mine.INI still names the
# field "Land", and the program started again on ~/Mine.DBF by name shows 3 stamps.
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (Mine)'
readonly TIP_TITLE='Tip of the Day'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

# Focuses the window titled $1 (waiting up to $2 seconds) and types the keys after it.
keys_in() {
  local id
  id=$(wait_for_window "$1" "$2") || fail "no \"$1\" window; windows seen:
$(window_names)"
  focus "$id"
  sleep 0.3
  shift 2
  xdotool "$@"
}

inside_x() {
  local binary=$1 home notice
  work=$2
  home="$work/home"
  mkdir -p "$home" "$work/media"
  make_master "$CLI" "$work/program" "$work/config" "[]"
  "$CLI" create "$home/Mine.DBF" >/dev/null
  /usr/bin/python3 - "$home/Mine.DBF" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for country in ("France", "Italy", "Spain"):
    t.append({"country": country})
t.close()
PY
  printf '[Field Names]\r\nCountry=Land\r\n' >"$home/Mine.INI"
  "$CLI" backup "$home/Mine.DBF" "$work/media" >/dev/null
  printf '[Misc]\nShow Tips=No\nLast Database=%s\n' "$home/Mine.DBF" \
    >"$work/config/tessellon/TESSELON.INI"

  start_with_accessibility "$binary" "$work"
  wait_count 15 3
  keys_in "$MAIN_TITLE" 5 key ctrl+d
  keys_in "Confirm" 10 key alt+y
  wait_count 10 2

  keys_in "$MAIN_TITLE" 5 key ctrl+y
  keys_in "Restore" 10 key alt+s
  keys_in "Restore Database File" 10 type --delay 20 "$work/media/Mine.DBF"
  xdotool key Return
  notice=$(wait_label 20 'Restore completed successfully\..*')
  case "$notice" in
    *"$home/Mine.DBF"*) echo "$SECONDS s: $notice" ;;
    *) fail "the notice does not name $home/Mine.DBF: $notice" ;;
  esac
  keys_in "Notice" 5 key Return
  keys_in "Restore" 5 key Escape
  window_gone "Restore" 10 || fail "the Restore window did not close on Escape"
  wait_count 10 3
  exit_by_file_menu

  [ ! -e "$work/program/Mine.DBF" ] || fail "the table was restored into the program directory"
  grep -q '^Country=Land' "$home/Mine.INI" || fail "Mine.INI lost its own settings:
$(cat "$home/Mine.INI")"
  start_program "$binary" "$work" "$home/Mine.DBF"
  wait_count 15 3
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main restore "the table restored over ~/Mine.DBF brought the deleted stamp back, its settings kept" "$@"
