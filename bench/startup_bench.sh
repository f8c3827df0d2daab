#!/usr/bin/env bash
# How soon Scribo, cvlc and Parlatype are ready after being asked to open a file (see
# startup_bench.cpp), on a private X server and session bus. VLC refuses to run as root, so as
# root everything runs as the user benchuser (created once if missing).
#
# Usage: bench/startup_bench.sh [BUILD_DIR [ROUNDS [BASELINE_SCRIBO]]]   (build-bench, 7)
# Needs: tools/setup-debian --bench and the targets scribo and startup_bench built.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${1:-$source_dir/build-bench}" && pwd)
rounds=${2:-7}
baseline=()
[[ -n ${3:-} ]] && baseline=(--baseline "$(realpath "$3")")
command=("$source_dir/tools/with-display" "$build_dir/bench/startup_bench" --scribo
    "$build_dir/scribo" --settings "$source_dir/data/Scribo.inf" --rounds "$rounds" "${baseline[@]}")
echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs);" \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ $(id -u) -eq 0 ]]; then
    id benchuser >/dev/null 2>&1 || useradd -m benchuser
    cd /tmp
    exec runuser -u benchuser -- env TMPDIR=/tmp "${command[@]}"
fi
exec "${command[@]}"
