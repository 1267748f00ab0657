#!/usr/bin/env bash
# Runs a test program against the desktop's calendar service, run for real and headless: its
# registry and calendar factory on a private session bus of their own (beside this build's
# quorvel-sync), with a home of their own holding one local calendar "Team". Skipped (exit 77)
# where evolution-data-server is not installed.
# Usage: [QUORVEL_EDS_PERSONAL=FILE.ics] tst_eds.sh BUILD-DIR PROGRAM [ARGS...]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
registry=/usr/libexec/evolution-source-registry
for need in dbus-run-session dbus-send "$registry" /usr/libexec/evolution-calendar-factory; do
  command -v "$need" >/dev/null || [ -x "$need" ] || { echo "SKIPPED: $need is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The service reads these once, when the bus starts it: they must be set before the bus.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache GSETTINGS_BACKEND=memory QUORVEL_PROFILE=
export TZ=Europe/Berlin
# In the sanitizer build: the service's client library leaks on a thread of its own, in frames
# the fast unwinder cannot walk; the slow one reaches the frame its suppression names.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
mkdir -p "$XDG_CONFIG_HOME/evolution/sources" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
cat >"$XDG_CONFIG_HOME/evolution/sources/team.source" <<SOURCE
[Data Source]
DisplayName=Team
Enabled=true
Parent=local-stub

[Calendar]
BackendName=local
Color=#62a0ea
SOURCE
# A calendar for the user's own ("Personal"), when one is given (the benchmarks' large one).
if [ -n "${QUORVEL_EDS_PERSONAL:-}" ]; then
  mkdir -p "$XDG_DATA_HOME/evolution/calendar/system"
  cp "$QUORVEL_EDS_PERSONAL" "$XDG_DATA_HOME/evolution/calendar/system/calendar.ics"
fi
# The system's service files start the registry and the calendar factory; ours, quorvel-sync.
sed 's#<servicedir>#<standard_session_servicedirs/>\n  <servicedir>#' \
  "$build/dbus/session.conf" >"$work/session.conf"
grep -q standard_session_servicedirs "$work/session.conf"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
# The planner reaches the service only where it runs: started here as a desktop session would.
dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
  org.freedesktop.DBus.StartServiceByName string:org.gnome.evolution.dataserver.Sources5 uint32:0 \
  >/dev/null
exec "$@"
SESSION
chmod +x "$work/session.sh"
dbus-run-session --config-file="$work/session.conf" -- "$work/session.sh" "$@"
