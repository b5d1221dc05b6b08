#!/usr/bin/env bash
# Runs the tests of the real devices (uinput, evdev) inside a small virtual
# machine: the installed Debian kernel, an initramfs holding busybox, the
# evdev and uinput modules and the test program with its libraries, under
# qemu's software emulation. Machines that build the project rarely have
# /dev/uinput; the kernel in the machine always does.
# Usage: uinput_vm.sh TEST_PROGRAM GTEST_FILTER
set -euo pipefail
program=$1
filter=$2

kernel=$(ls -v /boot/vmlinuz-* 2>/dev/null | tail -n 1 || true)
for tool in qemu-system-x86_64 cpio busybox; do
    if ! command -v "$tool" >/dev/null || [ -z "$kernel" ]; then
        echo "qemu, cpio, busybox or a kernel in /boot is missing (scripts/deps.sh installs them): skipped"
        exit 77
    fi
done
version=${kernel#/boot/vmlinuz-}

work=$(mktemp -d /tmp/vantrel-vm-XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root"/{bin,proc,sys,dev,tmp}
cp "$(command -v busybox)" "$root/bin/"
for applet in sh ls cut cat mount insmod poweroff; do
    ln -s busybox "$root/bin/$applet"
done
cp "$program" "$root/bin/tests"
ldd "$program" | grep -o '/[^ ]*' | while read -r library; do
    mkdir -p "$root$(dirname "$library")"
    cp -L "$library" "$root$library"
done
for module in drivers/input/evdev drivers/input/misc/uinput; do
    found=$(ls /lib/modules/"$version"/kernel/$module.ko* 2>/dev/null | head -n 1 || true)
    case $found in
    "") ;; # built into the kernel
    *.xz) xz -dc "$found" >"$root/$(basename "$module").ko" ;;
    *.zst) zstd -dcq "$found" >"$root/$(basename "$module").ko" ;;
    *) cp "$found" "$root/" ;;
    esac
done
cat >"$root/init" <<INIT
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
for module in /evdev.ko /uinput.ko; do [ -e \$module ] && insmod \$module; done
/bin/tests --gtest_filter='$filter' --gtest_color=no 2>&1
echo "vm tests ended: \$?"
poweroff -f
INIT
chmod +x "$root/init"
(cd "$root" && find . | cpio -o -H newc 2>/dev/null | gzip -1 >"$work/initrd.gz")

timeout 600 qemu-system-x86_64 -accel tcg -cpu max -m 1024 -smp 2 -kernel "$kernel" \
    -initrd "$work/initrd.gz" -append "console=ttyS0 panic=-1 loglevel=3" \
    -nographic -nic none -no-reboot -monitor none >"$work/console" 2>&1 || true
sed -n '/Running main()\|Note: Google Test filter/,$p' "$work/console" | tr -d '\r'
status=$(sed -n 's/^vm tests ended: \([0-9]*\).*/\1/p' "$work/console" | tr -d '\r')
if [ -z "$status" ]; then
    echo "the virtual machine did not finish the tests; its console:"
    tail -n 40 "$work/console"
    exit 1
fi
# Inside the machine the devices are there: a skip, or no test at all, means
# something is wrong.
if grep -q '^\[  SKIPPED \]' "$work/console" || ! grep -q '^\[  PASSED  \] [1-9]' "$work/console"; then
    echo "inside the virtual machine a test was skipped, or none ran"
    exit 1
fi
exit "$status"
