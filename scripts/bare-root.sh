#!/usr/bin/env bash
# Runs commands of the README as a newcomer would, inside a bare Debian 12 root made with
# debootstrap (minbase), from this work tree's files (build/ and .git left out). Needs root.
#   bash scripts/bare-root.sh [COMMAND...]     default: "bash scripts/test.sh"
# Kept outside the clone, in $WINREL_BARE_CACHE (default /var/cache/winrel-bare):
#   - the base root's tarball, per suite and mirror, made again after a week;
#   - downloaded packages (apt checks each against the root's fresh index, so a stale one is
#     fetched again, never installed);
#   - the pristine Wine prefix, per installed Wine version and scripts/wine-env.sh.
# X display numbers are machine-wide: the root shares /tmp/.X11-unix, so a private Xvfb in it
# picks a free number.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
[ "$(id -u)" = 0 ] || { echo "bare-root.sh needs root (debootstrap, chroot, mounts)"; exit 1; }
cmds=("$@")
[ ${#cmds[@]} -gt 0 ] || cmds=("bash scripts/test.sh")

cache=${WINREL_BARE_CACHE:-/var/cache/winrel-bare}
suite=bookworm
# The first Debian mirror that apt uses here (deb822 URIs or one-line sources; comments skipped).
sources=(/etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list)
mirror=$(sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?//p' \
           "${sources[@]}" 2>/dev/null | tr ' ' '\n' | grep -E '^https?://.*/debian/?$' | head -1 || true)
mirror=${mirror:-http://deb.debian.org/debian}
mkdir -p "$cache/archives/partial"
base="$cache/base-$suite-minbase-$(printf '%s' "$mirror" | sha256sum | cut -c1-12).tar"
if [ ! -s "$base" ] || [ -n "$(find "$base" -mtime +7)" ]; then
  command -v debootstrap >/dev/null || { apt-get update -qq; apt-get install -y -qq debootstrap >/dev/null; }
  echo "making the base root: debootstrap --variant=minbase $suite $mirror"
  tmp=$(mktemp -d "$cache/debootstrap.XXXXXX") && chmod 755 "$tmp"  # the root's own /: apt's user reads it
  if ! debootstrap --variant=minbase "$suite" "$tmp" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    echo "debootstrap failed: $(tail -1 "$cache/debootstrap.log")"
    rm -rf --one-file-system "$tmp"
    exit 1
  fi
  tar -C "$tmp" -cf "$base.tmp" . && mv "$base.tmp" "$base" && rm -rf --one-file-system "$tmp"
fi

root=$(mktemp -d "$cache/root.XXXXXX") && chmod 755 "$root"
mounts=(proc dev dev/pts tmp/.X11-unix var/cache/apt/archives)
cleanup() {
  local m i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    m=${mounts[i]}
    mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
  done
  # Never delete through a mount of the host's folders: check first, stay on one file system.
  for m in "${mounts[@]}"; do
    mountpoint -q "$root/$m" 2>/dev/null && { echo "$root/$m still mounted"; return; }
  done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mkdir -p "$root/home/user/project" "$root/tmp/.X11-unix" /tmp/.X11-unix
tar -C "$project" --exclude=./build --exclude=./.git -cf - . | tar -C "$root/home/user/project" -xf -
[ -d "$project/../shared" ] && cp -r "$project/../shared" "$root/home/user/shared"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb CI="${CI:-}" \
    bash -c "cd /home/user/project && $1" </dev/null
}
# The pristine prefix belongs to the Wine that setup installs: install first, then look it up.
start=$SECONDS
in_root "bash scripts/setup.sh"
echo "bare root: setup took $((SECONDS - start)) s"
key=$(in_root "dpkg-query -W wine wine64 wine32:i386 libwine:amd64 libwine:i386 fonts-wine 2>/dev/null; \
               sha256sum scripts/wine-env.sh" | sha256sum | cut -c1-16)
prefix_tar="$cache/wineprefix-$key.tar"
if [ -s "$prefix_tar" ]; then
  mkdir -p "$root/var/cache/winrel" && tar -C "$root/var/cache/winrel" -xf "$prefix_tar"
fi
rc=0
for c in "${cmds[@]}"; do
  echo "### bare Debian 12 root: $c"
  start=$SECONDS
  in_root "timeout 3000 $c" || rc=$?
  echo "### exit $rc after $((SECONDS - start)) s"
  [ $rc = 0 ] || break
done
if [ ! -s "$prefix_tar" ] && [ -f "$root/var/cache/winrel/wineprefix/system.reg" ]; then
  tar -C "$root/var/cache/winrel" -cf "$prefix_tar.tmp" wineprefix && mv "$prefix_tar.tmp" "$prefix_tar"
fi
exit $rc
