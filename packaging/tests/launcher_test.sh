#!/bin/sh
# Tests the launcher's choice of data folder with a fake program (fake_casinogui.sh) that
# counts its starts in "kzq.gds" in its current folder and logs where it ran.
# Usage: launcher_test.sh <launcher> <launcher whose program path has a blank and a quote>
launcher=$1
odd_launcher=$2
work=$(pwd -P)/launcher-work
rm -rf "$work"
mkdir -p "$work/start1" "$work/start2" "$work/home"
log=$work/log
: >"$log"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# start <folder> [VAR=value...] <launcher> [arguments]: runs the launcher from the folder with
# only PATH, the fake's log and the given variables set; leaves the exit status in $status
# and the error output in $errors.
start() {
    folder=$1
    shift
    set -- env -i PATH="$PATH" CASINO_FAKE_LOG="$log" "$@"
    errors=$( (cd "$folder" && "$@" 2>&1 >/dev/null) )
    status=$?
}

last_line() { tail -n 1 "$log"; }
lines() { wc -l <"$log" | tr -d ' '; }
mode_of() { stat -c %A "$1"; }

expect_run() {  # expect_run <what> <data folder> <starts>
    if [ "$status" -ne 0 ]; then
        fail "$1: exit status $status ($errors)"
    fi
    expected="cwd=$2 starts=$3 args="
    if [ "$(last_line)" != "$expected" ]; then
        fail "$1: logged '$(last_line)', expected '$expected'"
    fi
}

# --- XDG_DATA_HOME names the data folder; it is created when missing --------------------------
xdg=$work/xdg
start "$work/start1" XDG_DATA_HOME="$xdg" HOME="$work/home" "$launcher"
expect_run "first start with XDG_DATA_HOME" "$xdg/casino" 1
[ -d "$xdg/casino" ] || fail "data folder $xdg/casino not created"
[ "$(mode_of "$xdg")" = drwx------ ] || fail "created $xdg is $(mode_of "$xdg"), not private"
[ "$(mode_of "$xdg/casino")" = drwx------ ] || fail "created data folder is not private"
[ -e "$work/home/.local" ] && fail "HOME was used although XDG_DATA_HOME is set"
# The game is told the launcher's absolute path, to restart through it.
[ "$(cat "$log.launcher")" = "$(cd "$(dirname "$launcher")" && pwd -P)/$(basename "$launcher")" ] ||
    fail "the game was told the launcher is '$(cat "$log.launcher")'"

# Records are found again when the game is started from another folder.
start "$work/start2" XDG_DATA_HOME="$xdg" HOME="$work/home" "$launcher"
expect_run "second start from another folder" "$xdg/casino" 2
for folder in "$work/start1" "$work/start2"; do
    [ -e "$folder/kzq.gds" ] && fail "records written into the start folder $folder"
done

# --- HOME fallback: unset, empty or relative XDG_DATA_HOME --------------------------------------
data=$work/home/.local/share/casino
start "$work/start1" HOME="$work/home" "$launcher"
expect_run "XDG_DATA_HOME unset" "$data" 1
start "$work/start2" HOME="$work/home" "$launcher"
expect_run "XDG_DATA_HOME unset, other start folder" "$data" 2
start "$work/start1" XDG_DATA_HOME= HOME="$work/home" "$launcher"
expect_run "XDG_DATA_HOME empty" "$data" 3
start "$work/start1" XDG_DATA_HOME=relative HOME="$work/home" "$launcher"
expect_run "XDG_DATA_HOME relative" "$data" 4
[ -e "$work/start1/relative" ] && fail "a relative XDG_DATA_HOME was used"

# --- an existing data folder is used as it is ------------------------------------------------
mkdir -p "$work/shared/casino"
chmod 755 "$work/shared/casino"
echo 41 >"$work/shared/casino/kzq.gds"
start "$work/start1" XDG_DATA_HOME="$work/shared" "$launcher"
expect_run "existing data folder" "$work/shared/casino" 42
[ "$(mode_of "$work/shared/casino")" = drwxr-xr-x ] || fail "existing data folder's mode changed"

# Blanks in the path.
start "$work/start1" XDG_DATA_HOME="$work/with blank" "$launcher"
expect_run "blank in XDG_DATA_HOME" "$work/with blank/casino" 1

# --- arguments and exit status pass through -------------------------------------------------
start "$work/start1" XDG_DATA_HOME="$xdg" CASINO_FAKE_STATUS=3 "$launcher" -x "a b"
[ "$status" -eq 3 ] || fail "program's exit status 3 came back as $status"
[ "$(last_line)" = "cwd=$xdg/casino starts=3 args=-x a b" ] || fail "arguments: $(last_line)"

# The program's path is quoted in the launcher.
start "$work/start1" XDG_DATA_HOME="$xdg" "$odd_launcher"
expect_run "program path with blank and quote" "$xdg/casino" 4

# --- no usable folder: the program only shows why (folder and reason), and the launcher fails --
mkdir -p "$work/blocked"
: >"$work/blocked/casino"
start "$work/start1" XDG_DATA_HOME="$work/blocked" "$launcher"
[ "$status" -ne 0 ] || fail "a file in place of the data folder was accepted"
case $errors in *"cannot use $work/blocked/casino"*) ;; *) fail "no message: $errors" ;; esac
case $(last_line) in
    "cwd=$work/start1 starts=1 args=--no-data-folder $work/blocked/casino "*?) ;;
    *) fail "the program was not told of the blocked folder: $(last_line)" ;;
esac

start "$work/start1" "$launcher"
[ "$status" -ne 0 ] || fail "started with neither HOME nor XDG_DATA_HOME"
case $errors in *HOME*) ;; *) fail "no message about HOME: $errors" ;; esac
case $(last_line) in
    *"args=--no-data-folder "*"HOME is not set"*) ;;
    *) fail "the program was not told that HOME is not set: $(last_line)" ;;
esac

# A relative HOME and a path too long for the system are refused as such, making nothing.
start "$work/start1" HOME=home "$launcher"
case $errors in *"not an absolute path"*) ;; *) fail "a relative HOME: $errors" ;; esac
[ "$status" -ne 0 ] || fail "a relative HOME was accepted"
[ -e "$work/start1/home" ] && fail "a relative HOME was used"
long=$work/long
for _ in $(seq 40); do long=$long/$(printf '%0100d' 0); done
start "$work/start1" XDG_DATA_HOME="$long" "$launcher"
[ "$status" -ne 0 ] || fail "a path longer than the system takes was accepted"
case $errors in *"the path is too long"*) ;; *) fail "a long path: $errors" ;; esac
[ -e "$work/long" ] && fail "a path too long was made"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "launcher: all checks passed"
