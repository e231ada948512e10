#!/usr/bin/env bash
# The program among other processes, in a real X window (its own Xvfb):
#  1. SIGTERM, SIGHUP and SIGINT end it through its way out: it saves its
#     records and exits with status 0, without a question;
#  2. a second start on the same data folder raises and activates the first
#     game's window, exits at once with status 0 and leaves the records file
#     alone; when the first does not answer, it says so and ends (status 1);
#  3. a lock that no live game holds (a killed game's, an empty, garbled or
#     folder one) does not keep the next start from playing; of two starts
#     at once the second raises the first; one records file reached through
#     links from two folders takes one game; where no lock can be made, the
#     player is told;
#  4. started by the launcher with --no-data-folder, it shows a box and ends
#     with status 1, touching nothing;
#  5. under a file size limit of 0 it is not killed by SIGXFSZ: a SIGTERM's
#     save fails, which is written to the error output, and it ends with
#     status 1 without waiting on a box;
#  6. under a session manager (SM_DRIVER) a checkpoint and a shutdown save
#     without a question, "die" ends it at once, with or without a save
#     before, and the restart it asks for runs in the same data folder.
#
#   session_test.sh PROGRAM [SM_DRIVER]
#
# Exit code 77: Xvfb or xdotool is not installed.
set -u

program=${1:?usage: session_test.sh PROGRAM [SM_DRIVER]}
sm_driver=${2-}  # empty: libSM was not there to build it
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/casino-session.XXXXXX")
data=$work/data
mkdir -p "$data"
xvfb_pid=
pids=()

cleanup() {
    for pid in "${pids[@]}" $xvfb_pid; do kill -KILL "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do [ -s "$log" ] && { echo "--- $log"; cat "$log"; }; done
    exit 1
}

# Polls `command...` every tenth of a second for up to `seconds`.
wait_for() {
    local what=$1 seconds=$2
    shift 2
    local until=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$until" ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

source "$(dirname "$0")/../xvfb.sh"
start_xvfb "$work" || fail "the X server did not start"
export QT_QPA_PLATFORM=xcb
# The locks go to a runtime folder of the test's own.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Starts the program in the data folder; its pid in $game, its window in $window.
start_game() {
    (cd "$data" && exec "$program" >"$work/game$1.log" 2>&1) &
    game=$!
    pids+=("$game")
    wait_for "the window of start $1" 30 window_of "$game"
    window=$(window_of "$game")
}
window_of() {
    kill -0 "$1" || return 1
    xdotool search --onlyvisible --pid "$1" --name '^Casino$' | head -n 1 | grep .
}
ended() { ! kill -0 "$1"; }
# Waits for `pid` to end and checks its exit status.
expect_exit() {
    wait_for "$2 to end" 15 ended "$1"
    wait "$1"
    local status=$?
    [ "$status" -eq 0 ] || fail "$2 ended with status $status"
}
windows_named_casino() { [ "$(xdotool search --onlyvisible --name '^Casino$' | wc -l)" -ge "$1" ]; }
# Presses Return in the window of `pid` (its box); true once `pid` has ended.
press_return_on() {
    local box
    box=$(window_of "$1") && xdotool windowfocus --sync "$box" key Return
    sleep 0.3
    ended "$1"
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# === 1. a signal saves and ends =============================================================
for signal in TERM HUP INT; do
    rm -f "$data/kzq.gds"
    start_game "$signal"
    kill -"$signal" "$game"
    expect_exit "$game" "the game after SIG$signal"
    [ "$(stat -c %s "$data/kzq.gds" 2>/dev/null)" = 512 ] ||
        fail "SIG$signal: the records were not saved"
done
echo "SIGTERM, SIGHUP and SIGINT: records saved, exit status 0"

# === 2. a second start raises the first and ends ============================================
start_game first
first=$game
first_window=$window
focused "$first_window" && fail "the first window has the focus before the second start"
cp "$data/kzq.gds" "$work/before.gds"
touch -d '2001-01-01' "$data/kzq.gds"
stamp=$(stat -c '%i %Y' "$data/kzq.gds")
(cd "$data" && exec "$program" >"$work/second.log" 2>&1) &
second=$!
pids+=("$second")
expect_exit "$second" "the second start"
wait_for "the first window to be activated" 5 focused "$first_window"
[ "$(stat -c '%i %Y' "$data/kzq.gds")" = "$stamp" ] || fail "the second start wrote the records"
cmp -s "$data/kzq.gds" "$work/before.gds" || fail "the records changed"
kill -0 "$first" || fail "the first game ended"
[ "$(xdotool search --onlyvisible --name '^Casino$' | wc -l)" -eq 1 ] || fail "a second window opened"
echo "second start: the first window was activated, the second ended at once, records untouched"

# A first game that does not answer (stopped): the second says so and ends, records untouched.
kill -STOP "$first"
(cd "$data" && exec "$program" >"$work/unanswered.log" 2>&1) &
second=$!
pids+=("$second")
wait_for "the box of the unanswered start" 30 windows_named_casino 2
kill -TERM "$second"  # keys would go to the stopped game, which has the focus
wait_for "the unanswered start to end" 15 ended "$second"
wait "$second"
status=$?
kill -CONT "$first"
[ "$status" -eq 1 ] || fail "the unanswered start ended with status $status"
[ "$(stat -c '%i %Y' "$data/kzq.gds")" = "$stamp" ] || fail "the unanswered start wrote the records"
echo "a first game that does not answer: the second start told so and ended, records untouched"

# === 3. a lock that no live game holds does not block =======================================
kill -KILL "$first"
wait "$first" 2>/dev/null
lock=$(ls "$XDG_RUNTIME_DIR"/casino-*.lock 2>/dev/null)
[ -f "$lock" ] || fail "no lock file was left by the killed game"
# Left as a crash leaves it, emptied, garbled and replaced by a folder.
for damage in killed empty garbled folder; do
    case $damage in
        empty) : >"$lock" ;;
        garbled) head -c 300 /dev/urandom >"$lock" ;;
        folder) rm -f "$lock" && mkdir "$lock" ;;
    esac
    start_game "$damage-lock"
    sleep 1
    kill -0 "$game" || fail "the start after a $damage lock ended"
    windows_named_casino 2 && fail "the start after a $damage lock showed a box"
    kill -TERM "$game"
    expect_exit "$game" "the game after a $damage lock"
