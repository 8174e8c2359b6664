# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2154 # root, out, run, tools, quorix, pids and check come from scripts/desktops
# The other desktops of scripts/desktops, sourced by it: GNOME Shell and KWin, headless, each
# natively and through XWayland, then mutter and KWin as X11 window managers on an Xvfb. Each
# is asked where the windows are (GNOME through its Eval, KWin through a script, X11 through
# xdotool and xprop) and driven as a user would (mutter's own virtual devices, KWin's fake
# input, xdotool). A desktop that does not come up is named, with why, on one line at the end.

notup=() # "desktop: why"

private_bus() { # system|session: its address in bus, its daemon in pids (so not in a subshell)
    local config=(--session) pid
    if [ "$1" = system ]; then # a system bus of its own: the stock one is root's and may not run here
        config=(--config-file="$run/system-bus.conf")
        cat >"$run/system-bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>system</type><listen>unix:tmpdir=$run</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>
EOF
    fi
    { read -r bus && read -r pid; } < <(dbus-daemon "${config[@]}" --address=unix:tmpdir="$run" --fork \
        --print-address=1 --print-pid=1)
    pids+=("$pid")
}

# Up: each sets wl (a Wayland socket or empty), x (an X display), and how to end the display.
up_gnome() {
    export DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
    private_bus system && DBUS_SYSTEM_BUS_ADDRESS=$bus # its login manager dies at start without one
    private_bus session && DBUS_SESSION_BUS_ADDRESS=$bus
    # Version 43 opens Eval (and its screenshots) only in unsafe mode, which an extension can set.
    local ext=$HOME/.local/share/gnome-shell/extensions/unsafe@quorix.invalid
    mkdir -p "$ext"
    echo '{"uuid": "unsafe@quorix.invalid", "name": "Unsafe", "description": "Eval for scripts/desktops",
 "shell-version": ["43"]}' >"$ext/metadata.json"
    echo 'function init() {} function enable() { global.context.unsafe_mode = true; } function disable() {}' \
        >"$ext/extension.js"
    gsettings set org.gnome.shell disable-user-extensions false
    gsettings set org.gnome.shell enabled-extensions "['unsafe@quorix.invalid']"
    gsettings set org.gnome.shell welcome-dialog-last-shown-version 999
    gnome-shell --headless --virtual-monitor 1024x768 --wayland --wayland-display=wayland-gnome >"$out/gnome.log" 2>&1 &
    display_pid=$!
    pids+=($!)
    for _ in $(seq 100); do eval_js 'global.context.unsafe_mode' 2>/dev/null | grep -q true && break; sleep 0.2; done
    eval_js 'global.context.unsafe_mode' 2>/dev/null | grep -q true || { why="its Eval did not open"; return 1; }
    eval_js 'Main.overview.hide(); Main.messageTray._bannerBin.hide(); 1' >/dev/null
    wl=wayland-gnome x=$(eval_value 'imports.gi.GLib.getenv("DISPLAY")')
    export XAUTHORITY
    XAUTHORITY=$(eval_value 'imports.gi.GLib.getenv("XAUTHORITY")')
    desktop=GNOME
}
up_kwin() {
    unset XAUTHORITY
    export DBUS_SESSION_BUS_ADDRESS
    private_bus session && DBUS_SESSION_BUS_ADDRESS=$bus
    # The installed binary carries a file capability that a container may refuse: a plain copy.
    cp /usr/bin/kwin_wayland "$run/kwin_wayland"
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
        "$run/kwin_wayland" --virtual --xwayland --width 1024 --height 768 --socket wayland-kwin >"$out/kwin.log" 2>&1 &
    display_pid=$!
    pids+=($!)
    wl=wayland-kwin x=''
    for _ in $(seq 100); do
        x=$(ps -o args= --ppid "$display_pid" | sed -n 's/^[^ ]*Xwayland \(:[0-9]*\) .*/\1/p')
        [ -n "$x" ] || ! kill -0 "$display_pid" 2>/dev/null && break
        sleep 0.2
    done
    [ -n "$x" ] || { why=$(tail -1 "$out/kwin.log"); return 1; }
    sleep 2
    WAYLAND_DISPLAY=$wl "$tools/vinput" 1024 768 <"$run/kwin-input" >"$out/kwin-vinput.log" 2>&1 &
    pids+=($!)
    exec 4>"$run/kwin-input"
    desktop=KDE
}
up_x11() { # mutter|kwin
    unset XAUTHORITY
    rm -f "$run/xvfb-display"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$run/xvfb-display" >"$out/xvfb.log" 2>&1 &
    display_pid=$!
    pids+=($!)
    for _ in $(seq 50); do [ -s "$run/xvfb-display" ] && break; sleep 0.1; done
    wl='' x=:$(cat "$run/xvfb-display")
    export DBUS_SESSION_BUS_ADDRESS
    DISPLAY=$x private_bus session && DBUS_SESSION_BUS_ADDRESS=$bus # what it starts (kglobalaccel) needs the display
    if [ "$1" = mutter ]; then
        DISPLAY=$x mutter --x11 --replace --sm-disable >"$out/mutter-x11.log" 2>&1 &
    else
        DISPLAY=$x kwin_x11 --replace >"$out/kwin-x11.log" 2>&1 &
    fi
    pids+=($!)
    managed() { DISPLAY=$x xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; }
    for _ in $(seq 150); do managed && break; sleep 0.2; done
    sleep 1
    managed || { why="the window manager did not start"; return 1; }
    desktop=''
}

