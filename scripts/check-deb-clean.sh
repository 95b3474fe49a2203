#!/usr/bin/env bash
# Proves that the Debian package installs and starts on a clean Debian 12:
#
#   sudo scripts/check-deb-clean.sh <root-folder> [package.deb] [mirror]
#
# Bootstraps a minimal bookworm into <root-folder> (kept when it already holds
# one), installs the package with apt and no recommended packages (so only its
# Depends count), checks that every library of the executable, the browser's
# helper process and the Qt plugins is found, validates the desktop file and
# the metainfo, then starts the program as a non-root user under Xvfb, waits
# for "qvbzevi ready", takes a screenshot, ends it with SIGTERM and checks that
# its data landed in ~/.local/share/QVBzevi/config/.
#
# Needs root, debootstrap and the network mirror; takes a few minutes. Not part
# of the test suite. RECOMMENDS=1 installs the recommended packages as well.
# Exits 0 when every check passed.
set -euo pipefail

if [ $# -lt 1 ] || [ "$(id -u)" -ne 0 ]; then
    echo "usage (as root): $0 <root-folder> [package.deb] [mirror]" >&2
    exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "$1")
deb=${2:-$(ls -t "$repo"/build*/qvbzevi_*.deb 2>/dev/null | head -n 1 || true)}
# The mirror this machine's own apt uses, else Debian's.
mirror=${3:-$(grep -rhoE 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ \
              2>/dev/null | head -n 1 | tr -d ' ' || true)}
mirror=${mirror:-http://deb.debian.org/debian}
shot=${SHOT:-$root/qvbzevi-screenshot.png}
user=writer

[ -f "$deb" ] || { echo "no package: build it with 'cpack -G DEB' in a build folder" >&2; exit 2; }
case "$root/" in "$repo"/*) echo "the root folder must lie outside the repository" >&2; exit 2 ;; esac
command -v debootstrap >/dev/null || apt-get install -y debootstrap

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
                HOME=/root /bin/sh -c "$1"; }

if [ ! -x "$root/usr/bin/apt-get" ]; then
    echo "== debootstrap bookworm from $mirror into $root"
    nice -n 19 debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
        || { echo "debootstrap failed, see $root.debootstrap.log" >&2; exit 1; }
    rm -f "$root.debootstrap.log"
    base=${mirror%/debian*}
    printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n' \
        "$mirror" "$mirror" "$base/debian-security" >"$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# Mounts the browser engine needs: /dev/shm must be a writable tmpfs.
mounted=()
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || umount -l "${mounted[i]}"; done
}
trap cleanup EXIT
mount_in() {  # <mount arguments...> <target inside the root>
    local target=$root${*: -1}
    mountpoint -q "$target" && return 0
    mount "${@:1:$#-1}" "$target"
    mounted+=("$target")
}
mount_in -t proc proc /proc
mount_in -t sysfs sysfs /sys
mount_in --bind /dev /dev
mount_in --bind /dev/pts /dev/pts
mount_in -t tmpfs -o mode=1777,nosuid,nodev shm /dev/shm

echo "== install $(basename "$deb")"
cp "$deb" "$root/tmp/"
# A kept root folder: the package of an earlier run goes first (its dependencies stay,
# so only a fresh folder proves the Depends complete).
in_root "dpkg -s qvbzevi >/dev/null 2>&1 && dpkg --purge qvbzevi >/dev/null" || true
recommends=--no-install-recommends
[ "${RECOMMENDS:-0}" = 1 ] && recommends=""
in_root "nice -n 19 apt-get update -q >/tmp/apt-update.log 2>&1" || fail "apt-get update (see $root/tmp/apt-update.log)"
if in_root "nice -n 19 apt-get install -y -q $recommends /tmp/$(basename "$deb") >/tmp/apt-install.log 2>&1"; then
    pass "apt-get install $recommends $(basename "$deb")"
    grep -E 'newly installed|After this operation' "$root/tmp/apt-install.log" || true
else
    fail "apt-get install (see $root/tmp/apt-install.log)"; exit 1
fi
in_root "dpkg-query -W -f='\${Installed-Size} KiB installed, version \${Version}\n' qvbzevi"

echo "== files and libraries"
for f in /usr/bin/qvbzevi /usr/share/applications/com.qvbzevi.QVBzevi.desktop \
         /usr/share/icons/hicolor/scalable/apps/qvbzevi.svg /usr/share/metainfo/com.qvbzevi.QVBzevi.metainfo.xml; do
    if in_root "dpkg -L qvbzevi | grep -qx '$f' && test -s '$f'"; then pass "installed $f"; else fail "missing $f"; fi
done
# Before anything else is installed: every library the package itself needs.
missing=$(in_root 'for f in /usr/bin/qvbzevi /usr/lib/qt6/libexec/QtWebEngineProcess \
                       $(find /usr/lib/*/qt6/plugins -name "*.so"); do
                       ldd "$f" 2>/dev/null | grep "not found" | sed "s|^|$f: |"; done' || true)
