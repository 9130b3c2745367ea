#!/usr/bin/env bash
# A picture added in the record editor shows in the main window's picture pane, on a real X server
# (Xvfb, xcb platform), read back through the accessibility bus as an assistive client would.
#
#   picture_test.sh PATH/TO/tessellon PATH/TO/tessellon-cli
#
# A MASTER.DBF of one stamp is made with the companion and python3-dbf, and a PNG picture beside
# it. In the program, View > Picture Pane (Alt+V, P) shows the pane: "No pictures of this stamp".
# Ctrl+E opens the editor on the stamp; its "Add..." button opens "Add Pictures", where the
# picture's path is typed and Enter chosen; Ctrl+U (Update & Exit) closes the editor. The pane
# must then read "1 picture of this stamp", as its caption and as its accessible description.
# View > Thumbnail Column (Alt+V, T) then puts a first column "Picture" in the grid: its cell of
# the stamp must read "Picture" (the thumbnail is there) and the Country column still "Spain".
#
# Runs in a D-Bus session of its own with the accessibility bus started in it. Exit status 0 on
# success, 1 on failure.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly EDITOR_TITLE='Input Stamps'
readonly DIALOG_TITLE='Add Pictures'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/accessibility.sh"

# The accessible description of the program's showing widget named "Pictures" (the pane).
pane_description() {
  /usr/bin/python3 - <<'PY'
import pyatspi
def walk(a):
    try:
        if a.getRoleName() != 'application' and not a.getState().contains(pyatspi.STATE_SHOWING):
            return
        yield a
        for i in range(a.childCount):
            c = a.getChildAtIndex(i)
            if c is not None:
                yield from walk(c)
    except Exception:
        return
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and (app.name or '').lower() == 'tessellon':
        for a in walk(app):
            try:
                if a.name == 'Pictures' and a.description:
                    print(a.description)
                    raise SystemExit(0)
            except SystemExit:
                raise
            except Exception:
                pass
PY
}

# The first showing table's titles and the cells of its first row, one "TITLE=TEXT" a line.
grid_first_row() {
  /usr/bin/python3 - <<'PY'
import pyatspi
def tables(a):
    try:
        if a.getRoleName() != 'application' and not a.getState().contains(pyatspi.STATE_SHOWING):
            return
        if a.getRoleName() == 'table':
            yield a
            return
        for i in range(a.childCount):
            c = a.getChildAtIndex(i)
            if c is not None:
                yield from tables(c)
    except Exception:
        return
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and (app.name or '').lower() == 'tessellon':
        for t in tables(app):
            grid = t.queryTable()
            for c in range(grid.nColumns):
                header = grid.getColumnHeader(c)
                title = header.name if header is not None else grid.getColumnDescription(c)
                cell = grid.getAccessibleAt(0, c)
                print('%s=%s' % (title, cell.name if cell is not None else ''))
            raise SystemExit(0)
PY
}

inside_x() {
  local binary=$1 editor_id dialog_id ticks row
  work=$2
  make_master "$CLI" "$work/program" "$work/config" "[{'country': 'Spain', 'year': 1900}]"
  /usr/bin/python3 - "$work/front.png" <<'PY'
import sys, zlib, struct
w, h = 40, 30
raw = b''.join(b'\x00' + bytes([200, 30, 30]) * w for _ in range(h))
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) \
    + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b'')
open(sys.argv[1], 'wb').write(png)
PY
  start_with_accessibility "$binary" "$work"

  focus "$main_id"
  xdotool key alt+v
  sleep 0.5
  xdotool key p
  wait_label 15 "No pictures of this stamp"

  focus "$main_id"
  xdotool key ctrl+e
  editor_id=$(wait_for_window "$EDITOR_TITLE" 10) || fail "no \"$EDITOR_TITLE\" window; windows seen:
$(window_names)"
  wait_widget 10 "push button" "Add..."
  atspi press "Add..." &
  dialog_id=$(wait_for_window "$DIALOG_TITLE" 10) || fail "no \"$DIALOG_TITLE\" dialog; windows seen:
$(window_names)"
  focus "$dialog_id"
  sleep 0.5
  xdotool type --delay 20 "$work/front.png"
  xdotool key Return
  window_gone "$DIALOG_TITLE" 10 || fail "the file dialog stayed open"
  sleep 1  # the strip reloads after the dialog closes
  focus "$editor_id"
  xdotool key ctrl+u
  window_gone "$EDITOR_TITLE" 10 || fail "the editor stayed open after Ctrl+U"
  wait_label 15 "1 picture of this stamp"

  ticks=50
  until [ "$(pane_description)" = "1 picture of this stamp" ]; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "the pane's description reads \"$(pane_description)\""
    sleep 0.2
  done
  echo "$SECONDS s: the pane's description reads \"1 picture of this stamp\""

  focus "$main_id"
  xdotool key alt+v
  sleep 0.5
  xdotool key t
  ticks=50
  row=$(grid_first_row)
  until grep -q -x 'Picture=Picture' <<<"$row"; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "the grid's first row reads:
$row"
    sleep 0.2
    row=$(grid_first_row)
  done
  grep -q -x 'Country=Spain' <<<"$row" || fail "the Country column moved; first row:
$row"
  echo "$SECONDS s: the grid's thumbnail column reads \"Picture\", Country still \"Spain\""
  exit_by_file_menu
  kill "$bus_pid" 2>/dev/null || true
}

accessibility_main picture "a picture added in the editor showed in the main window's picture pane" "$@"
