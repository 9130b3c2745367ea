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

# Whether the program shows a widget of role $1 named $2 ("yes" or "no").
shows() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import sys, pyatspi
role, name = sys.argv[1], sys.argv[2]
def walk(a):
    yield a
    for i in range(a.childCount):
        c = a.getChildAtIndex(i)
        if c is not None:
            yield from walk(c)
found = False
for app in pyatspi.Registry.getDesktop(0):
    if app is None or (app.name or '').lower() != 'tessellon':
        continue
    for a in walk(app):
        try:
            if a.getRoleName() == role and a.name == name:
                found = True
        except Exception:
            pass
print('yes' if found else 'no')
PY
}

# Presses the button named $1 through the accessibility bus, without waiting for what it opens
# (a modal window keeps the call from returning).
press() {
  /usr/bin/python3 - "$1" >/dev/null 2>&1 <<'PY' &
import sys, pyatspi
def walk(a):
    yield a
    for i in range(a.childCount):
        c = a.getChildAtIndex(i)
        if c is not None:
            yield from walk(c)
for app in pyatspi.Registry.getDesktop(0):
    if app is None or (app.name or '').lower() != 'tessellon':
        continue
    for a in walk(app):
        try:
            if a.getRoleName() == 'push button' and a.name == sys.argv[1]:
                a.queryAction().doAction(0)
                sys.exit(0)
        except Exception:
            pass
PY
}

wait_shows() {
  local ticks=$(($1 * 5))
  until [ "$(shows "$2" "$3")" = yes ]; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "no $2 \"$3\" within $1 s"
    sleep 0.2
  done
  echo "$SECONDS s: $2 \"$3\" shows"
}

make_collection() {
  local cli=$1 program=$2 config=$3
  "$cli" create "$program/MASTER.DBF" >/dev/null
  /usr/bin/python3 - "$program/MASTER.DBF" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for country, year in [('France', 1900), ('Italy', 1950), ('Spain', 1925)]:
    t.append({'country': country, 'year': year})
t.close()
PY
  mkdir -p "$config/tessellon"
  printf '[Misc]\nShow Tips=No\nLast Database=%s\n' "$program/MASTER.DBF" \
    >"$config/tessellon/TESSELON.INI"
}

inside_x() {
  local binary=$1 reports_id designer_id layout_id part_id preview_id
  work=$2
  make_collection "$CLI" "$work/program" "$work/config"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  local bus_pid=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  start_program "$binary" "$work"
  trap 'kill "$app_pid" "${bus_pid:-}" 2>/dev/null || true' EXIT

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
  press "Specify Report Content"
  layout_id=$(wait_for_window "$LAYOUT_TITLE" 10) || fail "no \"$LAYOUT_TITLE\" window"
  focus "$layout_id"
  xdotool mousemove --window "$layout_id" 40 85 click 1
  part_id=$(wait_for_window "$PART_TITLE" 10) || fail "a click on line 1 opened no \"$PART_TITLE\""
  wait_shows 10 label "Line 1, Item 1"
  focus "$part_id"
  xdotool key Escape
  window_gone "$PART_TITLE" 10 || fail "the entry window did not close on Escape"
  focus "$layout_id"
  xdotool key Escape
  window_gone "$LAYOUT_TITLE" 10 || fail "the layout window did not close on Escape"

  focus "$designer_id"
  xdotool key alt+u
  window_gone "$DESIGNER_TITLE" 10 || fail "the designer stayed open after Alt+U"
  wait_shows 20 "list item" "$REPORT_NAME"

  focus "$reports_id"
  xdotool key alt+v
  # The status window reports the run and waits for its OK.
  wait_shows 20 "push button" "OK"
  focus "$(wait_for_window "Report Status Screen" 5)"
  xdotool key Return
  preview_id=$(wait_for_window "$REPORT_NAME" 20) || fail "no preview of \"$REPORT_NAME\"; windows seen:
$(window_names)"
  wait_shows 10 label "Page 1 of 1"
  focus "$preview_id"
  xdotool key Escape
  window_gone "$REPORT_NAME" 10 || fail "the preview did not close on Escape"
  focus "$reports_id"
  xdotool key Escape
  window_gone "$REPORTS_TITLE" 10 || fail "the Reports window did not close on Escape"
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

main() {
  [ $# -eq 2 ] || fail "usage: report_designer_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli"
  local binary
  binary=$(realpath "$1")
  CLI=$(realpath "$2")
  export CLI
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-designer.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  private_runtime_dir "$work"
  dbus-run-session -- "$0" --in-session "$binary" "$work"
  echo "PASS: a report made in the designer (its layout chosen by mouse) was listed and previewed without a restart"
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
