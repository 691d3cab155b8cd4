#!/usr/bin/env bash
# Measures the CPU the running editor costs while the built-in phrase loops through the
# effect: `emberfall editor` in a private virtual X screen (Xvfb) at a scale factor, per
# thread over a window of seconds, from the utime + stime ticks in /proc/PID/task/*/stat
# sampled after a warm-up and again at the end. Prints one line per thread (name, % of one
# core) and the process total.
#   scripts/editor-cpu.sh BUILD_DIR [SCALE=1] [SECONDS=10]
set -euo pipefail
build=${1:?build folder}
scale=${2:-1}
seconds=${3:-10}
warmup=3
exe="$build/bin/emberfall"
[ -x "$exe" ] || { echo "no $exe" >&2; exit 1; }

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null)
xvfb=$!
read -r -t 15 number <&3 || { echo "Xvfb did not start" >&2; exit 1; }
trap 'kill $xvfb 2>/dev/null || true; [ -n "${editor:-}" ] && kill $editor 2>/dev/null || true' EXIT

DISPLAY=":$number" SDL_VIDEODRIVER=x11 EMBERFALL_SCALE="$scale" SDL_AUDIODRIVER=dummy \
    "$exe" editor --seconds $((warmup + seconds + 5)) >/dev/null 2>&1 &
editor=$!
sleep "$warmup"

ticks() { # tid -> utime + stime
    local stat
    stat=$(cat "/proc/$editor/task/$1/stat" 2>/dev/null) || { echo 0; return; }
    stat=${stat##*) } # fields after the command name
    set -- $stat
    echo $(( ${12} + ${13} ))
}
declare -A before names
for task in /proc/$editor/task/*; do
    tid=${task##*/}
    before[$tid]=$(ticks "$tid")
    names[$tid]=$(cat "$task/comm" 2>/dev/null || echo "?")
done
start=$(date +%s.%N)
sleep "$seconds"
end=$(date +%s.%N)
hz=$(getconf CLK_TCK)
total=0
lines=""
for tid in "${!before[@]}"; do
    after=$(ticks "$tid")
    used=$(( after - before[$tid] ))
    total=$(( total + used ))
    role=$([ "$tid" = "$editor" ] && echo "main" || echo "other")
    lines+=$(awk -v n="${names[$tid]}" -v r="$role" -v u="$used" -v hz="$hz" -v s="$start" -v e="$end" \
        'BEGIN { if (u > 0 || r == "main") printf "%6.1f %%  %-6s %s\n", 100 * u / hz / (e - s), r, n }')
    lines+=$'\n'
done
printf "%s" "$lines" | sed '/^$/d' | sort -rn
awk -v u="$total" -v hz="$hz" -v s="$start" -v e="$end" \
    'BEGIN { printf "%6.1f %%  process total\n", 100 * u / hz / (e - s) }'
