# Sourced by the tests that run the program in a real X window.

# start_xvfb FOLDER: starts an X server (Xvfb, 1024 x 768) on a free display,
# its pid in xvfb_pid and its messages in FOLDER/xvfb.log, waits until it
# takes connections and exports DISPLAY for it. Fails when it does not come up
# within 20 seconds.
start_xvfb() {
    local folder=$1 until=$((SECONDS + 20))
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" \
        2>"$folder/xvfb.log" &
    xvfb_pid=$!
    until [ -s "$folder/display" ]; do
        [ "$SECONDS" -lt "$until" ] && kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    DISPLAY=:$(head -n 1 "$folder/display")
    export DISPLAY
    unset WAYLAND_DISPLAY SESSION_MANAGER
}
