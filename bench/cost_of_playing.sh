#!/usr/bin/env bash
# What playing costs, Scribo against mpv and VLC, on the same generated 10-minute MP3 in one run:
# CPU seconds (user + system) and peak resident memory of each process, with ratios to mpv.
# With --pulse, everything plays through PulseAudio to a null sink (a server of its own, started
# by bench/with_pulse_null_sink.sh), the ratios are to VLC's, and Parlatype takes part too:
#
#   parlatype    parlatype FILE on a private X server (tools/with-display), started playing after
#                3 s through its window's "play" action over D-Bus (org.gtk.Actions), ended
#                SECONDS later (only when parlatype, Xvfb and gdbus are there)
#
#   mpv          mpv --no-video --ao=null, playing SECONDS
#   vlc          cvlc -A dummy --no-video, playing SECONDS (as the user benchuser when run as root:
#                VLC refuses to run as root; the user is created once if missing)
#   scribo-play  bench/play_cost_bench: the window and player as main.cpp builds them, offscreen;
#                start-up restores the MP3 at 0.001 s, PlayPause() starts it after the length
#                probe, and it plays SECONDS
#   scribo-idle  the real scribo binary, offscreen, its own folder and settings file, left paused
#                after the probe for SECONDS (in a private session bus, as on a desktop)
#   scribo-mpris the real scribo binary again, started playing over MPRIS with playerctl after
#                the probe (only when playerctl and dbus-run-session are there)
#
# CPU seconds of the same work vary by a third between runs on a shared virtual machine, so the
# players take turns for ROUNDS rounds, and the median of the rounds' ratios is reported.
#
# Usage: bench/cost_of_playing.sh [--pulse] [BUILD_DIR [SECONDS [ROUNDS]]]   (build-bench, 60, 3)
# Needs: tools/setup-debian --bench (mpv, vlc-bin, vlc-plugin-base, time) and a Release build of
# the targets scribo and play_cost_bench. Takes about 5.5 x SECONDS x ROUNDS.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
pulse=
if [[ ${1:-} == --pulse ]]; then
    shift
    # Once more, inside a PulseAudio server of its own.
    [[ -n ${SCRIBO_BENCH_PULSE:-} ]] ||
        SCRIBO_BENCH_PULSE=1 exec "$source_dir/bench/with_pulse_null_sink.sh" "$0" --pulse "$@"
    pulse=1
fi
build_dir=$(cd "${1:-$source_dir/build-bench}" && pwd)
seconds=${2:-60}
rounds=${3:-3}
for tool in /usr/bin/time mpv cvlc ffmpeg "$build_dir/scribo" "$build_dir/bench/play_cost_bench"; do
    if ! command -v "$tool" >/dev/null; then
        echo "cost_of_playing: $tool is missing" >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/scribo-cost.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
media=$work/tone.mp3
ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i "sine=frequency=440:duration=600" \
    -ac 2 -ar 44100 -b:a 128k "$media"
chmod 644 "$media"

# A program folder whose settings file names the MP3 at 0.001 s (the CR LF lines kept).
settings() {
    mkdir -p "$1"
    sed -e "s|^File=[^\r]*|File=$media|" -e "s|^Position=[^\r]*|Position=0.001|" \
        "$source_dir/data/Scribo.inf" >"$1/Scribo.inf"
}

calc() { awk "BEGIN { printf \"%.6f\", $* }"; }
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
names=(mpv vlc scribo-play scribo-idle scribo-mpris parlatype)
reference=mpv
[[ -z $pulse ]] || reference=vlc
declare -A cpu rss

# record NAME ROUND STATS: keeps the CPU seconds and peak RSS that GNU time wrote to STATS. A
# process ended by a signal gets a "Command terminated" line before the numbers.
record() {
    [[ -s $3 ]] || return 0
    local user system peak
    read -r user system peak < <(tail -n 1 "$3")
    cpu[$1:$2]=$(calc "$user + $system")
    rss[$1:$2]=$peak
}

