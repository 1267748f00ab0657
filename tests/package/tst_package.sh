#!/usr/bin/env bash
# The Debian package, built by cpack from this build, unpacked into a scratch root with dpkg -x:
# its files are where a system looks for them, and its programs run from there on the demo store.
# Usage: tst_package.sh BUILD-DIRECTORY
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/packages/quorvel_*_amd64.deb)
info=$(dpkg-deb --info "$deb")
grep -q '^ Depends: .*libqt6widgets6' <<<"$info" || fail "no Qt dependency worked out"
dpkg -x "$deb" "$root/fs"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
echo "$(basename "$deb"): $(grep -vc '/$' <<<"$contents") files"
outside=$(grep -v '^\./usr/' <<<"$contents" | grep -v '^\./$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
for f in bin/quorvel bin/quorvel-setup bin/quorvel-sync bin/quorvel-render bin/quorvel-list bin/quorvel-import \
         bin/quorvel-export bin/quorvel-cache lib/quorvel/libQuorvelControl.so \
         share/applications/quorvel.desktop share/applications/quorvel-setup.desktop \
         share/icons/hicolor/scalable/apps/quorvel.svg share/quorvel/setup/QuorvelControl.htm \
         share/quorvel/setup/QuorvelControl.cab share/quorvel/demo/.quorvel-store share/doc/quorvel/index.html; do
  [ -e "$root/fs/usr/$f" ] || fail "missing /usr/$f"
done
grep -qx 'Exec=/usr/bin/quorvel-sync' "$root/fs/usr/share/dbus-1/services/org.quorvel.QuorvelSync.service" ||
  fail "the D-Bus activation file does not name /usr/bin/quorvel-sync"
for tool in quorvel quorvel-setup quorvel-sync quorvel-render quorvel-list quorvel-import quorvel-export quorvel-cache; do
  page=$(zcat "$root/fs/usr/share/man/man1/$tool.1.gz")
  grep -q "^\.TH ${tool^^} 1" <<<"$page" || fail "no manual page for $tool"
done
# The programs find their library in the package, not in the build.
linked=$(ldd "$root/fs/usr/bin/quorvel")
grep -q "$root/fs/usr/bin/../lib/quorvel/libQuorvelControl.so" <<<"$linked" ||
  fail "quorvel does not load the packaged library: $(grep Quorvel <<<"$linked")"

demo="$root/fs/usr/share/quorvel/demo"
rows=$("$root/fs/usr/bin/quorvel-list" --store "$demo" 'Personal Folders\Calendar' 2026-01-01 2026-12-31 | wc -l)
[ "$rows" -gt 100 ] || fail "quorvel-list listed $rows appointments of the demo year"
echo "quorvel-list: $rows appointments in the demo year"
QT_QPA_PLATFORM=offscreen "$root/fs/usr/bin/quorvel-render" --store "$demo" --year 2026 --subjects "$root/year.png"
[ "$(head -c 8 "$root/year.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "no PNG drawn"
QT_QPA_PLATFORM=offscreen "$root/fs/usr/bin/quorvel-render" --store "$demo" --year 2026 --pages "$root/pages.pdf"
head -c 4 "$root/pages.pdf" | grep -q '%PDF' || fail "no pages printed"
properties=$(QT_QPA_PLATFORM=offscreen "$root/fs/usr/bin/quorvel" --store "$demo" --print-properties)
grep -qx 'Folder=Personal Folders\\Calendar' <<<"$properties" || fail "the planner host did not start from the package: $properties"
echo "package ok"
