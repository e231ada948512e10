#!/usr/bin/env bash
# End-to-end test in a real X window. Starts its own X server (Xvfb) and the
# game in a fresh folder, and plays through real X input only: key presses and
# clicks at screen coordinates (xdotool). It starts a new game with F2, checks
# from screenshots that the cards lie where the table's layout puts them,
# selects a pile with a digit key, takes a hint with "?", plays with the slot
# keys until someone wins the game (answering every question on the way),
# checks that the records file counts the game for both players already
# while "Play again?" is asked, then ends the program with SIGTERM (as a
# logout does) and checks that it exits cleanly with the game still counted.
#
#   e2e_test.sh PROGRAM
#
# PROGRAM is the built casinogui, or the installed launcher "casino", which
# keeps the records in $XDG_DATA_HOME/casino (pointed into the test's folder).
# Exit code 77: Xvfb, xdotool or ImageMagick is not installed. Screenshots of
# the milestones are left in ./shots for inspection.
set -u

program=${1:?usage: e2e_test.sh PROGRAM}
for tool in Xvfb xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

limit=${E2E_SECONDS:-180}
deadline=$((SECONDS + limit))
work=$(mktemp -d "${TMPDIR:-/tmp}/casino-e2e.XXXXXX")
shots=$PWD/shots
rm -rf "$shots"
mkdir -p "$shots" "$work/run"
xvfb_pid=
game_pid=

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

shot_count=0
# Takes a screenshot of the whole screen into $shot (and a numbered copy into ./shots).
snap() {
    shot_count=$((shot_count + 1))
    shot=$shots/$(printf '%02d' "$shot_count")-$1.png
    import -window root "$shot" 2>/dev/null || { sleep 0.2 && import -window root "$shot"; }
}

fail() {
    echo "FAIL: $*"
    snap failure 2>/dev/null
    [ -s "$work/program.log" ] && { echo "--- program output"; cat "$work/program.log"; }
    exit 1
}

# Polls `command...` every tenth of a second until it succeeds; fails after
# `seconds` or at the test's deadline.
wait_for() {
    local what=$1 seconds=$2
    shift 2
    local until=$((SECONDS + seconds))
    until "$@" >/dev/null; do
        if [ "$SECONDS" -ge "$until" ] || [ "$SECONDS" -ge "$deadline" ]; then
            fail "timed out waiting for $what"
        fi
        sleep 0.1
    done
}

# --- the X server ---------------------------------------------------------------------------
source "$(dirname "$0")/../xvfb.sh"
start_xvfb "$work" || fail "the X server did not start"
export QT_QPA_PLATFORM=xcb

# --- the program ----------------------------------------------------------------------------
if [ "$(basename "$program")" = casino ]; then
    export XDG_DATA_HOME=$work/data  # the launcher's data folder
    records=$work/data/casino/kzq.gds
else
    records=$work/run/kzq.gds
fi

