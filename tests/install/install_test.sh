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
source "$(dirname "$0")/session.sh"
trap 'stop_started; rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
bin="$work/prefix/bin"
program="$work/prefix/lib/vantrel-gaming-keyboard"
[ "$(readlink -f "$bin/vantrel-config")" = "$program/vantrel-config" ] ||
    fail "bin/vantrel-config does not lead into the program folder"
start_xvfb
make_opener

run_case() { # writable|read-only
    local mode=$1
    make_session "$mode"
    if [ "$mode" = writable ]; then
        chown -R "$owner" "$program"
        chmod u+w "$program"
    else
        chown -R "$(id -u):$(id -g)" "$program"
        chmod a-w "$program"
    fi
    local config="$session_home/.config/vantrel-gaming-keyboard"
    local expected=$config unexpected=$program
    [ "$mode" = writable ] && expected=$program unexpected=$config

    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null 2>&1 && fail "$mode: a monitor runs already"
    "${as[@]}" env PATH="$opener_path" "$bin/vantrel-config" &
    local utility=$!
    started+=("$utility")
    local window monitor
    window=$(main_window) || fail "$mode: no window"
    monitor=$(pid_of "$program/vantrel-monitor") || fail "$mode: the program started no monitor"
    started+=("$monitor")
    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null || fail "$mode: the monitor does not answer"

    click_apply "$window" "$program/skins"
    wait_until 20 has_working_files "$expected" || fail "$mode: Apply wrote no files in $expected"
    # The monitor writes into the same file.
    "${as[@]}" "$bin/vantrel-monitor" firmware 123 >/dev/null || fail "$mode: firmware command"
    grep -q '^FWVersion=123' "$expected/config.ini" || fail "$mode: the monitor wrote elsewhere"
    [ -e "$unexpected/config.ini" ] || [ -e "$unexpected/config" ] &&
        fail "$mode: files were written in $unexpected"
    if [ "$mode" = read-only ] && [ "$(stat -c %a "$config")" != 700 ]; then
        fail "$mode: the config folder is not private"
    fi
    check_manual_opens "$window" "$program"

    kill "$utility"
    wait "$utility" 2>/dev/null || true
    "${as[@]}" "$bin/vantrel-monitor" flags >/dev/null || fail "$mode: the monitor ended with the program"
    kill "$monitor"
    wait_until 20 monitor_gone || fail "$mode: the monitor does not stop"
    echo "$mode: the files are in $expected"
}

run_case read-only
run_case writable

# The program run from the build folder opens the manual beside it. With a
# monitor of the test's own, it starts none that would outlive the test.
mkdir -m 0700 "$work/build-run"
build_env=(env -i HOME="$work" XDG_RUNTIME_DIR="$work/build-run" DISPLAY="$DISPLAY"
    PATH="$opener_path" ASAN_OPTIONS=detect_leaks=0)
"${build_env[@]}" "$build/bin/vantrel-monitor" &
started+=($!)
wait_until 20 "${build_env[@]}" "$build/bin/vantrel-monitor" flags >/dev/null ||
    fail "the build's monitor does not answer"
"${build_env[@]}" "$build/bin/vantrel-config" &
started+=($!)
check_manual_opens "$(main_window)" "$build/bin"
echo "the manual opens from the installed program and from the build folder"
