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

# Reads or drives the program's widgets: "labels" prints the showing labels' texts, one a line;
# "press NAME" performs the action of the showing button named NAME (status 1: none such).
atspi() {
  /usr/bin/python3 - "$@" <<'PY'
import sys, pyatspi
# The showing widgets, not looking into hidden ones nor into the cells of tables.
def showing(a):
    try:
        if a.getRoleName() != 'application':
            if not a.getState().contains(pyatspi.STATE_SHOWING):
                return
            yield a
            if a.getRoleName() == 'table':
                return
        for i in range(a.childCount):
            c = a.getChildAtIndex(i)
            if c is not None:
                yield from showing(c)
    except Exception:
        return
def widgets():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and (app.name or '').lower() == 'tessellon':
            yield from showing(app)
if sys.argv[1] == 'labels':
    for a in widgets():
        try:
            if a.getRoleName() == 'label' and a.name:
                print(a.name.replace('\n', ' ').strip())
        except Exception:
            pass
elif sys.argv[1] == 'press':
    for a in widgets():
        try:
            if a.getRoleName() == 'push button' and a.name == sys.argv[2]:
                a.queryAction().doAction(0)
                sys.exit(0)
        except Exception:
            pass
    sys.exit(1)
PY
}

# Waits up to $1 seconds for a showing label matching the extended regular expression $2 and
# prints it.
wait_label() {
  local ticks=$(($1 * 5)) found
  while ! found=$(atspi labels | grep -E -m1 -x "$2"); do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "no label matching \"$2\"; labels showing:
$(atspi labels)"
    sleep 0.2
  done
  echo "$found"
}

make_collection() {
  local cli=$1 program=$2 config=$3
  "$cli" create "$program/MASTER.DBF" >/dev/null
  /usr/bin/python3 - "$program/MASTER.DBF" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for i in range(150):
    t.append({'catalog': 'C%03d' % i, 'country': ('Austria', 'Belgium', 'Chile')[i % 3],
              'year': 1900 + i % 100, 'descriptio': 'Stamp number %d' % i, 'quantity': 1})
t.close()
PY
  mkdir -p "$config/tessellon"
  printf '[Misc]\nShow Tips=No\nLast Database=%s\n' "$program/MASTER.DBF" \
    >"$config/tessellon/TESSELON.INI"
}

inside_x() {
  local binary=$1 reports_id status_id preview_id first second pages
  work=$2
  make_collection "$CLI" "$work/program" "$work/config"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  local bus_pid=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  start_program "$binary" "$work"
  trap 'kill "$app_pid" "${bus_pid:-}" 2>/dev/null || true' EXIT
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

main() {
  [ $# -eq 2 ] || fail "usage: preview_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli"
  local binary
  binary=$(realpath "$1")
  CLI=$(realpath "$2")
  export CLI
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-preview.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  private_runtime_dir "$work"
  run_in_xvfb "$0" "$binary" "$work" -s "-screen 0 1024x768x24"
  echo "PASS: View showed the report's preview and Next Page moved it to page 2"
}

# Each attempt on an X server gets a D-Bus session of its own, so an accessibility bus left by
# an attempt whose X server could not be reached never answers for the next one.
case "${1:-}" in
  --inside-x)
    shift
    exec dbus-run-session -- "$0" --in-session "$@"
    ;;
  --in-session)
    shift
    inside_x "$@"
    ;;
  *) main "$@" ;;
esac
