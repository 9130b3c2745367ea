# Helpers for driving the windowed program on a real X server (Xvfb) with xdotool; sourced by
# the scripts beside it. Every wait is bounded; a failure says what was awaited and which windows
# were seen.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# xdotool matches --name as a regular expression against both the Latin-1 and the UTF-8 title;
# the window's full UTF-8 title (what a window manager shows) must equal the wanted one.
literal() { printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g'; }

window_names() { xdotool search --name '.' getwindowname %@ 2>/dev/null | sort -u || true; }

# Prints the id of a mapped window titled exactly $1 (Qt names a window before mapping it, and an
# unmapped window cannot take the focus).
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name "^$(literal "$1")" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Prints the id of a window titled exactly $1, waiting up to $2 seconds; stops early when the
# program has ended.
wait_for_window() {
  local ticks=$(($2 * 10))
  while [ "$ticks" -gt 0 ]; do
    find_window "$1" && return 0
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
    ticks=$((ticks - 1))
  done
  return 1
}

window_gone() {
  local ticks=$(($2 * 10))
  while [ "$ticks" -gt 0 ]; do
    find_window "$1" >/dev/null || return 0
    sleep 0.1
    ticks=$((ticks - 1))
  done
  return 1
}

# The accessibility bus puts its socket in XDG_RUNTIME_DIR: sessions running at the same time
# must each have their own, or a second one takes over the first one's bus.
private_runtime_dir() {
  export XDG_RUNTIME_DIR="$1/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

focus() { timeout 5 xdotool windowfocus --sync "$1" || fail "window $1 did not take the focus"; }

# Waits up to $1 seconds for the program to end; sets app_status.
wait_for_exit() {
  local ticks=$(($1 * 10))
  while kill -0 "$app_pid" 2>/dev/null; do
    [ "$ticks" -gt 0 ] || return 1
    sleep 0.1
    ticks=$((ticks - 1))
  done
  app_status=0
  wait "$app_pid" || app_status=$?
  return 0
}

# Runs on the X server that xvfb-run started: starts `$1` (the program) with its program and
# settings folders in `$2` and the further arguments given after them (a collection to open),
# waits for the main window and closes the tip window if it comes up.
# Sets app_pid and main_id. Exits with 3 when the X server cannot be reached.
# An accessibility bus the caller started (bus_pid) goes with a display given up: a bus left
# behind would still own its name in the D-Bus session, and the next attempt's program and
# readers would talk to a bus whose display is gone.
display_unreachable() {
  [ -z "${bus_pid:-}" ] || kill "$bus_pid" 2>/dev/null || true
  exit 3
}

start_program() {
  local binary=$1 work=$2 tip_id ticks=50
  until xdotool getdisplaygeometry >/dev/null 2>&1; do
    ticks=$((ticks - 1))
    [ "$ticks" -gt 0 ] || display_unreachable
    sleep 0.1
  done
  export TESSELLON_PROGRAM_DIR="$work/program" XDG_CONFIG_HOME="$work/config"
  unset QT_QPA_PLATFORM
  "$binary" "${@:3}" >"$work/program.log" 2>&1 &
  app_pid=$!
  # The program is ended here if anything below fails before it exits.
  trap 'kill "$app_pid" 2>/dev/null || true' EXIT

  if ! main_id=$(wait_for_window "$MAIN_TITLE" 20); then
    # Another xvfb-run -a that took the same display at the same moment holds it.
    grep -q "could not connect to display" "$work/program.log" && display_unreachable
    fail "no window titled \"$MAIN_TITLE\" within 20 s; windows seen:
$(window_names)
program output:
$(cat "$work/program.log")"
  fi
  echo "$SECONDS s: main window \"$MAIN_TITLE\" is up"

  # Without a window manager nothing activates the window; focusing it does, and the tip window
  # follows the first activation and takes the focus at once (so no waiting for it here).
  xdotool windowfocus "$main_id"
  if tip_id=$(wait_for_window "$TIP_TITLE" 5); then
    focus "$tip_id"
    xdotool key Escape
    window_gone "$TIP_TITLE" 5 || fail "the tip window did not close on Escape"
    echo "$SECONDS s: tip window closed with Escape"
  else
    echo "no tip window within 5 s"
  fi
}

# Chooses File > Exit from the keyboard (Alt+F, then the "x" of "E&xit") and waits for the
# program to end by itself with status 0.
exit_by_file_menu() {
  focus "$main_id"
  xdotool key alt+f
  sleep 0.5
  xdotool key x
  wait_for_exit 10 || fail "the program did not end within 10 s of File > Exit"
  trap - EXIT
  [ "$app_status" -eq 0 ] || fail "the program ended with status $app_status"
}

# Runs `$1 --inside-x BINARY WORK` on an X server of its own, with the further xvfb-run arguments
# given after BINARY and WORK; fresh program and settings folders in WORK for each attempt.
run_in_xvfb() {
  local script=$1 binary=$2 work=$3
  shift 3
  # Two xvfb-run -a started together can pick the same display, and a display's previous server
  # can still be going away: the X server then cannot be reached, and the run is repeated after
  # a random pause. Each attempt looks for a free display from a random number of its own on
  # (xvfb-run -a alone always starts at 99, where every test run at the same time starts too).
  local attempt status
  for attempt in 1 2 3 4 5; do
    status=0
    rm -rf "$work/program" "$work/config"
    mkdir -p "$work/program" "$work/config"
    xvfb-run -a -n "$((100 + RANDOM % 800))" "$@" "$script" --inside-x "$binary" "$work" ||
      status=$?
    [ "$status" -eq 3 ] || break
    echo "X server could not be reached (attempt $attempt)" >&2
    sleep "0.$((RANDOM % 9 + 1))"
  done
  [ "$status" -eq 0 ] || exit "$status"
}
