#!/usr/bin/env bash
# Tries Tintor as a newcomer would on a fresh Debian: a minbase system of that
# release with only git and make added, a clone of this repository's committed
# HEAD (or FRESH_DEBIAN_REF), and `make TARGET` in it (default: test); several
# targets run one after the other in the same system, e.g. `run deb test`.
#   scripts/fresh-debian.sh RELEASE [TARGET]...     e.g. bookworm, trixie
# run starts the window on a virtual X screen of this machine (Xvfb, xdotool and
# ImageMagick here), waits for it, keeps a screenshot and closes it; deb
# installs the package it made and starts it.
# Needs root and debootstrap. The system is made once per release under
# FRESH_DEBIAN_DIR (default /work/chroots) as RELEASE-base and copied anew for
# every run into RELEASE, so each run starts from the same fresh system;
# FRESH_DEBIAN_REBUILD=1 makes the base again. Not part of `make test`.
set -euo pipefail

# All in one function, read whole before it runs: a change to this file while
# a trial runs does not reach the running one.
main() {

release=${1:?usage: $0 RELEASE [TARGET]...}
shift
targets=("${@:-test}")
top=${FRESH_DEBIAN_DIR:-/work/chroots}
mirror=${FRESH_DEBIAN_MIRROR:-http://deb.debian.org/debian}
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse --verify "${FRESH_DEBIAN_REF:-HEAD}^{commit}")
base=$top/$release-base
root=$top/$release
log=$top/$release.log
say() { echo "fresh-debian: $*" >&2; }

rm -f "$log"
[ "$(id -u)" -eq 0 ] || { say "needs root (debootstrap, chroot, mount)"; exit 1; }
case $repo/ in "$top"/*) say "keep $top outside the repository"; exit 1 ;; esac
case $top/ in "$repo"/*) say "keep $top outside the repository"; exit 1 ;; esac
mkdir -p "$top"
start=$(date +%s)

if [ "${FRESH_DEBIAN_REBUILD:-0}" = 1 ] || [ ! -e "$base/.complete" ]; then
  say "making a minbase $release in $base"
  rm -rf --one-file-system "$base"
  debootstrap --variant=minbase --include=git,make "$release" "$base" "$mirror"
  # What an installed system finds in its sources too: updates and security fixes.
  cat >"$base/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
EOF
  # Packages installed in the chroot start no services.
  printf '#!/bin/sh\nexit 101\n' >"$base/usr/sbin/policy-rc.d"
  chmod 755 "$base/usr/sbin/policy-rc.d"
  touch "$base/.complete"
fi

mounts=()
cleanup() {
  local status=$?
  [ -z "${app_pid:-}" ] || kill -- "-$app_pid" 2>/dev/null || true
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" || say "cannot unmount ${mounts[i]}"
  done
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mount_in() {  # mount_in WHERE MOUNT-ARGUMENTS...: mounted, and unmounted at exit
  local where=$root$1; shift
  mkdir -p "$where"
  mount "$@" "$where"
  mounts+=("$where")
  # What is bound from this machine gets this machine's mounts and changes, never gives any.
  [ "$1" != --rbind ] || mount --make-rslave "$where"
}

# A trial ended by force may have left this machine's /dev and /sys mounted in
# the old copy: never delete through them.
if findmnt -rno TARGET | grep -q "^$root/"; then
  say "$root still has mounts (a trial ended by force?): unmount them first"; exit 1
fi
say "copying $base to $root"
rm -rf --one-file-system "$root"
cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet --no-hardlinks --no-checkout "$repo" "$root/root/tintor"
git -C "$root/root/tintor" checkout --quiet --detach "$commit"

mount_in /proc -t proc proc
mount_in /sys --rbind /sys
mount_in /dev --rbind /dev  # with /dev/pts and /dev/shm

# The trial runs at niceness 10 (more when started so), beside others' work.
niceness=$(nice)
nice_by=$((niceness < 10 ? 10 - niceness : 0))
in_chroot() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin ${DISPLAY:+DISPLAY=$DISPLAY} \
    nice -n "$nice_by" bash -c "cd /root/tintor && $1"
}

elapsed() { local t=$(($(date +%s) - $1)); echo "$((t / 60)) min $((t % 60)) s"; }

# `make run` on a screen of this machine's, its socket shared with the chroot:
# waits for the window (the build comes first), keeps a screenshot, closes it.
make_run() {
  local display=99 window="" shot=$top/$release-run.png status=0
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  mount_in /tmp/.X11-unix --bind /tmp/.X11-unix
  set -m  # the make and the program it starts in a process group of their own
  DISPLAY=:$display in_chroot "make run" >>"$log" 2>&1 &
  app_pid=$!
  set +m
  while kill -0 "$app_pid" 2>/dev/null; do
    window=$(DISPLAY=:$display xdotool search --onlyvisible --class tintor 2>/dev/null | head -1) &&
      [ -n "$window" ] && break
    sleep 1
  done
  [ -n "$window" ] || { tail -20 "$log" >&2; say "$release: make run ended without a window"; return 1; }
  sleep 1  # its first frame
  DISPLAY=:$display import -window "$window" "$shot"
  DISPLAY=:$display xdotool windowclose "$window"
  wait "$app_pid" || status=$?
  app_pid=""
  say "$release: make run showed a $(identify -format '%wx%h' "$shot") window ($shot); closed, make exit $status"
  return "$status"
}

say "$release: ${targets[*]} on $(git -C "$repo" log -1 --format='%h %s' "$commit"); log: $log"
for target in "${targets[@]}"; do
  echo "=== make $target" >>"$log"
  began=$(date +%s)
  status=0
  case $target in
    run) make_run || status=$? ;;
    # The package, installed as a user would, then started.
    deb) in_chroot "make deb && apt-get install -y -qq ./build-deb/tintor_*.deb && tintor --help >/dev/null" \
           >>"$log" 2>&1 || status=$? ;;
    *) in_chroot "make $target" >>"$log" 2>&1 || status=$? ;;
  esac
  grep -E '^[0-9]+% tests passed|tests failed out of' "$log" | tail -2 >&2 || true
  say "$release: make $target exit $status in $(elapsed "$began")"
  [ "$status" -eq 0 ] || break
done
say "$release: all in $(elapsed "$start")"
exit "$status"
}
main "$@"
