#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the package check and the
# demo need, when any is missing. Needs root (or sudo) on a fresh machine.
# The mail tests run a python3 stand-in for sendmail and a local SMTP server
# (aiosmtpd); forwarding sends through libcurl; the package check needs
# dpkg-shlibdeps and file (dpkg-dev, file), the desktop entry and AppStream
# validators, man to render the manual pages, lintian, and hardening-check
# (devscripts) to show the binaries' hardening; the format and tidy checks
# need clang-format and clang-tidy.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth clang libclang-rt-dev python3
          dpkg-dev file desktop-file-utils appstream man-db groff-base lintian devscripts clang-format clang-tidy
          libcurl4-openssl-dev python3-aiosmtpd)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
