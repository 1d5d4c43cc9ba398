#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Further package names given as arguments (tools of one make target) are added; those after
# --optional are installed when Debian has them, and their absence is no failure (Wine).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-multimedia-dev
    nlohmann-json3-dev libical-dev # JSON output; iCalendar out (--agenda) and in (--import)
    libgtest-dev libbenchmark-dev
    qt6-translations-l10n fonts-noto-cjk xvfb xauth
    librsvg2-bin # rsvg-convert draws the PNG icons from the SVG
    # the install test checks the menu entry, AppStream data, manual page and completion
    desktop-file-utils appstream mandoc bash-completion
    python3-icalendar khal # two more iCalendar readers check the agenda feed
)
optional=()
while [ $# -gt 0 ]; do
    if [ "$1" = --optional ]; then
        shift
        optional+=("$@")
        break
    fi
    packages+=("$1")
    shift
done

missing_of() {
    local p
    for p in "$@"; do
        if ! dpkg -s "$p" >/dev/null 2>&1; then echo "$p"; fi
    done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t wanted < <(missing_of "${optional[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#wanted[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "Please run as root: apt-get update && apt-get install -y --no-install-recommends ${missing[*]} ${wanted[*]}" >&2
    [ ${#missing[@]} -eq 0 ] && exit 0
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ ${#wanted[@]} -gt 0 ]; then
    echo "Installing if available: ${wanted[*]}"
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${wanted[@]}" ||
        echo "Not installed: ${wanted[*]} (carrying on without)" >&2
fi