eval_js() { gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval "$1"; }
eval_value() { # what Eval gave back, as JSON
    eval_js "$1" | python3 -c '
import json, sys
s = sys.stdin.read()
s = s[s.index(chr(39)) + 1:s.rindex(chr(39))].replace(chr(92) * 2, chr(92))
print(json.loads(s) if s.startswith(chr(34)) else s)'
}
kwin_js() { # a KWin script, run once; what it prints lands in kwin.log
    local name=qx$RANDOM$RANDOM
    echo "$1" >"$run/$name.js"
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.loadScript \
        string:"$run/$name.js" string:"$name" >/dev/null
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.start >/dev/null
    sleep 0.3
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript \
        string:"$name" >/dev/null
}

# wins: one line a window of Quorix: frame x y width height, contents x y, focused, attention, title.
wins() {
    case $desk in
    gnome)
        eval_value 'JSON.stringify(global.get_window_actors().map(a => a.meta_window)
          .filter(w => w.get_title().includes("Quorix")).map(w => {
            const f = w.get_frame_rect(), c = w.frame_rect_to_client_rect(f);
            return [f.x, f.y, f.width, f.height, c.x, c.y, w.has_focus(), w.urgent || w.demands_attention,
                    w.get_title()]; }))' |
            python3 -c '
import json, sys
for w in json.loads(sys.stdin.read()): print(*[int(v) if isinstance(v, bool) else v for v in w])' ;;
    kwin)
        local mark=QX$RANDOM
        kwin_js "print('$mark ' + JSON.stringify(workspace.clientList().filter(c => c.pid > 0 && !c.specialWindow)
          .map(c =>
          [c.frameGeometry.x, c.frameGeometry.y, c.frameGeometry.width, c.frameGeometry.height,
           c.bufferGeometry.x, c.bufferGeometry.y, c.active ? 1 : 0, c.demandsAttention ? 1 : 0, c.caption])));"
        sed -n "s/^js: $mark //p" "$out/kwin.log" | python3 -c '
