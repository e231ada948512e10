#!/bin/sh
# Stands in for the game program in the launcher tests. Like the game, it reads and writes
# its records file "kzq.gds" in its current folder: the file holds the number of starts.
# It appends one line to $CASINO_FAKE_LOG: the folder it runs in, the starts so far and its
# arguments, and exits with $CASINO_FAKE_STATUS (0 by default).
starts=0
if [ -f kzq.gds ]; then
    starts=$(cat kzq.gds)
fi
starts=$((starts + 1))
echo "$starts" >kzq.gds
printf 'cwd=%s starts=%s args=%s\n' "$(pwd -P)" "$starts" "$*" >>"$CASINO_FAKE_LOG"
echo "${CASINO_LAUNCHER-}" >"$CASINO_FAKE_LOG.launcher"
exit "${CASINO_FAKE_STATUS:-0}"
