#!/usr/bin/env bash
# Start-up against a bare Qt Widgets program: builds both, then starts the bare program
# (one 1030 x 662 PNG in a frameless window) and this program (simulated mouse) in turn
# N times on a virtual screen, and prints the medians of the time to the first visible
# window and of the resident memory, and their ratios.
#
#   bash bench/startup.sh [N]        (N starts of each, default 5, after one warm-up each)
#
# What is measured (bench/startup/FirstWindow.cpp): from just before the program is
# started to the moment its first window of at least 200 x 200 pixels is mapped AND has
# content drawn on the screen (its middle row read back from the X server is no longer the
# black root beneath); the resident memory (VmRSS) is read 1 s after that. Every start
# runs in a network namespace of its own (unshare -n, needs root), so the program's
# single-instance rule never meets another instance.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
settle_ms=1000

cmake --build build --parallel 4 --target vtrm408x bench_bare_window bench_first_window >/dev/null
picture=build/generated/skin/L1_BackGround.png
[ -f "$picture" ] || { echo "startup.sh: $picture is missing (build the program first)" >&2; exit 1; }

# A virtual screen of our own: Xvfb picks a free display number and tells it on fd 3.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -br -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
runtime_dir=
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$display_file" $runtime_dir' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.05; done
[ -s "$display_file" ] || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"
unset QT_QPA_PLATFORM
runtime_dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime_dir

bare=(unshare -n build/bench/bench_bare_window "$picture")
program=(env VTRM408X_SIMULATE=1 unshare -n build/vtrm408x)
start() { build/bench/bench_first_window "$settle_ms" "$@"; }

start "${bare[@]}" >/dev/null
start "${program[@]}" >/dev/null
bare_figures=()
program_figures=()
for i in $(seq "$runs"); do
  bare_figures+=("$(start "${bare[@]}")")
  program_figures+=("$(start "${program[@]}")")
  echo "start $i: bare ${bare_figures[-1]}; program ${program_figures[-1]}" >&2
done

# median <key> <line>...: the median of the key's values in the lines.
median() {
  local key=$1
  shift
  printf '%s\n' "$@" | sed -n "s/.*$key=\([0-9.]*\).*/\1/p" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare_ms=$(median first_window_ms "${bare_figures[@]}")
program_ms=$(median first_window_ms "${program_figures[@]}")
bare_kb=$(median rss_kb "${bare_figures[@]}")
program_kb=$(median rss_kb "${program_figures[@]}")
awk -v bm="$bare_ms" -v pm="$program_ms" -v bk="$bare_kb" -v pk="$program_kb" -v n="$runs" 'BEGIN {
  printf "medians of %d starts          first window   memory (RSS)\n", n
  printf "bare Qt program, one PNG      %9.1f ms   %8.1f MB\n", bm, bk / 1024
  printf "this program, simulated mouse %9.1f ms   %8.1f MB\n", pm, pk / 1024
  printf "ratio                         %9.2f x    %8.2f x\n", pm / bm, pk / bk
}'
