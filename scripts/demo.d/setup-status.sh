#!/usr/bin/env bash
# M2Setup's status dialogs, the hidden simple terminal and the version dialog against the
# simulator, by keyboard: the view menu's three dialogs (clearing TEL2's accumulated charge on
# the way), Ctrl then T in the PC settings list, ATI4 typed into the terminal, the help menu's
# version dialog. Then the TA goes away while the terminal is open: the program stays idle
# and the next key reports that the port cannot be opened. Sourced by scripts/demo.
caption="$setup_caption"

# command_count TEXT: how many times the simulator has received the command TEXT.
command_count() { grep -cxF "$1" "$work/commands.log" 2>/dev/null || true; }
# count_wait TEXT N: waits up to 20 s until the simulator has received TEXT N times.
count_wait() {
  for _ in $(seq 200); do [ "$(command_count "$1")" -ge "$2" ] && return 0; sleep 0.1; done
  echo "demo: the TA did not receive $1 $2 times" >&2
  return 1
}
# cpu_ticks PID: user + system clock ticks the process has used.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# open_terminal: Tab from the first list (which has the focus) to the PC settings list, then
# Ctrl and T.
open_terminal() {
  keys Tab
  keys ctrl+t
  window_wait "簡易ﾀｰﾐﾅﾙ"
}

gui_start
echo "== M2Setup: status dialogs, simple terminal, version information"
sim_start
app_start M2Setup
window_wait "$caption"
log_wait ATI3
keys alt+v m
window_wait "通信料金の表示"
log_wait 'AT$B'
keys alt+b
log_wait 'AT$B2'
shot setup-charges
keys Return
window_gone "通信料金の表示"
keys alt+v s
window_wait "通信状態の表示"
log_wait 'AT$C'
shot setup-call-status
keys Return
window_gone "通信状態の表示"
keys alt+v l
window_wait "回線状態/信号線状態の表示"
log_wait 'ATS115?'
shot setup-line-status
keys Return
window_gone "回線状態/信号線状態の表示"

open_terminal
type_text "ATI4"
keys Return
count_wait ATI4 2
shot setup-terminal
keys Escape
window_gone "簡易ﾀｰﾐﾅﾙ"

window_wait "$caption"
keys alt+h a
window_wait "ﾊﾞｰｼﾞｮﾝ情報"
shot setup-about
keys Return
window_gone "ﾊﾞｰｼﾞｮﾝ情報"
window_wait "$caption"
keys Escape
app_wait_exit M2Setup
echo "(commands the TA received:)"
tr '\n' ' ' <commands.log
echo

echo "== M2Setup: the TA goes away while the terminal is open"
sim_start
app_start M2Setup
window_wait "$caption"
log_wait ATI3
open_terminal
# As if unplugged: the device vanishes, its name stays behind.
kill -KILL "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""
pid="${app_pids[-1]}"
before=$(cpu_ticks "$pid")
sleep 2
after=$(cpu_ticks "$pid")
echo "M2Setup used $((after - before)) clock ticks of CPU in the 2 s after the TA went away"
window_wait "簡易ﾀｰﾐﾅﾙ"
type_text "A"
window_wait "ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ "
shot setup-terminal-ta-gone
keys Return
window_wait "簡易ﾀｰﾐﾅﾙ"
keys Escape
window_wait "$caption"
keys Escape
app_wait_exit M2Setup
