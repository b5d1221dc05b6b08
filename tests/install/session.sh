# Shell helpers for running the installed program under Xvfb as a desktop user
# would: sourced by the install test and scripts/package-test.sh. The caller
# sets `work` (a scratch folder) and cleans up the pids in `started`.

started=()

stop_started() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

wait_until() { # seconds command...
    local limit=$(($1 * 10))
    shift
    for _ in $(seq "$limit"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Root may write anywhere, the program folder included, so as root the
# programs run as nobody: `as_user` prefixes a command, `owner` owns its files.
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    owner=nobody:nogroup
else
    as_user=()
    owner="$(id -u):$(id -g)"
fi

# An X server on a free display, for this shell and its children.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -ac 3>"$work/display" 2>/dev/null &
    started+=($!)
    wait_until 20 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# A home and a runtime folder under $work/NAME for the user; sets `as`, the
# prefix that runs a command as that user in that home alone, and
# `session_home` and `session_run`.
make_session() { # name
    local home="$work/$1/home" run="$work/$1/run"
    mkdir -p "$home" "$run"
    chmod 0700 "$run"
    chown -R "$owner" "$work/$1"
    session_home=$home
    session_run=$run
    as=("${as_user[@]}" env -i HOME="$home" XDG_CONFIG_HOME="$home/.config"
        XDG_RUNTIME_DIR="$run" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0)
}

# The process whose executable is the path.
pid_of() { # executable
    local p
    for p in /proc/[0-9]*; do
        if [ "$(readlink "$p/exe" 2>/dev/null)" = "$1" ]; then
            echo "${p#/proc/}"
            return 0
        fi
    done
    return 1
}

# The main window's id once it is shown.
main_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^Vantrel Gaming Keyboard$' | head -1
}

# Clicks the main window's button of a "BUTTONPOS" key where its skin places it.
click_button() { # window skins-folder key
    local x y w h
    IFS=, read -r _ x y w h _ < <(grep "^$3=" "$2/skin_Config.ini")
    xdotool mousemove --window "$1" $((x + w / 2)) $((y + h / 2))
    sleep 0.3
    xdotool click 1
}

click_apply() { # window skins-folder
    click_button "$1" "$2" 21
}

# A stand-in for the desktop's opener on a PATH of its own, which notes what
# it was asked to open in $work/opened; sets `opener_path`.
make_opener() {
    mkdir -p "$work/opener"
    printf '#!/bin/sh\necho "$1" >> "%s/opened"\n' "$work" >"$work/opener/xdg-open"
    chmod 0755 "$work/opener" "$work/opener/xdg-open"
    : >"$work/opened"
    chmod 0666 "$work/opened"
    opener_path="$work/opener:/usr/bin:/bin"
}

# Clicks Manual and checks that the opener was asked for the manual of the
# program folder.
check_manual_opens() { # window program-folder
    : >"$work/opened"
    click_button "$1" "$2/skins" 18
    wait_until 20 test -s "$work/opened" || fail "Manual opened nothing"
    local url="file://${2// /%20}/User%20Manual.pdf"
    [ "$(cat "$work/opened")" = "$url" ] || fail "Manual opened $(cat "$work/opened"), not $url"
}

# True once the monitor of the session has gone (it removes its mailbox).
monitor_gone() {
    [ ! -e "$session_run/vantrel-gaming-keyboard/Vantrel_Gaming_Keyboard_Monitor" ]
}

# What an apply leaves in the folder of the working files.
has_working_files() { # folder
    [ -f "$1/config.ini" ] && [ -f "$1/config/Default4.gkp" ] && [ -f "$1/config/sequence.dat" ] &&
        grep -q '^CurrentProfile=' "$1/config.ini"
}
