#!/usr/bin/env bash
# Runs a command (default: `bash .ci/run`) on a clean clone of a revision inside a Debian 12
# virtual machine that runs 32-bit programs: the way to run the 32-bit tests on a host that
# runs 64-bit programs only. The machine is emulated in software (no KVM needed), about six
# times slower than the host. Needs root, a network to Debian's mirror, and a few GB of disk.
#
#   sudo bash scripts/test-in-vm.sh [--fresh] [REVISION [COMMAND...]]
#   sudo bash scripts/test-in-vm.sh [--fresh] --builds TREE [COMMAND...]
#
# With --builds, the machine gets TREE as it stands, a clone in which this host built both
# targets (`bash .ci/run` did, say), instead of a clean clone: the command then finds the
# builds up to date, and building inside the machine (over an hour) is saved.
# The disk image is made once (debootstrap, a kernel) and kept in $VORTAG_VM_DIR (default
# /var/tmp/vortag-vm), so what the first run installed stays for the next; --fresh makes it
# anew. The command's output goes to run.log there; the exit code is the command's.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vm=${VORTAG_VM_DIR:-/var/tmp/vortag-vm}
fresh=0 builds=
if [ "${1:-}" = --fresh ]; then fresh=1; shift; fi
if [ "${1:-}" = --builds ]; then
  builds=$(cd "${2:?test-in-vm: --builds needs a tree}" && pwd); shift 2
  sha=$(git -C "$builds" rev-parse --verify HEAD)
else
  sha=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}"); shift $(( $# > 0 ? 1 : 0 ))
fi
[ $# -gt 0 ] || set -- bash .ci/run
[ "$(id -u)" = 0 ] || { echo "test-in-vm: needs root" >&2; exit 2; }

for tool in debootstrap:debootstrap qemu-system-x86_64:qemu-system-x86 mkfs.ext4:e2fsprogs; do
  command -v "${tool%%:*}" >/dev/null || apt-get install -y -qq --no-install-recommends "${tool#*:}"
done
mkdir -p "$vm"

make_image() {
  local tree=$vm/tree
  rm -rf "$tree" "$vm/disk.img" "$vm/boot"
  debootstrap --variant=minbase bookworm "$tree" http://deb.debian.org/debian >"$vm/debootstrap.log" 2>&1
  unshare --mount --propagation private bash -c '
    mount -t proc proc "$1/proc"; mount --rbind /sys "$1/sys"; mount --rbind /dev "$1/dev"
    chroot "$1" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends linux-image-amd64 initramfs-tools kmod udev iproute2
  ' - "$tree" >"$vm/kernel.log" 2>&1
  install -m 755 /dev/stdin "$tree/sbin/vortag-init" <<'EOF'
#!/bin/bash
# The machine's only process but the kernel's: mounts what a test run needs, runs /job/run,
# writes its exit code beside it and switches the machine off.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mountpoint -q /proc || mount -t proc proc /proc; mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm; mount -t devpts devpts /dev/pts; mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run; mount -t tmpfs tmpfs /tmp; mount -o remount,rw /
modprobe 9pnet_virtio; modprobe 9p; modprobe virtio_net
mkdir -p /job; mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 job /job
nic=$(ls /sys/class/net | grep -vx lo | head -n 1)
ip link set lo up; ip link set "$nic" up; ip addr add 10.0.2.15/24 dev "$nic"
ip route add default via 10.0.2.2; echo "nameserver 10.0.2.3" >/etc/resolv.conf
status=0; bash /job/run >/job/run.log 2>&1 || status=$?
echo $status >/job/exit; sync; umount /job; mount -o remount,ro /; echo o >/proc/sysrq-trigger
sleep 600  # the switch-off is asynchronous, and init may not end before it
EOF
  cp -a "$tree/boot" "$vm/boot"
  mkfs.ext4 -q -F -L vortag-vm -d "$tree" -E root_owner=0:0 "$vm/disk.img" 32G
  rm -rf "$tree"
}
[ $fresh = 0 ] && [ -f "$vm/disk.img" ] || make_image

# What the machine runs: a clean clone of the revision, or the tree of --builds, copied onto
# its own disk first (Wine and the builds want a local file system, not the shared folder).
# CMake's build folders name their paths in full, so a tree with builds is seen at its path
# on this host; its Wine prefixes stay behind and are made anew, as on a fresh machine.
job=$vm/job
rm -rf "$job"; mkdir -p "$job/src"
if [ -n "$builds" ]; then
  tar -C "$builds" --exclude='./build*/wineprefix' -cf - . | tar -C "$job/src" -xf -
  path=$(printf '%q' "$builds")
  go_there="mkdir -p $path; mount --bind /src $path; cd $path"
else
  git clone -q "$root" "$job/src"; git -C "$job/src" checkout -q "$sha"
  go_there="cd /src"
fi
cat >"$job/run" <<EOF
set -e
rm -rf /src; cp -a /job/src /src; $go_there
echo "test-in-vm: $sha on \$(uname -r)"
$(printf '%q ' "$@")
EOF

# -cpu max without SMAP: with SMAP, the emulator faults on the iret by which 32-bit Wine
# returns from its exception handling, and every 32-bit Wine program dies in wineboot.
qemu-system-x86_64 -machine q35 -accel tcg,thread=multi,tb-size=1024 -cpu max,smap=off \
  -smp "$(nproc)" -m 8G -display none -monitor none -serial "file:$vm/console.log" \
  -kernel "$(ls "$vm"/boot/vmlinuz-* | tail -n 1)" -initrd "$(ls "$vm"/boot/initrd.img-* | tail -n 1)" \
  -append "root=LABEL=vortag-vm rw console=ttyS0 init=/sbin/vortag-init panic=1 quiet" -no-reboot \
  -drive "file=$vm/disk.img,format=raw,if=virtio,cache=unsafe" -nic user,model=virtio-net-pci \
  -virtfs "local,path=$job,mount_tag=job,security_model=none"
cp "$job/run.log" "$vm/run.log"
[ -f "$job/exit" ] || { echo "test-in-vm: the machine stopped before the command ended; see $vm/console.log" >&2; exit 2; }
echo "test-in-vm: exit $(cat "$job/exit"); output: $vm/run.log"
exit "$(cat "$job/exit")"
