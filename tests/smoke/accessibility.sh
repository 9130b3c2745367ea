# Helpers for the real-window tests that read the program through the accessibility bus, as an
# assistive client would; sourced after x_session.sh by the scripts beside it.
#
# A script defines `inside_x BINARY WORK` (the steps on the X server) and ends with
# `accessibility_main NAME "PASS message" "$@"`. Every attempt on an X server gets a D-Bus
# session of its own and its own runtime folder, so an accessibility bus of an earlier attempt,
# or of another test running at the same time, never answers for this one.

# Reads or drives the program's showing widgets (hidden ones and the cells of tables are not
# looked into):
#   atspi labels          the showing labels' texts, one a line
#   atspi has ROLE NAME   status 0 when a showing widget of that role and name exists
#   atspi press NAME      performs the action of the showing button NAME (status 1: none such);
#                         run it in the background when the button opens a modal window
atspi() {
  /usr/bin/python3 - "$@" <<'PY'
import sys, pyatspi
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
def named(role, name):
    for a in widgets():
        try:
            if a.getRoleName() == role and a.name == name:
                return a
        except Exception:
            pass
    return None
verb = sys.argv[1]
if verb == 'labels':
    for a in widgets():
        try:
            if a.getRoleName() == 'label' and a.name:
                print(a.name.replace('\n', ' ').strip())
        except Exception:
            pass
elif verb == 'has':
    sys.exit(0 if named(sys.argv[2], sys.argv[3]) else 1)
elif verb == 'press':
    button = named('push button', sys.argv[2])
    if button is None:
        sys.exit(1)
    button.queryAction().doAction(0)
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

# Waits up to $1 seconds for the record count to read $2.
wait_count() {
  local ticks=$(($1 * 5)) now
  while now=$(atspi labels | grep -E -m1 -x '[0-9]+' || echo '?') && [ "$now" != "$2" ]; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "expected the count $2, the window shows $now"
    sleep 0.2
  done
  echo "$SECONDS s: count $now"
}

# Waits up to $1 seconds for a showing widget of role $2 named $3.
wait_widget() {
  local ticks=$(($1 * 5))
  until atspi has "$2" "$3" 2>/dev/null; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || fail "no $2 \"$3\" within $1 s"
    sleep 0.2
  done
  echo "$SECONDS s: $2 \"$3\" shows"
}

# Searches the main window's collection for stamps whose Country holds $1, as a user does:
# Ctrl+S opens "Search", Down, Down moves to the Country row, $1 is typed and Alt+O presses
# "&Ok"; fails when the search window does not come or does not go.
search_country() {
  local search_id
  focus "$main_id"
  xdotool key ctrl+s
  search_id=$(wait_for_window 'Search' 10) || fail "no \"Search\" window; windows seen:
$(window_names)"
  focus "$search_id"
  sleep 0.3
  xdotool key Down Down
  xdotool type --delay 50 "$1"
  xdotool key alt+o
  window_gone 'Search' 10 || fail "the search window stayed open after Alt+O"
}

# Makes $2/MASTER.DBF with the companion $1 and fills it through python3-dbf with the records of
# the Python expression $4 (a list of dicts, field name to value); the settings in $3 start the
# program on it without the tip window.
make_master() {
  local cli=$1 program=$2 config=$3
  "$cli" create "$program/MASTER.DBF" >/dev/null
  /usr/bin/python3 - "$program/MASTER.DBF" "$4" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for record in eval(sys.argv[2]):
    t.append(record)
t.close()
PY
  mkdir -p "$config/tessellon"
  printf '[Misc]\nShow Tips=No\nLast Database=%s\n' "$program/MASTER.DBF" \
    >"$config/tessellon/TESSELON.INI"
}

# Starts the accessibility bus of this session (bus_pid, which display_unreachable and the exit
# trap end) and the program `$1` with its folders in `$2` (see start_program).
start_with_accessibility() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus_pid=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  start_program "$1" "$2"
  trap 'kill "$app_pid" "${bus_pid:-}" 2>/dev/null || true' EXIT
}

accessibility_main() {
  local name=$1 pass=$2
  shift 2
  case "${1:-}" in
    --inside-x)
      shift
      exec dbus-run-session -- "$0" --in-session "$@"
      ;;
    --in-session)
      shift
      inside_x "$@"
      return
      ;;
  esac
  [ $# -eq 2 ] || fail "usage: $name.sh PATH/TO/tessellon PATH/TO/tessellon-cli"
  local binary
  binary=$(realpath "$1")
  CLI=$(realpath "$2")
  export CLI
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-$name.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  private_runtime_dir "$work"
  run_in_xvfb "$0" "$binary" "$work" -s "-screen 0 1024x768x24"
  echo "PASS: $pass"
}