# measure NAME ROUND COMMAND...: runs COMMAND under GNU time.
measure() {
    local name=$1 round=$2
    shift 2
    echo "  $name: $*" >&2
    rm -f "$work/$name.time"
    /usr/bin/time -f "%U %S %M" -o "$work/$name.time" "$@" >"$work/$name.out" \
        2>"$work/$name.err" || true
    record "$name" "$round" "$work/$name.time"
}

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "$(awk '/MemTotal/ {printf "%.1f GiB RAM", $2 / 1048576}' /proc/meminfo)," \
    "$(uname -r); load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Versions: $(mpv --version | head -n 1 | cut -d' ' -f1-2)," \
    "libmpv $(dpkg-query -W -f '${Version}' libmpv2 2>/dev/null)," \
    "VLC $(dpkg-query -W -f '${Version}' vlc-bin 2>/dev/null)," \
    "Qt $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null)"
echo "Media: 10-minute 440 Hz MP3, 44.1 kHz stereo 128 kbit/s; each plays $seconds s," \
    "$rounds rounds; audio output: $([[ -n $pulse ]] && echo "PulseAudio, null sink" || echo "none")"

settings "$work/bench"
# The real binary reads the settings file beside itself.
settings "$work/real"
cp "$build_dir/scribo" "$work/real/scribo"
bus=()
command -v dbus-run-session >/dev/null && bus=(dbus-run-session --)
if [[ -n $pulse ]]; then
    mpv_ao=pulse
    vlc=(cvlc -A pulse --no-video --play-and-exit --run-time="$seconds" "$media")
else
    mpv_ao=null
    vlc=(cvlc -A dummy --no-video --play-and-exit --run-time="$seconds" "$media")
fi
if [[ $(id -u) -eq 0 ]]; then
    id benchuser >/dev/null 2>&1 || useradd -m benchuser
    mkdir -p "$work/vlc" && chown benchuser "$work/vlc"
fi
# Starts scribo, plays it over MPRIS once its length probe is done, ends it SECONDS later.
cat >"$work/mpris.sh" <<END_OF_SCRIPT
#!/usr/bin/env bash
QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%U %S %M" -o "$work/scribo-mpris.time" \\
    timeout -s TERM $((seconds + 4)) "$work/real/scribo" >"$work/scribo-mpris.out" 2>&1 &
sleep 3
playerctl --player=scribo play
playerctl --player=scribo status >"$work/scribo-mpris.status" 2>&1
wait
END_OF_SCRIPT
chmod +x "$work/mpris.sh"
# Starts parlatype with the file, plays it through its window's action once it is up.
cat >"$work/parlatype.sh" <<END_OF_SCRIPT
#!/usr/bin/env bash
/usr/bin/time -f "%U %S %M" -o "$work/parlatype.time" \
    timeout -s TERM $((seconds + 3)) parlatype "$media" >"$work/parlatype.out" 2>&1 &
sleep 3
gdbus call --session --dest org.parlatype.Parlatype --object-path /org/parlatype/Parlatype/window/1 \
    --method org.gtk.Actions.Activate play [] {} >"$work/parlatype.status" 2>&1
wait
END_OF_SCRIPT
chmod +x "$work/parlatype.sh"

