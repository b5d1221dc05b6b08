#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program
# under Xvfb with a home of its own: with a read-only program folder the files
# it and the monitor write land in the config folder, with a writable one
# beside the program.
# Usage: install_test.sh BUILD_FOLDER
set -euo pipefail
build=$1

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

work=$(mktemp -d /tmp/vantrel-install-XXXXXX)
chmod 0755 "$work"
started=()
cleanup() {
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

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

cmake --install "$build" --prefix "$work/prefix" >/dev/null
bin="$work/prefix/bin"
program="$work/prefix/lib/vantrel-gaming-keyboard"
[ "$(readlink -f "$bin/vantrel-config")" = "$program/vantrel-config" ] ||
    fail "bin/vantrel-config does not lead into the program folder"

# Root may write anywhere, so as root the programs run as nobody.
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    owner=nobody:nogroup
else
    as_user=()
    owner="$(id -u):$(id -g)"
fi

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -ac 3>"$work/display" 2>/dev/null &
started+=($!)
wait_until 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

# The Apply button's place in the main window, from its skin.
IFS=, read -r _ apply_x apply_y apply_w apply_h _ < <(grep '^21=' "$program/skins/skin_Config.ini")

# The process of an installed program, found by its executable.
pid_of() {
    local p
    for p in /proc/[0-9]*; do
        if [ "$(readlink "$p/exe" 2>/dev/null)" = "$program/$1" ]; then
            echo "${p#/proc/}"
            return 0
        fi
    done
    return 1
}

has_working_files() {
    [ -f "$1/config.ini" ] && [ -f "$1/config/Default4.gkp" ] && [ -f "$1/config/sequence.dat" ] &&
        grep -q '^CurrentProfile=' "$1/config.ini"
}

run_case() { # name writable|read-only
    local name=$1 mode=$2
    local home="$work/$name/home" run="$work/$name/run"
    mkdir -p "$home" "$run"
    chmod 0700 "$run"
    chown -R "$owner" "$work/$name"
    if [ "$mode" = writable ]; then
        chown -R "$owner" "$program"
        chmod u+w "$program"
    else
        chown -R "$(id -u):$(id -g)" "$program"
        chmod a-w "$program"
    fi
    local config="$home/.config/vantrel-gaming-keyboard"
    local expected=$config unexpected=$program
    [ "$mode" = writable ] && expected=$program unexpected=$config

    local as=("${as_user[@]}" env -i HOME="$home" XDG_CONFIG_HOME="$home/.config"
        XDG_RUNTIME_DIR="$run" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0)
    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null 2>&1 && fail "$name: a monitor runs already"

    "${as[@]}" "$bin/vantrel-config" &
    local utility=$!
    started+=("$utility")
    local window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vantrel Gaming Keyboard$' | head -1) ||
        fail "$name: no window"
    local monitor
    monitor=$(pid_of vantrel-monitor) || fail "$name: the program started no monitor"
    started+=("$monitor")
    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null || fail "$name: the monitor does not answer"

    xdotool mousemove --window "$window" $((apply_x + apply_w / 2)) $((apply_y + apply_h / 2))
    sleep 0.3
    xdotool click 1
    wait_until 20 has_working_files "$expected" || fail "$name: Apply wrote no files in $expected"
    # The monitor writes into the same file.
    "${as[@]}" "$bin/vantrel-monitor" firmware 123 >/dev/null || fail "$name: firmware command"
    grep -q '^FWVersion=123' "$expected/config.ini" || fail "$name: the monitor wrote elsewhere"
    [ -e "$unexpected/config.ini" ] || [ -e "$unexpected/config" ] &&
        fail "$name: files were written in $unexpected"
    if [ "$mode" = read-only ] && [ "$(stat -c %a "$config")" != 700 ]; then
        fail "$name: the config folder is not private"
    fi

    kill "$utility"
    wait "$utility" 2>/dev/null || true
    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null || fail "$name: the monitor ended with the program"
    kill "$monitor"
    wait_until 20 sh -c "! kill -0 $monitor 2>/dev/null" || fail "$name: the monitor does not stop"
    echo "$name: files in $expected"
}

run_case read-only read-only
run_case writable writable
