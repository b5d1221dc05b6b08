#!/usr/bin/env bash
# Builds the Debian package from a clean clone of the current commit, installs
# it with apt-get, starts the installed program under Xvfb as a desktop user
# would (from its menu entry, with a home of its own; screenshot in
# build-package/screenshot.png), checks that the program started the monitor
# and that Apply wrote into the user's config folder, then removes the package
# and checks that the user's settings stayed. Needs root or sudo for apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build-package"
app_id=example.vantrel_gaming.GamingKeyboard
program=/usr/lib/vantrel-gaming-keyboard

scripts/deps.sh git imagemagick
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"
}

work=$(mktemp -d /tmp/vantrel-package-XXXXXX)
chmod 0755 "$work"
source tests/install/session.sh
trap 'stop_started; rm -rf "$work"' EXIT

commit=$(git rev-parse HEAD)
git diff --quiet HEAD || echo "note: uncommitted changes are not in the package"
git clone --quiet "$root" "$work/src"
git -C "$work/src" checkout --quiet --detach "$commit"
cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DVANTREL_BENCH=OFF >/dev/null
cmake --build "$work/build" --target vantrel-program
(cd "$work/build" && cpack -G DEB >/dev/null)
rm -rf "$out"
mkdir -p "$out"
cp "$work/build"/vantrel-gaming-keyboard_*.deb "$out/"
deb=$(ls "$out"/vantrel-gaming-keyboard_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[[ $depends == *libc6* && $depends == *libqt6widgets6* ]] || fail "runtime dependencies not computed"

apt_get install "$deb"
desktop-file-validate "/usr/share/applications/$app_id.desktop" /etc/xdg/autostart/vantrel-monitor.desktop
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
[ -f /usr/lib/systemd/user/vantrel-monitor.service ] || fail "no user service"
XDG_RUNTIME_DIR=$work systemd-analyze --user --man=no verify /usr/lib/systemd/user/vantrel-monitor.service ||
    fail "the user service does not verify"
grep -q 'KERNEL=="uinput".*uaccess' /usr/lib/udev/rules.d/70-vantrel-gaming-keyboard.rules ||
    fail "no udev rule for /dev/uinput"
[ -f "$program/User Manual.pdf" ] || fail "no user manual in $program"
for page in vantrel-config vantrel-monitor; do
    MANPAGER=cat man -l "/usr/share/man/man1/$page.1" 2>/dev/null | grep -q "^NAME" ||
        fail "man does not show $page(1)"
done

start_xvfb
make_session user
config="$session_home/.config/vantrel-gaming-keyboard"
"${as[@]}" vantrel-monitor flags >/dev/null 2>&1 && fail "a monitor runs already"
# As the menu starts it.
read -r -a exec_line < <(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
"${as[@]}" "${exec_line[@]}" &
started+=($!)
utility=$!
window=$(main_window) || fail "no window"
sleep 1 # the first paint
import -window root "$out/screenshot.png"
monitor=$(pid_of "$program/vantrel-monitor") || fail "the program started no monitor"
started+=("$monitor")
"${as[@]}" vantrel-monitor flags >/dev/null || fail "the monitor does not answer"
click_apply "$window" "$program/skins"
wait_until 20 has_working_files "$config" || fail "Apply wrote nothing into $config"
[ -e "$program/config.ini" ] && fail "files were written into $program"
kill "$utility"
wait "$utility" 2>/dev/null || true
"${as[@]}" vantrel-monitor flags >/dev/null || fail "the monitor ended with the program"
kill "$monitor"
wait_until 20 monitor_gone || fail "the monitor does not stop"

apt_get remove vantrel-gaming-keyboard
[ ! -e "$program" ] && [ ! -e /usr/bin/vantrel-config ] || fail "the package left files behind"
has_working_files "$config" || fail "removing the package took the user's settings"
echo "package $deb installed, run and removed; the user's settings stayed"
echo "screenshot: $out/screenshot.png"