for ((round = 1; round <= rounds; ++round)); do
    echo "Round $round:" >&2
    measure mpv "$round" mpv --no-video --ao="$mpv_ao" --end="$seconds" "$media"

    if [[ $(id -u) -eq 0 ]]; then
        # GNU time runs as benchuser too, so that it measures VLC alone.
        echo "  vlc: ${vlc[*]} (as benchuser)" >&2
        rm -f "$work/vlc/vlc.time"
        (cd "$work/vlc" && runuser -u benchuser -- env ${PULSE_SERVER:+PULSE_SERVER=$PULSE_SERVER} \
            /usr/bin/time -f "%U %S %M" \
            -o "$work/vlc/vlc.time" "${vlc[@]}" >"$work/vlc.out" 2>"$work/vlc.err") || true
        record vlc "$round" "$work/vlc/vlc.time"
    else
        measure vlc "$round" "${vlc[@]}"
    fi

    QT_QPA_PLATFORM=offscreen measure scribo-play "$round" "$build_dir/bench/play_cost_bench" \
        --seconds "$seconds" --breakdown "$work/bench"
    if ! grep -q '^cpu_user_s=' "$work/scribo-play.out"; then
        echo "cost_of_playing: play_cost_bench failed:" >&2
        cat "$work/scribo-play.err" >&2
    fi
    cp "$work/scribo-play.out" "$work/scribo-play.$round.out"

    QT_QPA_PLATFORM=offscreen measure scribo-idle "$round" "${bus[@]}" \
        timeout -s TERM $((seconds + 2)) "$work/real/scribo"

    if command -v playerctl >/dev/null && ((${#bus[@]})); then
        echo "  scribo-mpris: scribo, then playerctl --player=scribo play" >&2
        rm -f "$work/scribo-mpris.time" "$work/scribo-mpris.status"
        dbus-run-session -- "$work/mpris.sh" 2>/dev/null || true
        record scribo-mpris "$round" "$work/scribo-mpris.time"
        echo "  scribo-mpris status after play: $(cat "$work/scribo-mpris.status" 2>/dev/null)" >&2
    fi

    if [[ -n $pulse ]] && command -v parlatype >/dev/null && command -v gdbus >/dev/null; then
        echo "  parlatype: parlatype, then its window's play action over D-Bus" >&2
        rm -f "$work/parlatype.time" "$work/parlatype.status"
        "$source_dir/tools/with-display" "$work/parlatype.sh" >/dev/null 2>&1 || true
        record parlatype "$round" "$work/parlatype.time"
        echo "  parlatype play action: $(cat "$work/parlatype.status" 2>/dev/null)" >&2
    fi
done

echo
echo "Load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "CPU seconds and their ratio to $reference's in the same round" \
    "(and the median ratio to Parlatype's, when it took part):"
# column NAME OTHER: the median over the rounds of NAME's CPU seconds / OTHER's.
median_ratio() {
    local round ratios=()
    for ((round = 1; round <= rounds; ++round)); do
        ratios+=("$(calc "${cpu[$1:$round]:-0} / ${cpu[$2:$round]}")")
    done
    printf '%s\n' "${ratios[@]}" | median
}
with_parlatype=
[[ -n ${cpu[parlatype:1]:-} ]] && with_parlatype=1
printf '%-13s' process
for ((round = 1; round <= rounds; ++round)); do printf '   round %-6s' "$round"; done
printf '   median ratio'
[[ -z $with_parlatype ]] || printf '   / parlatype'
printf '\n'
for name in "${names[@]}"; do
    [[ -n ${cpu[$name:1]:-} ]] || continue
    printf '%-13s' "$name"
    for ((round = 1; round <= rounds; ++round)); do
        printf '   %5.2f %5.2f' "${cpu[$name:$round]:-0}" \
            "$(calc "${cpu[$name:$round]:-0} / ${cpu[$reference:$round]}")"
    done
    printf '   %5.2f' "$(median_ratio "$name" "$reference")"
    [[ -z $with_parlatype ]] || printf '          %5.2f' "$(median_ratio "$name" parlatype)"
    printf '\n'
done
echo
echo "Peak resident memory, the largest over the rounds:"
printf '%-13s %9s %7s\n' process MiB "/ $reference"
reference_peak=0
for ((round = 1; round <= rounds; ++round)); do
    ((${rss[$reference:$round]} > reference_peak)) && reference_peak=${rss[$reference:$round]}
done
for name in "${names[@]}"; do
    [[ -n ${rss[$name:1]:-} ]] || continue
    peak=0
    for ((round = 1; round <= rounds; ++round)); do
        ((${rss[$name:$round]:-0} > peak)) && peak=${rss[$name:$round]}
    done
    printf '%-13s %9.1f %7.2f\n' "$name" "$(calc "$peak / 1024")" "$(calc "$peak / $reference_peak")"
done
echo
echo "play_cost_bench's own account, last round:"
cat "$work/scribo-play.$rounds.out"
