#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks and builds the program into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-declarative-dev
          qt6-webengine-dev-tools qt6-svg-dev qt6-image-formats-plugins libgl-dev
          qt6-l10n-tools qt6-tools-dev  # lupdate and lrelease, and their CMake functions
          libqt6sql6-sqlite  # the posting history database
          libqt6sql6-psql libpq-dev  # a team's shared round on a PostgreSQL server
          postgresql-15  # the team tests and benchmark run a server of their own
          libpsl-dev publicsuffix  # which sites are one: the public suffix list
          qt6-translations-l10n  # Qt's own dialog buttons in the user's language
          xvfb xauth xdotool imagemagick fonts-noto-cjk dbus-x11
          clang-format  # the test command checks the formatting
          clang libclang-rt-14-dev)  # the fuzz targets: clang++ with libFuzzer
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Compiler warnings are errors, as the test command needs them: run.sh and
# test.sh build with the same flags, so one after the other rebuilds nothing.
# QVB_WERROR=OFF builds despite a newer compiler's new warnings.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVB_WERROR="${QVB_WERROR:-ON}" >/dev/null
cmake --build build -j"$(nproc)"
