#!/usr/bin/env bash
# Checks the Debian package that `cmake --build BUILD --target package` made: it holds the programs, the
# desktop entry, the MIME type of the settings files, the AppStream metadata (valid to appstreamcli), the
# manual pages (English and Czech), the shell completion, the icons, the copyright and the changelog; its
# Depends were computed; lintian finds no
# error, no warning and no program without the hardening flags (BIND_NOW, fortified functions); and the programs
# extracted from it run: orbctl --version, and orbctl show on a settings file that the packaged orbctl
# made itself.
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
  /usr/share/metainfo/org.example.orb.metainfo.xml \
  /usr/share/man/man1/orb.1.gz /usr/share/man/man1/orbctl.1.gz /usr/share/man/man1/orbsim.1.gz \
  /usr/share/man/cs/man1/orb.1.gz /usr/share/man/cs/man1/orbctl.1.gz /usr/share/man/cs/man1/orbsim.1.gz \
  /usr/share/doc/orb/copyright /usr/share/doc/orb/changelog.gz \
  /usr/share/bash-completion/completions/orbctl \
  /usr/share/icons/hicolor/scalable/apps/orb.svg \
  /usr/share/icons/hicolor/16x16/apps/orb.png /usr/share/icons/hicolor/48x48/apps/orb.png \
  /usr/share/icons/hicolor/256x256/apps/orb.png; do
  grep -qxF "$path" <<<"$contents" || fail "$package lacks $path"
done

depends=$(dpkg-deb --field "$package" Depends)
grep -q 'libqt6serialport6' <<<"$depends" || fail "Depends were not computed from the programs: '$depends'"

# Errors and warnings fail the check; lintian's informational tags are printed for whoever reads on.
lintian_tags=$(lintian -I --pedantic "$package" 2>&1 | grep -v 'running with root privileges' || true)
[ -n "$lintian_tags" ] && echo "$lintian_tags"
grep -q '^[EW]: ' <<<"$lintian_tags" && fail "lintian finds errors or warnings in $package"
# Lintian's own look at the hardening: a C library call left unfortified, or no BIND_NOW.
grep -q 'hardening-' <<<"$lintian_tags" && fail "lintian finds programs without the hardening flags"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"

mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/orb.xml")
grep -qx "MimeType=$mime_type;" "$root/usr/share/applications/orb.desktop" ||
  fail "the desktop entry does not declare the MIME type '$mime_type'"
grep -qx 'Exec=orb %f' "$root/usr/share/applications/orb.desktop" || fail "the desktop entry does not pass the file"

# Software centres list the program from its AppStream metadata; a network is not needed to check it.
appstream_report=$(appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.orb.metainfo.xml" 2>&1) ||
  fail "appstreamcli finds the metadata invalid: $appstream_report"

# (Each listing is read whole first: grep -q leaving early would break the pipe under pipefail.)
for program in orb orbctl orbsim; do
  dynamic=$(readelf -d "$root/usr/bin/$program")
  grep -q 'BIND_NOW' <<<"$dynamic" || fail "$program is not linked with BIND_NOW"
done
# The window calls the C library only through Qt; the command line's formatting is fortified.
symbols=$(nm -D "$root/usr/bin/orbctl")
grep -q '__[a-z_]*_chk' <<<"$symbols" || fail "orbctl uses no fortified function"

orbctl=$root/usr/bin/orbctl
expected_version="orbctl $(dpkg-deb --field "$package" Version)"
version=$("$orbctl" --version)
[ "$version" = "$expected_version" ] || fail "orbctl --version printed '$version', not '$expected_version'"

echo '{"tabJmenoStanice": "Chata"}' >"$root/settings.json"
"$orbctl" import "$root/settings.json" -o "$root/settings.eep"
"$orbctl" show "$root/settings.eep" | grep -qx 'Jméno stanice: Chata' || fail "orbctl show did not print the settings"

[ $failed -eq 0 ] && echo "check-package: $package holds and runs what an installation needs"
exit $failed
