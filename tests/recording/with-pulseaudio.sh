#!/usr/bin/env bash
# Runs a command against a private PulseAudio daemon whose default source is
# the monitor of a null sink, so that what paplay plays into the sink is what
# the default audio input records. PortAudio reaches the daemon through ALSA's
# pulse plugin. Nothing outside a temporary folder is touched.
#
#   with-pulseaudio.sh SINK_RATE COMMAND [ARGS...]
#
# The command sees VENTRIX_PULSE_SINK (the sink to play into), PULSE_SERVER,
# XDG_RUNTIME_DIR and an ALSA configuration whose default device is the daemon.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 SINK_RATE COMMAND [ARGS...]" >&2
  exit 2
fi
rate=$1
shift

work=$(mktemp -d "${TMPDIR:-/tmp}/ventrix-pulse.XXXXXX")
daemon=
cleanup() {
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null || true
    wait "$daemon" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
export HOME="$work/home"
export PULSE_SERVER="unix:$work/run/pulse-native"
export VENTRIX_PULSE_SINK=ventrix_null
# The system's ALSA configuration, then ours: the default device is the daemon.
cat > "$work/asoundrc" <<'ALSA'
pcm.!default { type pulse }
ctl.!default { type pulse }
ALSA
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/asoundrc"
# A JACK server the user may run must not stand in for the daemon.
export JACK_NO_START_SERVER=1
export JACK_DEFAULT_SERVER=ventrix-none

# As root the daemon warns that it is meant for a session user; it works all the same.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  --log-level=error --log-target=stderr \
  -L "module-null-sink sink_name=$VENTRIX_PULSE_SINK rate=$rate" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/pulse-native" \
  2> >(grep -v "not intended to be run as root" >&2) &
daemon=$!

for _ in $(seq 1 100); do
  pactl info >/dev/null 2>&1 && break
  if ! kill -0 "$daemon" 2>/dev/null; then
    echo "$0: pulseaudio did not start" >&2
    exit 1
  fi
  sleep 0.1
done
pactl set-default-sink "$VENTRIX_PULSE_SINK"
pactl set-default-source "$VENTRIX_PULSE_SINK.monitor"

"$@"
