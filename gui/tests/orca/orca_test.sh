#!/usr/bin/env bash
# The game with a real screen reader: starts its own X server (Xvfb), a
# window manager, a session bus with the accessibility bus on it, and the
# screen reader Orca, speaking through speech-dispatcher to a voice that
# writes each utterance to a file (and takes a moment per word, so that
# speech cut short shows). orca_play.py then plays a round by keys alone and
# checks what was spoken; orca_dialogs.py then opens the New Game dialog and
# the Hall of Fame and checks what they say. ORCA_PLAYER names another script
# to play instead of both (orca_game.py plays a whole game).
#
#   orca_test.sh PROGRAM
#
# Exit code 77: a tool it needs is not installed.
set -u

program=$(realpath "${1:?usage: orca_test.sh PROGRAM}")
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb xdotool dbus-run-session openbox orca speech-dispatcher "$launcher" "$python"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: pyatspi is not installed"
    exit 77
fi

# Orca refuses to start beside another Orca of the same user.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "SKIP: a screen reader of this user is running already"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/casino-orca.XXXXXX")
mkdir -p "$work/run" "$work/data" "$work/config/speech-dispatcher/modules" "$work/log"
mkdir -m 700 "$work/runtime"
xvfb_pid=
cleanup() {
    # speech-dispatcher outlives the session (the screen reader may even start
    # it again on its way out): end every one that serves this test's folder.
    pkill -f -- "--socket-path $work/runtime/" 2>/dev/null
    sleep 0.5
    pkill -KILL -f -- "--socket-path $work/runtime/" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_ORCA_RUN:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

# The voice: each utterance is written as it starts (after a record
# separator) and marked done (a unit separator) when it has been spoken.
cat >"$work/say.sh" <<SAY
#!/bin/sh
printf '\036%s' "\$1" >> "$work/spoken"
words=\$(printf '%s' "\$1" | wc -w)
sleep "\$(awk "BEGIN { print \$words * 0.02 }")"
printf '\037' >> "$work/spoken"
SAY
chmod +x "$work/say.sh"
: >"$work/spoken"
cat >"$work/config/speech-dispatcher/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/log"
DefaultModule logger
AudioOutputMethod "libao"
AddModule "logger" "sd_generic" "logger.conf"
DefaultLanguage "en"
CONF
cat >"$work/config/speech-dispatcher/modules/logger.conf" <<CONF
GenericExecuteSynth "$work/say.sh \'\$DATA\'"
AddVoice "en" "male1" "logger"
DefaultVoice "logger"
GenericLanguage "en" "en" "utf-8"
CONF

source "$here/../xvfb.sh"
start_xvfb "$work" || { echo "FAIL: no X server"; exit 1; }
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime

# Inside the session: the accessibility bus, the window manager, the screen
# reader, then the player.
# shellcheck disable=SC2016  # expanded by the inner shell
dbus-run-session -- bash -c '
    "$1" --launch-immediately >/dev/null 2>&1 &
    openbox >"$6/openbox.log" 2>&1 &
    orca --debug-file="$6/orca-debug.out" >"$6/orca.log" 2>&1 &
    "$2" "$3" "$(dirname "$4")" "$5" "$6/spoken"
    status=$?
    [ "$status" -eq 0 ] && [ -z "${ORCA_PLAYER:-}" ] &&
        { "$2" "$7" "$(dirname "$4")" "$5" "$6/spoken"; status=$?; }
    kill %1 %2 %3 2>/dev/null
    # The screen reader does not always end on TERM (a failed run left it
    # waiting, holding the test lock): a few seconds, then KILL.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        [ -z "$(jobs -rp)" ] && break
        sleep 0.5
    done
    kill -KILL %1 %2 %3 2>/dev/null
    wait
    exit $status
' inner "$launcher" "$python" "${ORCA_PLAYER:-$here/orca_play.py}" "$program" "$work/run" \
    "$work" "$here/orca_dialogs.py"
status=$?
if [ "$status" -ne 0 ]; then
    [ -s "$work/run/program.log" ] && { echo "--- program output"; cat "$work/run/program.log"; }
    echo "--- spoken"; tr '\036\037' '\n ' <"$work/spoken" | tail -n 40
fi
exit $status
