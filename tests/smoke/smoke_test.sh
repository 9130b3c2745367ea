#!/usr/bin/env bash
# Smoke test of the windowed program on a real X server (Xvfb, xcb platform).
#
#   smoke_test.sh PATH/TO/tessellon
#
# First start with no settings file: the program must create MASTER.DBF in its program
# directory and show the main window titled "Tessellon (MASTER)". The tip window, when it comes
# up, is closed with Escape; then File > Exit is chosen from the keyboard (Alt+F, then the "x" of
# "E&xit"). The program must end by itself with status 0, having written TESSELON.INI (naming
# MASTER.DBF as the last collection) in $XDG_CONFIG_HOME/tessellon/.
#
# Program and settings folders are fresh temporary folders, removed at the end. Every wait is
# bounded; on failure the script says what it was waiting for and which windows it saw.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"

# Runs on the X server that xvfb-run started. Exits with 3 when that server cannot be reached.
inside_x() {
  start_program "$1" "$2"

  exit_by_file_menu
  echo "$SECONDS s: File > Exit ended the program"
}

main() {
  [ $# -eq 1 ] || fail "usage: smoke_test.sh PATH/TO/tessellon"
  local binary
  binary=$(realpath "$1")
  [ -x "$binary" ] || fail "not an executable: $1"
  for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done

  # Global: the EXIT trap reads it after main() has returned.
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-smoke.XXXXXX")
  trap 'rm -rf "$work"' EXIT

  run_in_xvfb "$0" "$binary" "$work"

  [ -f "$work/program/MASTER.DBF" ] || fail "MASTER.DBF was not created in the program directory"
  local ini="$work/config/tessellon/TESSELON.INI"
  [ -f "$ini" ] || fail "TESSELON.INI was not written to \$XDG_CONFIG_HOME/tessellon/"
  grep -qi "^Last Database=.*/MASTER\.DBF" "$ini" ||
    fail "TESSELON.INI does not name MASTER.DBF as the last collection:
$(cat "$ini")"
  echo "PASS: started on a new MASTER.DBF, left by File > Exit, settings written"
}

if [ "${1:-}" = "--inside-x" ]; then
  shift
  inside_x "$@"
else
  main "$@"
fi
