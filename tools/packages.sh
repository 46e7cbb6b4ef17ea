#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named on
# the command line, when they are missing.
set -euo pipefail

packages=(
    "$@"
    cmake g++ make pkgconf
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-translations-l10n qt6-qpa-plugins libgl-dev
    qt6-charts-dev
    fonts-noto-cjk adwaita-icon-theme
    libbenchmark-dev libsodium-dev libssl-dev
    xvfb xauth xdotool wmctrl openbox x11-utils imagemagick desktop-file-utils strace poppler-utils
    weston qt6-wayland
    fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus-daemon python3
    at-spi2-core python3-pyatspi python3-nacl
    syncthing curl jq
    dpkg-dev mmdebstrap lintian appstream
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

