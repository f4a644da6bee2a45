#!/usr/bin/env bash
# Checks the Debian package that `cmake --build BUILD --target package` made: it holds the programs, the
# desktop entry, the MIME type of the settings files, the manual pages, the shell completion and the icons;
# its Depends were computed; and the programs extracted from it run: orbctl --version, and orbctl show on a
# settings file that the packaged orbctl made itself.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# The newest package, should an older version lie beside it.
package=$(ls -t "$build"/orb_*.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "check-package: no $build/orb_*.deb; make it with: cmake --build $build --target package" >&2; exit 1; }
failed=0
fail() { echo "check-package: $*" >&2; failed=1; }

contents=$(dpkg-deb --contents "$package" | awk '{print $NF}' | sed 's|^\./|/|')
for path in \
  /usr/bin/orb /usr/bin/orbctl /usr/bin/orbsim \
  /usr/share/applications/orb.desktop \
  /usr/share/mime/packages/orb.xml \
  /usr/share/man/man1/orb.1 /usr/share/man/man1/orbctl.1 \
  /usr/share/bash-completion/completions/orbctl \
  /usr/share/icons/hicolor/scalable/apps/orb.svg \
  /usr/share/icons/hicolor/16x16/apps/orb.png /usr/share/icons/hicolor/48x48/apps/orb.png \
  /usr/share/icons/hicolor/256x256/apps/orb.png; do
  grep -qxF "$path" <<<"$contents" || fail "$package lacks $path"
done

depends=$(dpkg-deb --field "$package" Depends)
grep -q 'libqt6serialport6' <<<"$depends" || fail "Depends were not computed from the programs: '$depends'"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"

mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/orb.xml")
grep -qx "MimeType=$mime_type;" "$root/usr/share/applications/orb.desktop" ||
  fail "the desktop entry does not declare the MIME type '$mime_type'"
grep -qx 'Exec=orb %f' "$root/usr/share/applications/orb.desktop" || fail "the desktop entry does not pass the file"

orbctl=$root/usr/bin/orbctl
expected_version="orbctl $(dpkg-deb --field "$package" Version)"
version=$("$orbctl" --version)
[ "$version" = "$expected_version" ] || fail "orbctl --version printed '$version', not '$expected_version'"

echo '{"tabJmenoStanice": "Chata"}' >"$root/settings.json"
"$orbctl" import "$root/settings.json" -o "$root/settings.eep"
"$orbctl" show "$root/settings.eep" | grep -qx 'Jméno stanice: Chata' || fail "orbctl show did not print the settings"

[ $failed -eq 0 ] && echo "check-package: $package holds and runs what an installation needs"
exit $failed
