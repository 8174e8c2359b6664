#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The display ends under a running Quorix (an Xvfb, a headless Weston): quorix.cfg holds what
# Save on Exit says, and Quorix ends with status 1 and one line on stderr. Skipped without them.
set -uo pipefail
quorix=$1
for tool in Xvfb xdotool weston; do
    command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=$scratch WAYLAND_DISPLAY=wayland-quorix
export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 # Qt ends the process mid-run: what is held then is no leak
failed=0
# The file starts with both sticks on one mode, which the stick rule mends at start: a change as a
# click's. Tab Tab Tab Space ticks Debug mode; Alt+F S clears Save on Exit.
while read -r platform keys record told; do
    games=$(mktemp -d -p "$scratch") && printf '0,0,0,0,2,2\r\n' >"$games/quorix.cfg"
    if [ "$platform" = xcb ]; then
        Xvfb -displayfd 4 -nolisten tcp 4>"$scratch/display" 2>/dev/null &
    else
        weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" >/dev/null 2>&1 &
    fi
    server=$!
    timeout 10 bash -c "until [ -s '$scratch/display' ] || [ -S '$scratch/$WAYLAND_DISPLAY' ]; do sleep 0.1; done"
    DISPLAY=:$(cat "$scratch/display" 2>/dev/null) && export DISPLAY
    (cd "$games" && WAYLAND_DEBUG=1 QT_QPA_PLATFORM=$platform exec "$quorix" 2>"$games/log") &
    quorix_pid=$!
    if [ "$platform" = xcb ]; then
        read -ra typed <<<"${keys//+/ }"
        timeout 20 xdotool search --sync --name '^Quorix - ' windowfocus --sync key "${typed[@]}" && sleep 0.5
    else # its title given: the window is there
        timeout 20 bash -c "until grep -qs 'xdg_toplevel@[0-9]*[.]set_title' '$games/log'; do sleep 0.1; done"
    fi
    kill "$server" && wait "$server"
    rm -f "$scratch/display"
    wait "$quorix_pid"
    status=$?
    [ "$told" = saved ] && told="the options were saved in $games/quorix.cfg"
    [ "$told" = off ] && told="Save on Exit is off, so the options were not saved"
    line=$(grep -v '^\[' "$games/log") # the lines WAYLAND_DEBUG adds start with a time in brackets
    if [ "$status" = 1 ] && [ "$line" = "quorix: the display is gone; $told" ] \
        && [ "$(cat "$games/quorix.cfg")" = "$(printf '%s\r' "$record")" ]; then
        echo "ok   $platform $keys"
    else
        echo "FAIL $platform $keys: status $status, stderr '$line', file $(od -An -c "$games/quorix.cfg")"
        failed=1
    fi
done <<'EOF'
xcb Tab+Tab+Tab+space 1,0,0,0,3,2 saved
xcb Tab+Tab+Tab+space+alt+f+s 0,0,0,0,2,2 off
wayland - 0,0,0,0,3,2 saved
EOF
exit "$failed"
