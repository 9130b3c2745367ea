#!/usr/bin/env bash
# The Debian package, installed into a temporary root as a user would get it.
#
#   package_test.sh BUILD_DIR
#
# Builds the .deb with cpack, checks that dpkg-shlibdeps named the Qt libraries among its
# dependencies and that the description reads as written, unpacks it with `dpkg -x`, checks that
# the programs are stripped and the copyright file is there, and from the unpacked tree:
#  - `tessellon-cli --version`, `tessellon --help` and `--version` answer with no display;
#  - the desktop entry and the AppStream metainfo pass desktop-file-validate and appstreamcli;
#  - when xvfb-run and xdotool are present: the installed program, started with a fresh HOME,
#    makes its program directory ~/.local/share/tessellon (seeded with the help document),
#    creates MASTER.DBF there and shows "Tessellon (MASTER)"; started with a path to another
#    collection it opens that one ("Tessellon (MYSTAMPS)").
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  fail "cpack did not build the package"
}
deb=$(ls "$work"/pkg/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in *libqt6widgets6*) ;; *) fail "Qt Widgets missing from the dependencies" ;; esac
dpkg -x "$deb" "$work/root"
bin="$work/root/usr/bin"
share="$work/root/usr/share"

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$bin/tessellon-cli" --version | grep -q '^tessellon-cli [0-9]' || fail "tessellon-cli --version"
"$bin/tessellon" --help | grep -q 'Usage: tessellon' || fail "tessellon --help"
"$bin/tessellon" --version | grep -q '^tessellon [0-9]' || fail "tessellon --version"
# A collection named in bytes that are not UTF-8 is refused, never opened under another name.
if "$bin/tessellon" "$work/x"$'\xff'".DBF" 2>/dev/null; then fail "a name that is not UTF-8 was accepted"; fi
test ! -e "$work/x"$'\xef\xbf\xbd'".DBF" || fail "a name that is not UTF-8 reached another file"
"$bin/tessellon-cli" --help | grep -q 'usage: tessellon-cli' || fail "tessellon-cli --help"
test -f "$share/man/man1/tessellon.1" || fail "man page missing"
test -s "$share/doc/tessellon/copyright" || fail "/usr/share/doc/tessellon/copyright missing"
# The programs are stripped: no symbol table, no debugging sections.
report_program="$work/root/usr/libexec/tessellon/tessellon-cli-report"
test -x "$report_program" || fail "tessellon-cli-report missing from usr/libexec/tessellon"
for program in "$bin/tessellon" "$bin/tessellon-cli" "$report_program"; do
  if readelf -S "$program" | grep -Eq '\.(symtab|debug_info)\b'; then
    fail "$(basename "$program") is not stripped"
  fi
done
# The extended description: every line a continuation line, none starting with ";".
description=$(dpkg-deb -f "$deb" Description)
echo "$description" | sed -n '2,$p' | grep -q '^;' && fail "a description line starts with ;"
echo "$description" | sed -n '2p' | grep -q 'stamp collection' || fail "description: $description"

# The installed companion hands a report to the report program in libexec.
mkdir -p "$work/cli" "$work/clihome"
HOME="$work/clihome" XDG_CONFIG_HOME="$work/clihome/.config" XDG_DATA_HOME="$work/clihome/data" \
  "$bin/tessellon-cli" create "$work/cli/R.DBF" >/dev/null || fail "tessellon-cli create"
HOME="$work/clihome" XDG_CONFIG_HOME="$work/clihome/.config" XDG_DATA_HOME="$work/clihome/data" \
  "$bin/tessellon-cli" report "$work/cli/R.DBF" 1 --text "$work/cli/r.txt" \
  >/dev/null || fail "tessellon-cli report through the installed report program"
test -f "$work/cli/r.txt" || fail "the report wrote no text file"

desktop-file-validate "$share/applications/tessellon.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "metainfo"

if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run or xdotool missing: the installed program was not started"
  exit 0
fi

export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME TESSELLON_PROGRAM_DIR

# Starts the installed program under Xvfb with the given arguments and waits up to 120 seconds
# (a loaded machine starts it slowly) for a window titled exactly $1.
run_until_window() {
  local title=$1
  shift
  cat >"$work/session.sh" <<SCRIPT
#!/usr/bin/env bash
"$bin/tessellon" "\$@" &
pid=\$!
for i in \$(seq 1200); do
  for id in \$(xdotool search --name . 2>/dev/null); do
    if [ "\$(xdotool getwindowname "\$id" 2>/dev/null)" = "$title" ]; then
      kill \$pid; wait \$pid 2>/dev/null; exit 0
    fi
  done
  kill -0 \$pid 2>/dev/null || exit 3
  sleep 0.1
done
xdotool search --name . getwindowname %@ 2>/dev/null | sort -u >&2
kill \$pid; exit 4
SCRIPT
  chmod +x "$work/session.sh"
  # The program ends at once (status 3) when another xvfb-run -a took the same display at the
  # same moment; such a start is tried again after a random pause.
  local attempt status
  for attempt in 1 2 3; do
    status=0
    xvfb-run -a -n "$((100 + RANDOM % 800))" "$work/session.sh" "$@" || status=$?
    [ "$status" -eq 3 ] || break
    echo "the program ended before its window showed (attempt $attempt)" >&2
    sleep "0.$((RANDOM % 9 + 1))"
  done
  return "$status"
}

run_until_window "Tessellon (MASTER)" || fail "the installed program did not show its window"
data="$HOME/.local/share/tessellon"
test -f "$data/MASTER.DBF" || fail "MASTER.DBF not made in $data"
test -f "$data/TESSELON.HLP" || fail "the help document was not seeded into $data"
for list in COUNTRY CONDTION STMPTYPE CANCEL GUM COLOR HINGED FAULTS MISC; do
  test -s "$data/$list.LST" || fail "the default list $list.LST was not seeded into $data"
done
test ! -e "$bin/MASTER.DBF" || fail "MASTER.DBF written beside the installed executable"

mkdir -p "$work/stamps"
"$bin/tessellon-cli" create "$work/stamps/MYSTAMPS.DBF" >/dev/null
run_until_window "Tessellon (MYSTAMPS)" "$work/stamps/MYSTAMPS.DBF" ||
  fail "the collection named on the command line was not opened"
echo "PASS"