if [ -z "$missing" ]; then pass "no library missing (executable, helper process, Qt plugins)"
else fail "libraries missing:"; echo "$missing"; fi

echo "== tools for the check: Xvfb, xwd, validators"
in_root "nice -n 19 apt-get install -y -q --no-install-recommends xvfb xauth x11-apps \
         desktop-file-utils appstream >/tmp/apt-tools.log 2>&1" || { fail "installing the tools"; exit 1; }
if in_root "desktop-file-validate /usr/share/applications/com.qvbzevi.QVBzevi.desktop"; then pass "desktop-file-validate"
else fail "desktop-file-validate"; fi
if in_root "appstreamcli validate --no-net /usr/share/metainfo/com.qvbzevi.QVBzevi.metainfo.xml"; then pass "appstreamcli validate"
else fail "appstreamcli validate"; fi

echo "== start as $user under Xvfb"
in_root "id -u $user >/dev/null 2>&1 || useradd -m -s /bin/sh $user"
home=$root/home/$user
rm -rf "$home/.local/share/QVBzevi" "$root/tmp/qvb.out" "$root/tmp/qvb.err" "$root/tmp/qvb.pid"
# The X socket's abstract name is shared with the host: a display free on both.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "$root/tmp/.X$display-lock" ] || \
      grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix; do display=$((display + 1)); done
chroot "$root" /usr/bin/Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$root/tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "$root/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
started=$(date +%s.%N)
# The sandbox of the browser engine cannot work inside a chroot.
chroot "$root" /bin/su - "$user" -c "cd && echo \$\$ >/tmp/qvb.pid && DISPLAY=:$display \
    QTWEBENGINE_DISABLE_SANDBOX=1 QVB_REPORT_READY=1 exec /usr/bin/qvbzevi" \
    >"$root/tmp/qvb.out" 2>"$root/tmp/qvb.err" &
su_pid=$!
ready=""
for _ in $(seq 600); do
    grep -q "qvbzevi ready" "$root/tmp/qvb.out" 2>/dev/null && { ready=$(date +%s.%N); break; }
    kill -0 "$su_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -n "$ready" ]; then
    pass "qvbzevi ready after $(awk -v a="$started" -v b="$ready" 'BEGIN { printf "%.1f", b - a }') s"
    sleep 3  # the window fades in
    if in_root "DISPLAY=:$display xwd -root -silent >/tmp/qvbzevi.xwd"; then
        if command -v convert >/dev/null && convert "$root/tmp/qvbzevi.xwd" "$shot"; then
            pass "screenshot $shot"
        else
            pass "screenshot $root/tmp/qvbzevi.xwd"
        fi
    else
        fail "screenshot"
    fi
    app_pid=$(cat "$root/tmp/qvb.pid")
    kill -TERM "$app_pid"
    for _ in $(seq 200); do kill -0 "$su_pid" 2>/dev/null || break; sleep 0.1; done
fi
if kill -0 "$su_pid" 2>/dev/null; then
    fail "qvbzevi did not end; killing it"; kill -KILL "$(cat "$root/tmp/qvb.pid")" 2>/dev/null || true
fi
status=0; wait "$su_pid" || status=$?
[ -n "$ready" ] || { fail "qvbzevi never reported ready (exit status $status); its errors:"; cat "$root/tmp/qvb.err"; }
if [ -n "$ready" ]; then
    if [ "$status" -eq 0 ]; then pass "ended by SIGTERM with status 0"; else fail "exit status $status"; fi
fi

echo "== data folder"
config=$home/.local/share/QVBzevi/config
in_root "ls -la /home/$user/.local/share/QVBzevi/config" || true
if [ -s "$config/defualt.ini" ] && [ "$(stat -c %u "$config/defualt.ini")" = "$(in_root "id -u $user")" ]; then
    pass "defualt.ini saved in ~$user/.local/share/QVBzevi/config/"
else
    fail "no defualt.ini in ~$user/.local/share/QVBzevi/config/"
fi
if [ "$(stat -c %a "$config" 2>/dev/null)" = 700 ]; then pass "data folder is owner-only"
else fail "data folder is not owner-only"; fi

echo "== $failures check(s) failed"
[ "$failures" -eq 0 ]