import json, sys
for w in json.loads(sys.stdin.read()): print(*w)' ;;
    *)
        local active w
        active=$(DISPLAY=$x xdotool getactivewindow 2>/dev/null || true)
        for w in $(DISPLAY=$x xdotool search --onlyvisible --name 'Quorix'); do
            local cx cy cw ch l r t b
            read -r cx cy cw ch < <(DISPLAY=$x xwininfo -id "$w" | awk '/Absolute upper-left X/ {x=$4}
                /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
            read -r l r t b < <(DISPLAY=$x xprop -id "$w" _NET_FRAME_EXTENTS |
                sed 's/.*= //; s/,//g; s/.*not found.*/0 0 0 0/')
            echo "$((cx - l)) $((cy - t)) $((cw + l + r)) $((ch + t + b)) $cx $cy" \
                "$([ "$w" = "$active" ] && echo 1 || echo 0) 0" \
                "$(DISPLAY=$x xdotool getwindowname "$w")"
        done ;;
    esac
}
win() { wins | grep " $1" | sed -n 1p || true; } # the first window whose title starts so

keysym() { # an evdev key code as xdotool names it
    case $1 in
    1) echo Escape ;; 28) echo Return ;; 56) echo alt ;; 33) echo f ;; 37) echo k ;; 30) echo a ;; 19) echo r ;;
    45) echo x ;; 15) echo Tab ;; 57) echo space ;; *) echo "unknown-$1" ;;
    esac
}
drive() { # the actions of vinput, one an argument
    local a
    for a in "$@"; do
        case $desk in
        gnome)
            local js='const {Clutter, GLib} = imports.gi; const t = () => GLib.get_monotonic_time();
              if (!global._qx) { const s = Clutter.get_default_backend().get_default_seat();
                global._qx = [s.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE),
                              s.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE)]; }
              const [p, k] = global._qx;'
            case $a in
            move*)
                local xy
                read -ra xy <<<"${a#move }"
                js+="p.notify_absolute_motion(t(), ${xy[0]}, ${xy[1]}); 1" ;;
            click) js+='p.notify_button(t(), 1, 1); p.notify_button(t(), 1, 0); 1' ;;
            key*)
                local c codes
                read -ra codes <<<"${a#key}"
                for c in "${codes[@]}"; do js+="k.notify_key(t(), $c, 1);"; done
                for ((c = ${#codes[@]} - 1; c >= 0; c--)); do js+="k.notify_key(t(), ${codes[c]}, 0);"; done
                js+=' 1' ;;
            esac
            eval_js "$js" >/dev/null ;;
        kwin) echo "$a" >&4 ;;
        *)
            case $a in
            move*)
                local xy
                read -ra xy <<<"${a#move }"
                DISPLAY=$x xdotool mousemove "${xy[@]}" ;;
            click) DISPLAY=$x xdotool click 1 ;;
            key*)
                local c keys=()
                for c in ${a#key}; do keys+=("$(keysym "$c")"); done
                DISPLAY=$x xdotool key "$(IFS=+; echo "${keys[*]}")" ;;
            esac ;;
        esac
        sleep 0.4
    done
}
snap() { # a screenshot, named
    sleep 0.6
    case $desk in
    gnome) gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell/Screenshot \
        -m org.gnome.Shell.Screenshot.Screenshot false false "$out/$name-$1.png" >/dev/null ;;
    kwin) python3 "$root/scripts/desktops.d/kwin-shot.py" |
        convert -size 1024x768 -depth 8 bgra:- "$out/$name-$1.png" ;;
    *) DISPLAY=$x import -window root "$out/$name-$1.png" ;;
    esac
}
wm() { # what the window manager is asked: title pattern, then maximize | move X Y | resize W H
    local title=$1 what=$2
    shift 2
    case $desk in
    gnome)
        local find="global.get_window_actors().map(a => a.meta_window).find(w => w.get_title().startsWith('$title'))"
        case $what in
        maximize) eval_js "$find.maximize(imports.gi.Meta.MaximizeFlags.BOTH); 1" ;;
        move) eval_js "$find.move_frame(true, $1, $2); 1" ;;
        resize) eval_js "{ const w = $find, r = w.get_frame_rect(); w.move_resize_frame(true, r.x, r.y, $1, $2); } 1" ;;
        esac >/dev/null ;;
    kwin)
        local find="workspace.clientList().find(c => c.caption.startsWith('$title'))"
        case $what in
        maximize) kwin_js "$find.setMaximize(true, true);" ;;
        move) kwin_js "{ const c = $find, g = c.frameGeometry;
          c.frameGeometry = {x: $1, y: $2, width: g.width, height: g.height}; }" ;;
        resize) kwin_js "{ const c = $find, g = c.frameGeometry;
          c.frameGeometry = {x: g.x, y: g.y, width: $1, height: $2}; }" ;;
        esac ;;
    *)
        local w
        w=$(DISPLAY=$x xdotool search --onlyvisible --name "^$title" | head -1)
        case $what in
        maximize) DISPLAY=$x xdotool windowactivate --sync "$w" key super+Up ;; # both window managers' key for it
        move) DISPLAY=$x xdotool windowmove "$w" "$1" "$2" ;;
        resize) DISPLAY=$x xdotool windowsize "$w" "$1" "$2" ;;
        esac ;;
    esac
    sleep 0.8
}