done
echo "a killed game's lock, an empty, a garbled one and a folder did not block the next start"

# Two starts at the same instant: the first plays, the second raises it and ends.
for try in 1 2 3 4 5 6 7 8 9 10; do
    (cd "$data" && exec "$program" >"$work/twinA.log" 2>&1) &
    a=$!
    (cd "$data" && exec "$program" >"$work/twinB.log" 2>&1) &
    b=$!
    pids+=("$a" "$b")
    wait_for "one of two starts to end (try $try)" 30 eval '! kill -0 $a || ! kill -0 $b'
    if kill -0 "$a" 2>/dev/null; then winner=$a loser=$b; else winner=$b loser=$a; fi
    wait "$loser"
    status=$?
    [ "$status" -eq 0 ] || fail "the second of two starts ended with status $status (try $try)"
    wait_for "the window of the first of two starts" 30 window_of "$winner"
    windows_named_casino 2 && fail "two starts at once showed two windows (try $try)"
    kill -TERM "$winner"
    expect_exit "$winner" "the first of two starts"
done
echo "two starts at once, 10 times: the second raised the first and ended"

# One records file reached through links from two folders, one of them
# read-only: still one game.
mkdir -p "$work/real" "$work/linkA" "$work/linkB"
ln -s "$work/real/kzq.gds" "$work/linkA/kzq.gds"
ln -s ../real/kzq.gds "$work/linkB/kzq.gds"
chmod 555 "$work/linkA"
(cd "$work/linkA" && exec "$program" >"$work/linkA.log" 2>&1) &
game=$!
pids+=("$game")
wait_for "the window of the game in the read-only folder" 30 window_of "$game"
(cd "$work/linkB" && exec "$program" >"$work/linkB.log" 2>&1) &
second=$!
pids+=("$second")
expect_exit "$second" "the start through the second link"
kill -0 "$game" || fail "the game through the first link ended"
windows_named_casino 2 && fail "a second game opened on a linked records file"
kill -TERM "$game"
expect_exit "$game" "the game through the first link"
chmod 755 "$work/linkA"
echo "one records file through two links (one folder read-only): the second start raised the first"

# No lock can be made (its place is taken by a folder that is not empty): the player is told.
rm -rf "$lock" && mkdir -p "$lock/kept"
start_game unguarded
wait_for "the notice of the missing lock" 15 windows_named_casino 2
kill -TERM "$game"
expect_exit "$game" "the game without a lock"
rm -rf "$lock"
echo "no lock could be made: the player was told"

# === 4. the launcher's failure is shown =====================================================
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && exec "$program" --no-data-folder /nowhere/casino "permission denied" \
    >"$work/nofolder.log" 2>&1) &
