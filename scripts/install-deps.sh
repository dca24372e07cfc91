#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those missing.
# Further packages a job needs can be named as arguments. `file` and dpkg-dev
# (dpkg-shlibdeps) are what `make package` needs to build the Debian package;
# python3-sklearn ships the digits data the neural benchmark and tests use,
# doxygen builds the neural reference (`make docs`); qt6-wayland lets the
# program open its window under a Wayland compositor, and weston with
# libweston-10-dev run it under one in the end-to-end test (the test builds a
# weston module that types for it); libsqlite3-dev keeps the history of play;
# gettext compiles the translations, and Qt's own texts (standard buttons,
# the file dialog) come from qt6-translations-l10n; lintian, appstream and
# desktop-file-utils check the package.
set -eu
packages=(cmake ninja-build g++ libgtest-dev pkg-config
  qt6-base-dev qt6-svg-dev qt6-wayland weston libweston-10-dev kdegames-card-data-kf5 fonts-liberation xvfb xauth
  xdotool imagemagick
  file dpkg-dev python3-sklearn doxygen libsqlite3-dev gettext qt6-translations-l10n
  lintian appstream desktop-file-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