game_alive() {
    local stat
    [ -n "$game_pid" ] && read -r stat 2>/dev/null <"/proc/$game_pid/stat" || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

# Visible windows named exactly $1 (an extended regular expression without anchors).
windows_named() {
    xdotool search --onlyvisible --name "^($1)\$" 2>/dev/null
}

# Window geometry into WX WY WW WH.
geometry() {
    # shellcheck disable=SC2034  # SCREEN and WINDOW come with the rest and are not used
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# Clicks at x, y inside window $1 (no window manager: no frame).
click_in() {
    geometry "$1"
    xdotool mousemove $((WX + $2)) $((WY + $3)) click 1
}

start_game() {
    rm -f "$work/program.log"
    (cd "$work/run" && exec "$program" >"$work/program.log" 2>&1) &
    game_pid=$!
    main=
    local until=$((SECONDS + 30))
    while [ -z "$main" ]; do
        game_alive || fail "the program ended at start"
        [ "$SECONDS" -lt "$until" ] || fail "timed out waiting for the main window"
        main=$(windows_named Casino | head -n 1)
        sleep 0.1
    done
    geometry "$main"
    # The client area (792 x 553) lies below the menu bar.
    CX=$WX CY=$((WY + WH - 553))
    [ "$WW" -eq 792 ] || fail "the window is $WW pixels wide"
}

# A spot on the table between two columns: a click there selects nothing, and
# no dialog ever covers it, so key presses aimed at the window go there.
rest_pointer() { xdotool mousemove $((CX + 91)) $((CY + 300)); }
# Keys go to the window under the pointer; a click there first makes the
# window active, so that its function keys work.
command_key() {
    rest_pointer
    xdotool click 1
    sleep 0.2
    xdotool key "$1"
}
play_key() {
    rest_pointer
    xdotool key "$1"
}

# Answers the confirm box titled $1 with OK (ok) or Cancel (cancel).
answer_confirm() {
    local box=$1 button=$2 id
    wait_for "the question \"$box\"" 20 windows_named "$box"
    id=$(windows_named "$box" | head -n 1)
    # The two buttons sit 88 pixels apart about the box's middle, 21 above its
    # bottom edge; the box grows with its question.
    geometry "$id"
    if [ "$button" = ok ]; then
        click_in "$id" $((WW / 2 - 44)) $((WH - 21))
    else
        click_in "$id" $((WW / 2 + 44)) $((WH - 21))
    fi
    wait_for "the question \"$box\" to close" 20 not_shown "$box"
}
not_shown() { [ -z "$(windows_named "$1")" ]; }
not_shown_id() { ! windows_named Casino | grep -qx "$1"; }

exit_game() {
    command_key F6
    answer_confirm 'Exit Casino\?' ok
    wait_for "the program to end" 30 not_running
    wait "$game_pid" || fail "the program ended with status $?"
    game_pid=
}
not_running() { ! game_alive; }

# --- pixels ---------------------------------------------------------------------------------
# The share of table green (0, 128, 0) in a client rectangle of the last screenshot.
green_share() {
    convert "$shot" -crop "${3}x${4}+$((CX + $1))+$((CY + $2))" +repage \
        -fill black +opaque 'rgb(0,128,0)' -fill white -opaque 'rgb(0,128,0)' \
        -format '%[fx:mean]' info:
}
below() { awk -v v="$1" -v l="$2" 'BEGIN { exit !(v < l) }'; }
# A card lies at client x, y when at most 5 % of its place is table green;
# a place is empty when at least 99 % is.
card_at() { below "$(green_share "$1" "$2" 71 96)" 0.05; }
empty_at() { ! below "$(green_share "$1" "$2" 71 96)" 0.99; }
# A client rectangle of the last screenshot, into file $1.
crop() { convert "$shot" -crop "${4}x${5}+$((CX + $2))+$((CY + $3))" +repage "$1"; }
same_image() { compare -metric AE "$1" "$2" null: 2>/dev/null; }

table_x() { echo $((87 * $1 - 75)); }
hand_x() { echo $((($1 == 1 ? 25 : 483) + 71 * ($2 - 1))); }
# Hand cards player $1 shows, from the last screenshot.
hand_cards() {
    local n=0 slot
    for slot in 1 2 3 4; do
        card_at "$(hand_x "$1" "$slot")" 25 && n=$((n + 1))
    done
    echo "$n"
}

# --- records --------------------------------------------------------------------------------
byte() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
word() { od -An -tu2 --endian=little -j "$2" -N2 "$1" | tr -d ' '; }
played() { word "$1" $((32 + 32 * $2 + 22)); }
won() { word "$1" $((32 + 32 * $2 + 24)); }

# Answers a Choose Action window (with Put, which is always offered) or a
# message box (OK has the focus); false when neither is open.
messages=0
answer_move_dialogs() {
    local id
    id=$(windows_named 'Choose Action' | head -n 1)
    if [ -n "$id" ]; then
        click_in "$id" 200 84
        wait_for "Choose Action to close" 20 not_shown 'Choose Action'
        return 0
    fi
    id=$(windows_named Casino | grep -vx "$main" | head -n 1)
    if [ -n "$id" ]; then
        messages=$((messages + 1))
        geometry "$id"
        xdotool mousemove $((WX + WW / 2)) $((WY + WH / 2)) key Return
        wait_for "the message to close" 20 not_shown_id "$id"
        return 0
    fi
    return 1
}

# === 1. a start and an exit write the records as they stand ===================================
start_game
exit_game
[ -f "$records" ] || fail "no records file at $records after the first exit"
[ "$(stat -c %s "$records")" -eq 512 ] || fail "the records file is not 512 bytes"
cp "$records" "$work/before.gds"

# === 2. a new game shows the deal at its places ==============================================
start_game
snap start
empty_at "$(table_x 3)" 180 || fail "the table is not empty before a game"
command_key F2
wait_for "the New Game dialog" 20 windows_named 'New Game Settings'
dialog=$(windows_named 'New Game Settings' | head -n 1)
geometry "$dialog"
xdotool mousemove $((WX + WW / 2)) $((WY + 20)) key Return
wait_for "the New Game dialog to close" 20 not_shown 'New Game Settings'

dealt() {
    snap dealt
    local column slot
    for column in 3 4 5 6; do card_at "$(table_x $column)" 180 || return 1; done
    for slot in 1 2 3 4; do
        card_at "$(hand_x 1 $slot)" 25 && card_at "$(hand_x 2 $slot)" 25 || return 1
    done
}
wait_for "the deal to be drawn" 20 dealt
for column in 1 2 7 8 9; do
    empty_at "$(table_x $column)" 180 || fail "column $column is not empty after the deal"
done
echo "deal drawn: table columns 3 to 6, four cards in each hand"

# === 3. a digit key selects a pile and deselects it again ====================================
crop "$work/plain.png" "$(table_x 3)" 180 71 96
play_key 3
changed() { snap selected && crop "$work/now.png" "$(table_x 3)" 180 71 96 && ! same_image "$work/plain.png" "$work/now.png"; }
wait_for "key 3 to highlight column 3" 20 changed
play_key 3
restored() { snap deselected && crop "$work/now.png" "$(table_x 3)" 180 71 96 && same_image "$work/plain.png" "$work/now.png"; }
wait_for "key 3 again to restore column 3" 20 restored
echo "key 3 highlighted column 3 and took the highlight off again"

# === 4. "?" offers a hint; accepting it plays the move =======================================
play_key question
answer_confirm Hint ok
three_left() { answer_move_dialogs; snap hinted && [ "$(hand_cards 1)" -eq 3 ] && [ "$(hand_cards 2)" -eq 3 ]; }
wait_for "the hint's move and the computer's answer" 20 three_left
echo "the hint's move was played"

# === 5. the slot keys play on until the game is won ==========================================
keys=(u i o p)
next=0
rounds=0
while :; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no game end within $limit seconds ($rounds rounds)"
    game_alive || fail "the program ended during the game"
    if [ -n "$(windows_named 'New Game')" ]; then
        break
    elif id=$(windows_named 'Continue Game' | head -n 1) && [ -n "$id" ]; then
        rounds=$((rounds + 1))
        snap "round-$rounds"
        answer_confirm 'Continue Game' ok
    elif ! answer_move_dialogs; then
        play_key "${keys[next]}"
        next=$(((next + 1) % 4))
        sleep 0.1
    fi
done
snap won
echo "game won after $((rounds + 1)) rounds ($messages messages answered)"

# === 6. the finished game is saved before Play again?, and a SIGTERM keeps it ================
counted() {
    [ "$(stat -c %s "$records")" -eq 512 ] || fail "the records file is not 512 bytes after the game"
    local offset slot before after wins=0
    for offset in 27 28; do
        slot=$(byte "$records" $offset)
        before=$(played "$work/before.gds" "$slot")
        after=$(played "$records" "$slot")
        [ "$after" -eq $((before + 1)) ] || fail "$1: record $slot played $before games before and $after after"
    done
    for slot in $(seq 0 14); do
        wins=$((wins + $(won "$records" "$slot") - $(won "$work/before.gds" "$slot")))
    done
    [ "$wins" -eq 1 ] || fail "$1: $wins games won were added"
}
counted "while Play again? is asked"
answer_confirm 'New Game' cancel
kill -TERM "$game_pid"
wait_for "the program to end on SIGTERM" 30 not_running
wait "$game_pid" || fail "the program ended with status $? on SIGTERM"
game_pid=
counted "after SIGTERM"
echo "records: the game was counted for both players before Play again?, and kept after SIGTERM"
echo "PASS in $SECONDS seconds"