centred() { # over the main window, as its frame's centre: within 3 pixels
    local a b
    read -r -a a < <(win "$1")
    read -r -a b < <(win 'Quorix - ')
    [ ${#a[@]} -ge 4 ] && [ ${#b[@]} -ge 4 ] || return 1
    local dx=$((2 * a[0] + a[2] - 2 * b[0] - b[2])) dy=$((2 * a[1] + a[3] - 2 * b[1] - b[3]))
    [ "${dx#-}" -le 6 ] && [ "${dy#-}" -le 6 ]
}
gone() { sleep 0.3 && [ -z "$(win "$1")" ]; }
same_place() { [ "$(win "$1" | cut -d' ' -f1,2)" = "$2" ]; }
in_front() { [ "$(win "$1" | cut -d' ' -f7)" = 1 ]; }
no_attention() { ! wins | grep -q '^\([-0-9]* \)\{7\}1 '; }

start_quorix() {
    local platform=$1
    (cd "$games" && WAYLAND_DISPLAY=$wl DISPLAY=$x XDG_CURRENT_DESKTOP=$desktop QT_QPA_PLATFORM=$platform \
        exec "$quorix") >>"$out/$name/quorix.log" 2>&1 &
    qpid=$!
    for _ in $(seq 50); do [ -n "$(win 'Quorix - ')" ] && break; sleep 0.2; done
    sleep 0.5
    read -r -a m < <(win 'Quorix - ') || true # its frame: x y width height
}
# A point of the main window's contents (436 x 257 below any title bar; a frame's sides are as wide as its bottom).
click_main() { drive "move $((m[0] + (m[2] - 436) / 2 + $1)) $((m[1] + m[3] - 257 - (m[2] - 436) / 2 + $2))" click; }

# Where Qt's Wayland windows sit on GNOME is mutter's alone (it takes them for normal windows:
# Qt does not speak GNOME's protocol for dialogs), and mutter may mark one that Qt asks it to
# activate as needing attention; so there such a check says what it saw without failing. Under
# GNOME Quorix takes XWayland unless asked, and is checked there too.
mutter_decides() { # what, then the command that holds when it is right
    if [ "$name" != gnome-native ]; then
        check "$@"
    elif "${@:2}"; then
        echo "ok   $name: $1"
    else
        echo "left $name: $1 (not so: mutter decides for Qt's Wayland windows)"
    fi
}

check_desk() {
    local platform=$1
    start_quorix "$platform"
    click_main 386 225 # the keyboard to it, whether or not the desktop gave it at the start
    snap 0-start
    # The About, centred, stays where it is and in front at each click on the main window it blocks.
    drive "key 56 30"
    snap 1-about
    mutter_decides "the About opens centred on the main window" centred 'About'
    local at
    at=$(win 'About' | cut -d' ' -f1,2)
    for _ in 1 2 3; do click_main 386 225; done
    snap 1-about-clicked
    mutter_decides "the About stays where it was, in front, after 3 clicks on the main window" \
        bash -c "[ '$(win 'About' | cut -d' ' -f1,2)' = '$at' ] && [ '$(win 'About' | cut -d' ' -f7)' = 1 ]"
    drive "key 1"
    check "the About kept the keyboard (Esc closed it)" gone 'About'
    # The warning, covered by the main window, comes back where it was each time it is asked for.
    drive "key 56 19"
    mutter_decides "the warning opens centred on the main window" centred 'Warning'
    at=$(win 'Warning' | cut -d' ' -f1,2)
    for _ in 1 2 3; do click_main 386 225 && drive "key 56 19"; done
    snap 2-warning-again
    check "the warning asked for 3 times more comes back where it was, in front" \
        bash -c "[ '$(win 'Warning' | cut -d' ' -f1,2)' = '$at' ] && [ '$(win 'Warning' | cut -d' ' -f7)' = 1 ]"
    drive "key 28"
    # Emulator Keys, moved by the user, stays there when asked for again.
    drive "key 56 33" "key 37"
    mutter_decides "Emulator Keys opens centred on the main window" centred 'Keys-'
    mutter_decides "the main window is not marked as needing attention" no_attention
    wm Keys- move 40 60
    at=$(win 'Keys-' | cut -d' ' -f1,2)
    click_main 386 225
    drive "key 56 33" "key 37"
    snap 3-keys-again
    check "Emulator Keys moved by the user stays there when asked for again" \
        bash -c "[ '$(win 'Keys-' | cut -d' ' -f1,2)' = '$at' ]"
    drive "key 1"
    # The fixed main window keeps its size whatever it is asked.
    local size="${m[2]} ${m[3]}"
    wm 'Quorix - ' resize 800 600
    snap 4-resize
    check "the main window keeps its size when asked for 800 x 600" \
        bash -c "[ '$(win 'Quorix - ' | cut -d' ' -f3,4)' = '$size' ]"
    wm 'Quorix - ' maximize
    snap 4-maximize
    check "the main window keeps its size when asked to maximize" \
        bash -c "[ '$(win 'Quorix - ' | cut -d' ' -f3,4)' = '$size' ]"
    read -r -a m < <(win 'Quorix - ') || true
}

for desk in $(picked gnome kwin mutter-x11 kwin-x11); do
    why='' display_pid=''
    case $desk in
    gnome) up_gnome || { notup+=("GNOME Shell: $why"); continue; } ;;
    kwin)
        mkfifo "$run/kwin-input"
        up_kwin || { notup+=("KWin: $why"); continue; } ;;
    *) up_x11 "${desk%-x11}" || { notup+=("$desk: $why"); continue; } ;;
    esac
    modes=(x11)
    [ -n "$wl" ] && modes=(native xwayland)
    for mode in "${modes[@]}"; do
        name=$desk-$mode && [ "$mode" = x11 ] && name=$desk
        games=$out/$name/games
        rm -rf "${games:?}" && mkdir -p "$games" && : >"$games/O2ROM.BIN" && : >"$games/PACMAN.BIN"
        case $mode in native) platform=wayland ;; xwayland | x11) platform=xcb ;; esac
        check_desk "$platform"
        if [ "$mode" = "${modes[-1]}" ]; then
            # Last, the display ends under Quorix with Debug mode ticked: the options must be kept.
            click_main 142 194
            kill "$display_pid"
            status=0
            wait "$qpid" || status=$?
            check "the options are saved when the display goes (status $status)" \
                bash -c "[ $status = 1 ] && grep -q '^1,' '$games/quorix.cfg'"
        else
            drive "key 56 45"
            sleep 1
            kill "$qpid" 2>/dev/null || true
        fi
    done
    [ "$desk" = kwin ] && exec 4>&-
done
[ ${#notup[@]} -eq 0 ] || echo "Not brought up: $(IFS=';'; echo "${notup[*]}")"
