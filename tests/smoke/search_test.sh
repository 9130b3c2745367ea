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
readonly SEARCH_TITLE='Search'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"

# "COUNT SHOWN|HIDDEN": the record count and whether "SEARCH ON" is showing.
read_labels() {
  /usr/bin/python3 - <<'PY'
import pyatspi
def walk(a):
    yield a
    for i in range(a.childCount):
        c = a.getChildAtIndex(i)
        if c is not None:
            yield from walk(c)
count, search_on = '?', 'HIDDEN'
for app in pyatspi.Registry.getDesktop(0):
    if app is None or (app.name or '').lower() != 'tessellon':
        continue
    for a in walk(app):
        try:
            if a.getRoleName() != 'label':
                continue
            showing = a.getState().contains(pyatspi.STATE_SHOWING)
            if a.name == 'SEARCH ON' and showing:
                search_on = 'SHOWN'
            elif a.name.isdigit() and showing:
                count = a.name
        except Exception:
            pass
print(count, search_on)
PY
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

make_collection() {
  local cli=$1 program=$2 config=$3
  "$cli" create "$program/MASTER.DBF" >/dev/null
  /usr/bin/python3 - "$program/MASTER.DBF" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for country, year in [('France', 1900), ('Africa', 1901), ('FRANCE', 1949), ('Italy', 1950),
                      ('Spain', 1925), ('Freetown', 1960)]:
    t.append({'country': country, 'year': year})
t.close()
PY
  mkdir -p "$config/tessellon"
  printf '[Misc]\nShow Tips=No\nLast Database=%s\n' "$program/MASTER.DBF" \
    >"$config/tessellon/TESSELON.INI"
}

inside_x() {
  local binary=$1 search_id
  work=$2
  make_collection "$CLI" "$work/program" "$work/config"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  local bus_pid=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  start_program "$binary" "$work"
  trap 'kill "$app_pid" "${bus_pid:-}" 2>/dev/null || true' EXIT
  wait_labels 15 "6 HIDDEN"

  focus "$main_id"
  xdotool key ctrl+s
  search_id=$(wait_for_window "$SEARCH_TITLE" 10) || fail "no \"$SEARCH_TITLE\" window; windows seen:
$(window_names)"
  focus "$search_id"
  sleep 0.3
  xdotool key Down Down
  xdotool type --delay 50 fra
  xdotool key alt+o
  window_gone "$SEARCH_TITLE" 10 || fail "the search window stayed open after Alt+O"
  wait_labels 10 "2 SHOWN"

  focus "$main_id"
  xdotool key ctrl+i
  wait_labels 10 "6 HIDDEN"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

main() {
  [ $# -eq 2 ] || fail "usage: search_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli"
  local binary
  binary=$(realpath "$1")
  CLI=$(realpath "$2")
  export CLI
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-search.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  private_runtime_dir "$work"
  dbus-run-session -- "$0" --in-session "$binary" "$work"
  echo "PASS: the search typed in the search window narrowed the viewer and End Search restored it"
}

case "${1:-}" in
  --inside-x)
    shift
    inside_x "$@"
    ;;
  --in-session)
    shift
    run_in_xvfb "$0" "$1" "$2" -s "-screen 0 1024x768x24"
    ;;
  *) main "$@" ;;
esac
