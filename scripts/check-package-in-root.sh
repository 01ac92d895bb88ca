#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian root that has none of the
# build dependencies, and runs the installed manager there:
#   scripts/check-package-in-root.sh [PACKAGE.deb]   (default: build/*.deb)
# Needs root and debootstrap (installed when missing). The fresh root is made
# once with debootstrap (minbase, the release this machine runs, from the
# mirror its apt sources name, or VM_DEBIAN_MIRROR) in
# build-root/base and copied to build-root/run for every check, so each run
# starts clean. Inside it: apt-get install ./PACKAGE.deb (without recommended
# packages: the dependencies alone must do); RiVaVaz --help and
# fsmonitor --help without a display; then RiVaVaz --app-folder on a copy of
# the demo folder on the offscreen platform, closed once loaded, and the
# files it writes on closing checked. Takes a few minutes the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:-$(ls build/*.deb | head -n1)}")
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
# The mirror this machine's own apt sources use for its release (a machine
# that reaches only its own mirror can still make the root).
mirror=${VM_DEBIAN_MIRROR:-$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
  awk -v suite="$suite" '$2 == suite { print $1; exit }')}
[[ -n $mirror ]] || { echo "no apt source of this machine serves $suite; set VM_DEBIAN_MIRROR" >&2; exit 1; }
base=build-root/base
run=build-root/run

if ! command -v debootstrap >/dev/null; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
fi
if [[ ! -x $base/usr/bin/apt-get ]]; then
  echo "== debootstrap $suite into $base"
  rm -rf "$base"
  mkdir -p build-root
  debootstrap --variant=minbase "$suite" "$base" "$mirror" >build-root/debootstrap.log 2>&1 ||
    { tail -20 build-root/debootstrap.log; exit 1; }
fi

cleanup() {
  if mountpoint -q "$run/proc"; then umount "$run/proc"; fi
}
trap cleanup EXIT
cleanup
rm -rf --one-file-system "$run"
cp -a "$base" "$run"
mount -t proc proc "$run/proc"
in_root() { chroot "$run" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== Build dependencies absent from the fresh root"
for p in qt6-base-dev libgtest-dev g++ cmake; do
  if in_root dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    echo "fresh root already has $p" >&2
    exit 1
  fi
done

echo "== apt-get install ./$(basename "$deb")"
cp "$deb" "$run/tmp/"
in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"

echo "== The installed programs"
in_root RiVaVaz --version
in_root RiVaVaz --help | head -n1
in_root fsmonitor --help | head -n1
status=0
in_root RiVaVaz --app-folder /tmp/no-such-folder 2>&1 || status=$?
[[ $status == 2 ]] || { echo "expected exit status 2, got $status" >&2; exit 1; }

cp -a demo "$run/tmp/app"
rm "$run/tmp/app/VmEmailForwardBody.txt"
list="$run/tmp/app/data/VmBoxList.xml"
touch -d 2000-01-01 "$list"
in_root env QT_QPA_PLATFORM=offscreen RiVaVaz --app-folder /tmp/app --close-after-load
[[ $(find "$list" -newermt 2000-01-02) ]] || { echo "the manager did not write $list" >&2; exit 1; }
boxes=$(grep -c '<VoicemailBox ' "$list")
[[ $boxes == $(grep -c '<VoicemailBox ' demo/data/VmBoxList.xml) ]] || { echo "$list lost boxes" >&2; exit 1; }
[[ -f $run/tmp/app/VmEmailForwardBody.txt ]] || { echo "the e-mail body was not written" >&2; exit 1; }
echo "== RiVaVaz ran in the fresh root and wrote the mailbox list ($boxes boxes) and the e-mail body on closing"
