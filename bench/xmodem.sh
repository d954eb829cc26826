#!/usr/bin/env bash
# XMODEM-1K throughput of `m2ctl update --no-verdict` against lrzsz's `sx -k`, both sending
# an 8 MiB random file to lrzsz's `rx -c` attached through socat (a pty for the sender, a
# socketpair for rx). Three runs each (RUNS=n for more); prints the median wall time, CPU
# time (user+sys) and throughput of each and their ratios, and the context switches each
# makes a block: a stop-and-wait sender sleeps once a block for the answer, and on a virtual
# machine those switches can outweigh everything else a sender does. For scale, the same
# for bench/least_sender.c when cc is there: one write and one blocking read a block and
# nothing else, the floor for any stop-and-wait sender on this machine. When strace is
# there, the system calls each sender makes a block (strace -c -f; a 2 MiB file, and the
# same less a one-block run, which leaves out starting and ending). Then the CPU time m2ctl
# uses while it waits 20 s for a start character that never comes (m2sim --xmodem
# --no-start).
# Usage: bench/xmodem.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
m2ctl=$PWD/$build/bin/m2ctl
m2sim=$PWD/$build/bin/m2sim
for tool in "$m2ctl" "$m2sim" socat rx sx; do
  command -v "$tool" >/dev/null || { echo "xmodem.sh: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
head -c $((8 * 1024 * 1024)) /dev/urandom > image.dlf
least=""
if command -v cc >/dev/null && cc -O2 -o least_sender "$root/bench/least_sender.c" 2>>log.txt; then
  least=$PWD/least_sender
fi
size=$(stat -c %s image.dlf)
runs=${RUNS:-3}

# Starts rx behind socat on ./DEV; the pid is left in $socat_pid.
start_rx() {
  rm -f received.bin DEV
  socat pty,raw,echo=0,link=DEV,wait-slave SYSTEM:'exec rx -c -q received.bin' 2>/dev/null &
  socat_pid=$!
  pids+=("$socat_pid")
  for _ in $(seq 100); do [ -e DEV ] && return 0; sleep 0.05; done
  echo "xmodem.sh: socat did not make its pty" >&2
  exit 1
}

# Runs "$@" against a fresh rx; appends "wall cpu voluntary involuntary" to the file named
# by $1 (the last two are context switches).
measure() {
  local out=$1
  shift
  start_rx
  /usr/bin/time -f "%e %U %S %w %c" -o times.txt "$@" </dev/null >/dev/null 2>>log.txt
  wait "$socat_pid" || true
  cmp -s <(head -c "$size" received.bin) image.dlf || { echo "xmodem.sh: received file differs" >&2; exit 1; }
  tail -n 1 times.txt | awk '{ printf "%s %.3f %s %s\n", $1, $2 + $3, $4, $5 }' >> "$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for _ in $(seq $runs); do
  measure m2ctl.txt "$m2ctl" --device DEV update --no-verdict image.dlf
  measure sx.txt sh -c 'stty -F DEV raw -echo && exec sx -k -q image.dlf <DEV >DEV'
  [ -z "$least" ] || measure least.txt "$least" DEV image.dlf
done

median_of() { cut -d' ' -f"$2" "$1" | median; }
m_wall=$(median_of m2ctl.txt 1) m_cpu=$(median_of m2ctl.txt 2)
s_wall=$(median_of sx.txt 1) s_cpu=$(median_of sx.txt 2)
blocks=$(( (size + 1023) / 1024 ))
switches() {  # FILE: the median run's context switches a block, voluntary and involuntary
  printf "switches a block %4.2f + %4.2f" \
    "$(awk -v b="$blocks" '{ print $3 / b }' "$1" | median)" "$(awk -v b="$blocks" '{ print $4 / b }' "$1" | median)"
}
line() {
  printf "%-14s wall %6.2f s   cpu %6.3f s   %7.1f KiB/s   %s\n" "$1" "$2" "$3" \
    "$(awk -v s="$size" -v w="$2" 'BEGIN { print s / 1024 / w }')" "$(switches "$4")"
}
echo "8 MiB to rx -c over socat, median of $runs runs (rx waits 1 s before acknowledging EOT):"
line "m2ctl update" "$m_wall" "$m_cpu" m2ctl.txt
line "sx -k" "$s_wall" "$s_cpu" sx.txt
if [ -n "$least" ]; then
  l_wall=$(median_of least.txt 1) l_cpu=$(median_of least.txt 2)
  line "least sender" "$l_wall" "$l_cpu" least.txt
fi
awk -v a="$m_wall" -v b="$s_wall" -v c="$m_cpu" -v d="$s_cpu" 'BEGIN {
  printf "m2ctl / sx -k: wall %.2f   throughput %.2f   cpu %.2f\n", a / b, b / a, (d > 0 ? c / d : 0) }'
[ -z "$least" ] || awk -v c="$l_cpu" -v d="$s_cpu" 'BEGIN {
  printf "least sender / sx -k: cpu %.2f (the floor on this machine)\n", (d > 0 ? c / d : 0) }'

