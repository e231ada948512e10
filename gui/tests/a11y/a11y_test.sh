#!/usr/bin/env bash
# The game as a screen reader meets it: starts its own X server (Xvfb) and its
# own session bus with the accessibility bus on it, and runs a11y_play.py,
# which starts the program with the clock stopped (so that the deal is known),
# reads its accessibility tree and plays a whole game by keys alone.
#
#   a11y_test.sh PROGRAM
#
# Exit code 77: Xvfb, xdotool, dbus-run-session, the accessibility bus,
# faketime or Python's pyatspi is not there.
set -u

program=${1:?usage: a11y_test.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb xdotool dbus-run-session faketime "$launcher" "$python"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: pyatspi is not installed"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/casino-a11y.XXXXXX")
mkdir -p "$work/run"
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

source "$(dirname "$0")/../xvfb.sh"
start_xvfb "$work" || { echo "FAIL: no X server"; exit 1; }
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

# Inside the session: the accessibility bus, then the player.
# shellcheck disable=SC2016  # expanded by the inner shell
dbus-run-session -- bash -c '
    "$1" --launch-immediately >/dev/null 2>&1 &
    launcher=$!
    "$2" "$3" "$(dirname "$4")" "$5"
    status=$?
    kill "$launcher" 2>/dev/null
    exit $status
' inner "$launcher" "$python" "$here/a11y_play.py" "$program" "$work/run"
status=$?
[ "$status" -ne 0 ] && [ -s "$work/run/program.log" ] && { echo "--- program output"; cat "$work/run/program.log"; }
exit $status