told=$!
pids+=("$told")
wait_for "the box of the blocked folder" 30 window_of "$told"
wait_for "the program to end after the box" 15 press_return_on "$told"
wait "$told"
status=$?
[ "$status" -eq 1 ] || fail "the program ended with status $status after telling the blocked folder"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote $(ls -A "$work/elsewhere")"
echo "--no-data-folder: a box was shown, the program ended with status 1 and wrote nothing"

# === 5. no file size left ===================================================================
rm -rf "$data" && mkdir -p "$data"
# The error output through a pipe: the limit would keep it from a file too.
(ulimit -f 0 && cd "$data" && exec "$program") > >(cat >"$work/nosize.log") 2>&1 &
game=$!
pids+=("$game")
wait_for "the window under a file size limit" 30 window_of "$game"
kill -TERM "$game"
wait_for "the game that could not save to end" 15 ended "$game"
wait "$game"
status=$?
[ "$status" -eq 1 ] || fail "the failed save at SIGTERM ended with status $status"
wait_for "the failed save at SIGTERM on the error output" 5 \
    grep -q "could not be saved when the game was ended by SIGTERM" "$work/nosize.log"
[ -z "$(ls -A "$data")" ] || fail "a failed save left $(ls -A "$data")"
echo "file size limit 0: the failed save at SIGTERM was told on stderr, status 1, no box"

# === 6. a session manager ===================================================================
if [ -z "$sm_driver" ]; then
    echo "SKIP: the session manager part (no libSM to build the test's manager)"
    echo PASS
    exit 0
fi
coproc SM { exec "$sm_driver" 2>"$work/sm.log"; }
pids+=("$SM_PID")
read -r -t 10 line <&"${SM[0]}" || fail "the session manager did not start"
sm_env=$line
# Reads the manager's lines until one matches `pattern`; all of them go to sm.out.
sm_expect() {
    local line
    while read -r -t 15 line <&"${SM[0]}"; do
        echo "$line" >>"$work/sm.out"
        [[ $line =~ $1 ]] && return 0
    done
    fail "the session manager never saw: $1"
}
start_managed() {
    (cd "$data" && export "$sm_env" && exec "$program" >"$work/managed$1.log" 2>&1) &
    game=$!
    pids+=("$game")
    sm_expect '^registered'
    wait_for "the managed window $1" 30 window_of "$game"
}
no_question() {
    ! xdotool search --onlyvisible --name 'Exit Casino' >/dev/null || fail "a question is shown: $1"
}

start_managed checkpoint
echo checkpoint >&"${SM[1]}"
sm_expect '^done 1'
[ "$(stat -c %s "$data/kzq.gds" 2>/dev/null)" = 512 ] || fail "the checkpoint did not save"
no_question "after the checkpoint"
grep -qx "property CurrentDirectory $data" "$work/sm.out" || fail "no restart folder was told"
restart=$(grep '^property RestartCommand ' "$work/sm.out" | tail -n 1 | cut -d' ' -f3-)
rm "$data/kzq.gds"
echo shutdown >&"${SM[1]}"
sm_expect '^done 1'
[ -f "$data/kzq.gds" ] || fail "the shutdown's save-yourself did not save"
no_question "after the shutdown's save-yourself"
rm "$data/kzq.gds"
echo die >&"${SM[1]}"
expect_exit "$game" "the game told to die after a checkpoint"
[ -f "$data/kzq.gds" ] || fail "die did not save"
echo "session manager: checkpoint and shutdown saved, die ended it, no question"

start_managed immediately
rm -f "$data/kzq.gds"
echo die >&"${SM[1]}"
expect_exit "$game" "the game told to die without a save-yourself"
[ -f "$data/kzq.gds" ] || fail "die without a save-yourself did not save"
echo "session manager: die without a save-yourself saved and ended it"

# The restart the manager was told, run as the manager runs it: in the folder it was told.
[ -n "$restart" ] || fail "no restart command was told"
# shellcheck disable=SC2086 # the command's words as the manager keeps them
(cd "$data" && exec $restart >"$work/restarted.log" 2>&1) &
game=$!
pids+=("$game")
wait_for "the restarted window" 30 window_of "$game"
[ "$(readlink "/proc/$game/cwd")" = "$data" ] || fail "the restarted game runs elsewhere"
kill -TERM "$game"
expect_exit "$game" "the restarted game"
echo "the restart command started the game in its data folder"
echo PASS
