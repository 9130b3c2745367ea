#!/usr/bin/env bash
# The colour setup of the windowed program on a real X server (Xvfb, xcb platform).
#
#   color_setup_test.sh PATH/TO/tessellon
#
# First start on a new MASTER.DBF: the main window's background is silver (192, 192, 192). Options
# > Color > "ALL Windows Color" (Ctrl+F9) opens "Color Configuration"; the combination "Ocean
# Blue" is picked from the keyboard ("o" in the list of combinations, which has the focus) and
# Return presses Ok. The main window must then show cyan (0, 255, 255), read back from the X
# server's framebuffer (Xvfb -fbdir) at the bottom edge of its client area, and after File > Exit
# the collection's settings file must hold the colour for the main and configure groups.
set -euo pipefail

readonly MAIN_TITLE='Tessellon (MASTER)'
readonly TIP_TITLE='Tip of the Day'
readonly COLOR_TITLE='Color Configuration'
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/x_session.sh"

# The colour "R G B" of screen pixel ($2, $3) in the XWD framebuffer file $1.
pixel() {
  python3 - "$@" <<'PY'
import struct, sys
path, x, y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, 'rb').read()
h = struct.unpack('>25I', data[:100])
header_size, byte_order, bits_per_pixel, bytes_per_line = h[0], h[7], h[11], h[12]
masks, ncolors = h[14:17], h[19]
offset = header_size + 12 * ncolors + y * bytes_per_line + x * bits_per_pixel // 8
value = int.from_bytes(data[offset:offset + bits_per_pixel // 8],
                       'little' if byte_order == 0 else 'big')
def channel(mask):
    shift = (mask & -mask).bit_length() - 1
    return (value & mask) >> shift
print(*(channel(m) for m in masks))
PY
}

# The colour of the main window at the middle of its bottom edge (the window background).
main_background() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$main_id")"
  pixel "$work/fb/Xvfb_screen0" $((X + WIDTH / 2)) $((Y + HEIGHT - 2))
}

inside_x() {
  work=$2
  start_program "$1" "$2"
  focus "$main_id"
  sleep 0.5
  local before after color_id ticks=30
  before=$(main_background)
  [ "$before" = "192 192 192" ] || fail "the main window starts $before, not silver"
  echo "$SECONDS s: main window background $before"

  xdotool key ctrl+F9
  color_id=$(wait_for_window "$COLOR_TITLE" 10) || fail "no \"$COLOR_TITLE\" window; windows seen:
$(window_names)"
  focus "$color_id"
  xdotool key o
  sleep 0.3
  xdotool key Return
  window_gone "$COLOR_TITLE" 5 || fail "\"$COLOR_TITLE\" did not close on Return"
  while after=$(main_background) && [ "$after" != "0 255 255" ] && [ "$ticks" -gt 0 ]; do
    sleep 0.1
    ticks=$((ticks - 1))
  done
  [ "$after" = "0 255 255" ] || fail "after Ocean Blue the main window shows $after, not cyan"
  echo "$SECONDS s: main window background $after after Ocean Blue for all windows"

  exit_by_file_menu
}

main() {
  [ $# -eq 1 ] || fail "usage: color_setup_test.sh PATH/TO/tessellon"
  local binary
  binary=$(realpath "$1")
  [ -x "$binary" ] || fail "not an executable: $1"
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessellon-color.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/fb"
  run_in_xvfb "$0" "$binary" "$work" -s "-screen 0 1024x768x24 -fbdir $work/fb"

  local ini="$work/program/MASTER.INI" section
  for section in "Main Window Color" "Configure Window Color"; do
    sed -n "/^\[$section\]/,/^\[/p" "$ini" | grep -q "^Main Background=16776960" ||
      fail "[$section] of MASTER.INI does not hold cyan:
$(cat "$ini")"
  done
  echo "PASS: Ocean Blue for all windows turned the main window cyan and was stored"
}

if [ "${1:-}" = "--inside-x" ]; then
  shift
  inside_x "$@"
else
  main "$@"
fi
