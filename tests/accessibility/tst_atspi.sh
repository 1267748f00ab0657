#!/usr/bin/env bash
# A screen reader's view of the planner, read from outside its process over the accessibility
# bus: the demo year under Xvfb, its grid a table of days named by their appointments, its legend
# a list of categories. Skipped (exit 77) where the machine lacks Xvfb, the bus or pyatspi.
# Usage: tst_atspi.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
for need in Xvfb dbus-run-session "$launcher"; do
  command -v "$need" >/dev/null || { echo "SKIPPED: $need is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "SKIPPED: python3-pyatspi is not installed"; exit 77; }

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$src/examples/store" "$work/store"
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export LC_ALL=C.UTF-8 TZ=Europe/Berlin QUORVEL_PROFILE=
# In the sanitizer build: the X keymap library hands strndup a buffer without a terminating nul,
# which the strict string checks take for an overflow.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"

exec 3>"$work/display"
# -noreset: a server with no clients left resets, and a client connecting meanwhile (the planner,
# just as the accessibility launcher lets go of the display) is turned away.
Xvfb -displayfd 3 -noreset -screen 0 1400x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "SKIPPED: Xvfb did not start"; cat "$work/xvfb.log"; exit 77; }
export DISPLAY=":$(cat "$work/display")"

cat >"$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -euo pipefail
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$build/host/quorvel" \\
  --store "$work/store" --all-events --year 2026 --window-size 1300x850 >"$work/quorvel.log" 2>&1 &
/usr/bin/python3 "$work/read.py" && rc=0 || rc=\$?
kill \$(jobs -p) 2>/dev/null || true
exit \$rc
SESSION
cat >"$work/read.py" <<'PY'
import sys, time
import pyatspi

def find(node, role, depth=0):
    if node is None or depth > 30:
        return None
    if node.getRole() == role:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role, depth + 1)
        if found:
            return found
    return None

# Until the planner is up and its year read: a day of two appointments names both.
want = "Monday, 16 March 2026: Release 4.2 hardening (Project), Team stand-up (Team)"
table = name = None
deadline = time.time() + 30
while time.time() < deadline:
    try:
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Quorvel"]
        table = find(apps[0], pyatspi.ROLE_TABLE) if apps else None
        if table:
            name = table.queryTable().getAccessibleAt(2, 15).name
            if name == want:
                break
    except Exception as e:  # the window is still being built
        name = repr(e)
    time.sleep(0.5)
failed = []
def check(what, got, wanted):
    if got != wanted:
        failed.append(f"{what}: {got!r}, wanted {wanted!r}")
if not table:
    print("FAILED: no table in the planner's accessible tree")
    sys.exit(1)
t = table.queryTable()
check("the 16th of March", name, want)
check("table", (table.name, t.nRows, t.nColumns), ("Year 2026", 12, 37))
check("row header", t.getRowDescription(2), "March")
check("column header", t.getColumnDescription(1), "Monday")
check("a column outside February", t.getAccessibleAt(1, 36).name, "")
legend = find(apps[0], pyatspi.ROLE_LIST)
names = [legend.getChildAtIndex(i).name for i in range(legend.childCount)] if legend else []
check("legend", names[:3], ["Holiday", "Travel", "Project"])
for f in failed:
    print("FAILED:", f)
sys.exit(1 if failed else 0)
PY
chmod +x "$work/session.sh"
# In a process group of its own: the services the buses started go with it, and none keeps the
# test's output open.
rc=0
setsid dbus-run-session --config-file="$build/dbus/session.conf" "$work/session.sh" \
  >"$work/session.log" 2>&1 </dev/null &
session=$!
wait "$session" || rc=$?
kill -- "-$session" 2>/dev/null || true
grep -v '^dbus-daemon' "$work/session.log" || true
if [ "$rc" -ne 0 ]; then
  echo "--- quorvel's output"; cat "$work/quorvel.log"
  echo "--- Xvfb on $DISPLAY"; cat "$work/xvfb.log"
  echo "--- the accessibility bus launcher"; cat "$work/launcher.log" 2>/dev/null || true
fi
exit "$rc"
