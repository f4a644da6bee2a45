#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the Debian package and the screenshots need,
# but only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config libgtest-dev libgmock-dev nlohmann-json3-dev
  qt6-base-dev qt6-serialport-dev qt6-translations-l10n
  xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation2 dpkg-dev
  python3-jsonschema lintian appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