# System calls a block: the whole run over its blocks, and the transfer alone (the 2 MiB run
# less a one-block run, over the blocks between them).
strace_calls() {  # FILE COMMAND...: total calls counted by strace -c -f
  local file=$1
  shift
  start_rx
  strace -c -f -o counts.txt "$@" "$file" </dev/null >/dev/null 2>>log.txt
  wait "$socat_pid" || true
  cmp -s <(head -c "$(stat -c %s "$file")" received.bin) "$file" || { echo "xmodem.sh: received file differs under strace" >&2; exit 1; }
  awk '$NF == "total" { print $4 }' counts.txt
}
strace_names() {  # calls a block by name, the frequent ones
  awk -v b="$1" '$NF != "total" && $4 ~ /^[0-9]+$/ && $4 / b >= 0.05 { printf " %s %.2f", $NF, $4 / b }' counts.txt
}
if command -v strace >/dev/null; then
  head -c $((2 * 1024 * 1024)) image.dlf > big.dlf
  head -c 1024 image.dlf > one.dlf
  big_blocks=$(( ($(stat -c %s big.dlf) + 1023) / 1024 ))
  echo "system calls a block (strace -c -f, 2 MiB = $big_blocks blocks; transfer = 2 MiB run less a 1-block run):"
  sx_cmd() { stty -F DEV raw -echo && strace -c -f -o counts.txt sx -k -q "$1" <DEV >DEV; }
  for who in m2ctl sx; do
    if [ "$who" = m2ctl ]; then
      one=$(strace_calls one.dlf "$m2ctl" --device DEV update --no-verdict)
      big=$(strace_calls big.dlf "$m2ctl" --device DEV update --no-verdict)
      label="m2ctl update"
    else
      start_rx; sx_cmd one.dlf 2>>log.txt; wait "$socat_pid" || true
      one=$(awk '$NF == "total" { print $4 }' counts.txt)
      start_rx; sx_cmd big.dlf 2>>log.txt; wait "$socat_pid" || true
      cmp -s <(head -c "$(stat -c %s big.dlf)" received.bin) big.dlf || { echo "xmodem.sh: sx: received file differs" >&2; exit 1; }
      big=$(awk '$NF == "total" { print $4 }' counts.txt)
      label="sx -k"
    fi
    printf "%-14s %6.2f a block over the run (%d calls), %5.2f in the transfer;%s\n" "$label" \
      "$(awk -v c="$big" -v b="$big_blocks" 'BEGIN { print c / b }')" "$big" \
      "$(awk -v c="$big" -v o="$one" -v b="$big_blocks" 'BEGIN { print (c - o) / (b - 1) }')" \
      "$(strace_names "$big_blocks")"
  done
else
  echo "system calls a block: strace is missing"
fi

# Idle: a TA that never asks for the start.
"$m2sim" --link COM1 --xmodem --no-start >/dev/null 2>&1 &
sim_pid=$!
pids+=("$sim_pid")
for _ in $(seq 100); do [ -e COM1 ] && break; sleep 0.05; done
/usr/bin/time -f "%e %U %S" -o idle.txt "$m2ctl" update image.dlf </dev/null >/dev/null 2>idle.log || true
grep -q "ｵﾙﾊﾞﾝﾃM-2KLXからの応答がありません" idle.log || { echo "xmodem.sh: no 52 after the wait" >&2; cat idle.log >&2; exit 1; }
tail -n 1 idle.txt | awk '{ printf "idle wait for the start character: wall %.2f s, cpu %.3f s (goal: under 0.1 s)\n", $1, $2 + $3 }'
