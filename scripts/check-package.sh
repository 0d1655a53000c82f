#!/usr/bin/env bash
# Builds the Debian package from an existing build folder, unpacks it into a
# temporary root and checks the installed tree: the program runs from there,
# the launcher and the metainfo are valid, the udev rule parses.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$BUILD" && cpack -G DEB -B "$root/pkg" >/dev/null)
deb=$(ls "$root"/pkg/lumetra_*.deb)
dpkg-deb --field "$deb" Depends | grep -q libftdi1 || { echo "package: no computed Depends" >&2; exit 1; }
dpkg -x "$deb" "$root/tree"
usr="$root/tree/usr"

"$usr/bin/lumetra" --help >/dev/null
for f in bin/lumetra bin/lumetra-window share/doc/lumetra/Helplumi.html share/icons/hicolor/scalable/apps/lumetra.svg \
         share/icons/hicolor/48x48/apps/lumetra.png lib/udev/rules.d/60-lumetra-ftdi.rules \
         ../etc/security/limits.d/95-lumetra-realtime.conf; do
  [ -e "$usr/$f" ] || { echo "package: $f missing" >&2; exit 1; }
done
# The service units parse and start the installed program (checked where it
# was unpacked).
for unit in lib/systemd/system/lumetra@.service lib/systemd/user/lumetra.service; do
  [ -e "$usr/$unit" ] || { echo "package: $unit missing" >&2; exit 1; }
  grep -q '^ExecStart=/usr/bin/lumetra --headless' "$usr/$unit" || { echo "package: $unit starts no player" >&2; exit 1; }
  if command -v systemd-analyze >/dev/null; then
    sed "s|^ExecStart=/usr/bin/|ExecStart=$usr/bin/|" "$usr/$unit" > "$root/$(basename "$unit")"
    systemd-analyze verify --man=no "$root/$(basename "$unit")"
  fi
done
desktop-file-validate "$usr/share/applications/org.lumetra.Lumetra.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.lumetra.Lumetra.metainfo.xml" >/dev/null

rules="$usr/lib/udev/rules.d/60-lumetra-ftdi.rules"
if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
  udevadm verify --no-style "$rules" >/dev/null
else
  # Without udevadm: every rule is comma separated KEY op "value" pairs.
  pair='[A-Z_]+(\{[^}]*\})?[[:space:]]*(==|!=|\+=|-=|:=|=)[[:space:]]*"[^"]*"'
  bad=$(grep -vE '^[[:space:]]*(#|$)' "$rules" | grep -vE "^[[:space:]]*$pair([[:space:]]*,[[:space:]]*$pair)*[[:space:]]*$" || true)
  [ -z "$bad" ] || { echo "udev rule does not parse: $bad" >&2; exit 1; }
fi
# limits.conf lines: domain type item value, the items ours.
limits="$root/tree/etc/security/limits.d/95-lumetra-realtime.conf"
bad=$(grep -vE '^[[:space:]]*(#|$)' "$limits" |
  grep -vE '^@audio[[:space:]]+(-|soft|hard)[[:space:]]+(rtprio|memlock)[[:space:]]+([0-9]+|unlimited)[[:space:]]*$' || true)
[ -z "$bad" ] || { echo "limits file does not parse: $bad" >&2; exit 1; }
echo "package: ok"
