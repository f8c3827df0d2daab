#!/usr/bin/env bash
# Runs a command with a PulseAudio server of its own whose only sink is a null sink (audio played
# there is thrown away, and its monitor can be recorded), and stops the server afterwards.
#
#   bench/with_pulse_null_sink.sh COMMAND [ARGUMENT...]
#
# The server runs as the user benchuser (created once when run as root, as cost_of_playing.sh
# does for VLC), with its socket in a temporary folder open to every local user, so that root and
# benchuser play to the same sink; PULSE_SERVER tells the command where. No session, no D-Bus and
# no sound card are needed; a server already running for the session is left alone.
set -euo pipefail

if (($# == 0)); then
    echo "usage: $0 COMMAND [ARGUMENT...]" >&2
    exit 2
fi
command -v pulseaudio >/dev/null || { echo "with_pulse_null_sink: pulseaudio is missing" >&2; exit 1; }

as_server=()
if [[ $(id -u) -eq 0 ]]; then
    id benchuser >/dev/null 2>&1 || useradd -m benchuser
    as_server=(runuser -u benchuser --)
fi
pulse=$(mktemp -d /tmp/scribo-pulse.XXXXXX)
server_pid=
cleanup() {
    if [[ -n $server_pid ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$pulse"
}
trap cleanup EXIT
mkdir -p "$pulse/home"
cat >"$pulse/default.pa" <<END_OF_CONFIG
load-module module-null-sink sink_name=bench rate=44100 sink_properties=device.description=bench
set-default-sink bench
load-module module-native-protocol-unix auth-anonymous=1 socket=$pulse/native
END_OF_CONFIG
chmod 755 "$pulse"
[[ ${#as_server[@]} -eq 0 ]] || chown -R benchuser "$pulse"
# The server's own folders go into the temporary one (it refuses a runtime folder owned by
# another user); -n skips the system's default.pa with its sound card and session modules.
"${as_server[@]}" env HOME="$pulse/home" XDG_RUNTIME_DIR="$pulse/home" \
    XDG_CONFIG_HOME="$pulse/home" DBUS_SESSION_BUS_ADDRESS=disabled: \
    pulseaudio -n -F "$pulse/default.pa" --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --log-target=file:"$pulse/log" &
server_pid=$!
export PULSE_SERVER=unix:$pulse/native
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
if ! pactl info >/dev/null 2>&1; then
    echo "with_pulse_null_sink: the PulseAudio server did not start:" >&2
    cat "$pulse/log" >&2 2>/dev/null || true
    exit 1
fi
status=0
"$@" || status=$?
exit "$status"
