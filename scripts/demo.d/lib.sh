#!/usr/bin/env bash
# What the demo parts share: a scratch folder, the simulator linked as ./COM1 in it, and for
# the GUI parts a display (Xvfb with a window manager when there is none), keys sent with
# xdotool and screenshots saved to demo-out/. Sourced by scripts/demo; expects $root and $bin.

work="$root/demo-run"
shots="$root/demo-out"
sim_pid=""
xvfb_pid=""
wm_pid=""

demo_cleanup() {
  sim_stop
  apps_stop
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  true
}
trap demo_cleanup EXIT

# A fresh scratch folder as the current directory.
work_reset() {
  rm -rf "$work"
  mkdir -p "$work" "$shots"
  cd "$work"
}

sim_stop() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    sim_pid=""
  fi
  true
}

# sim_start [m2sim options]: the simulated TA on ./COM1 (./$sim_link when set), its commands
# logged to commands.log.
sim_start() {
  sim_stop
  rm -f "$work/sim.out"
  "$bin/m2sim" --link "${sim_link:-COM1}" --log "$work/commands.log" "$@" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
  cat "$work/sim.out"
}

# A display for the GUI parts: the user's own, else Xvfb with openbox for window frames.
gui_start() {
  mkdir -p "$shots"
  if [ -n "${DISPLAY:-}" ] && [ -z "$xvfb_pid" ]; then return; fi
  [ -n "$xvfb_pid" ] && return
  local n=77
  while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  xsetroot -solid '#3a6ea5' 2>/dev/null || true
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 0.5
}

app_pids=()
# app_start PROGRAM: runs build/bin/PROGRAM in the scratch folder.
app_start() {
  "$bin/$1" >"$work/$1.out" 2>&1 &
  app_pids+=($!)
}
apps_stop() {
  local p
  for p in "${app_pids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  app_pids=()
  true
}
# app_wait_exit: waits up to 20 s for the last started program to end by itself.
app_wait_exit() {
  local p="${app_pids[-1]}"
  for _ in $(seq 200); do kill -0 "$p" 2>/dev/null || { wait "$p" 2>/dev/null; app_pids=("${app_pids[@]:0:${#app_pids[@]}-1}"); return 0; }; sleep 0.1; done
  echo "demo: $1 did not end" >&2
  return 1
}

# window_wait TITLE: waits up to 20 s for a window with exactly this title and focuses it.
window_wait() {
  local id=""
  for _ in $(seq 200); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | tail -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "demo: no window \"$1\"" >&2; return 1; }
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  sleep 0.3
}
# focus_wait TITLE: waits up to 20 s until the keyboard focus is in the window with exactly
# this title. A window can be found (and even be active) before the focus has reached it;
# keys typed in between go to the window below.
focus_wait() {
  local name
  for _ in $(seq 200); do
    name=$(xdotool getwindowfocus getwindowname 2>/dev/null) && [ "$name" = "$1" ] && return 0
    sleep 0.1
  done
  echo "demo: the focus never reached \"$1\"" >&2
  return 1
}
# window_gone TITLE: waits up to 20 s until no window has this title.
window_gone() {
  for _ in $(seq 200); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "demo: window \"$1\" stayed" >&2
  return 1
}
# log_wait TEXT: waits up to 20 s for the simulator to have received the command TEXT.
log_wait() {
  for _ in $(seq 200); do grep -qxF "$1" "$work/commands.log" 2>/dev/null && return 0; sleep 0.1; done
  echo "demo: the TA never received $1" >&2
  return 1
}

# M2Setup's main window and its read from the TA (Return, Alt+Y), for the setup parts.
setup_caption="ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ Ver. 1.10"
setup_read_from_ta() {
  keys Return
  window_wait "ｵﾙﾊﾞﾝﾃM-2KLXから読み込み：確認"
  keys alt+y
  log_wait 'AT$W'
  window_gone "ｵﾙﾊﾞﾝﾃM-2KLXから読み込み：確認"
  window_wait "$setup_caption"
}

keys() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
# Characters missing from the keyboard (kana, kanji) each get a spare keycode of their own
# for the rest of the session. Left to itself, xdotool maps such a character to a spare key
# for the moment of one keystroke and restores the key at once; a program that reads the
# changed keymap only after the restore loses the character.
declare -A keymap_added=()
keymap_add() {
  local text="$1" i c code
  for ((i = 0; i < ${#text}; i++)); do
    c="${text:i:1}"
    [ "$(printf '%d' "'$c")" -lt 128 ] && continue
    [ -n "${keymap_added[$c]:-}" ] && continue
    code=$(xmodmap -pke | awk '$1 == "keycode" && NF == 3 && $2 > 8 && !code { code = $2 } END { print code }')
    [ -n "$code" ] || { echo "demo: no spare keycode for $c" >&2; return 1; }
    xmodmap -e "keycode $code = $(printf 'U%04X' "'$c")"
    keymap_added[$c]=$code
  done
}
type_text() {
  local text="$1" i
  keymap_add "$text"
  for ((i = 0; i < ${#text}; i++)); do
    xdotool type --clearmodifiers "${text:i:1}"
    sleep 0.1
  done
  sleep 0.2
}
# shot NAME: the screen, trimmed to the windows on it, saved as demo-out/NAME.png.
shot() {
  import -window root "$shots/$1.png" 2>/dev/null
  convert "$shots/$1.png" -trim +repage "$shots/$1.png" 2>/dev/null || true
  echo "screenshot: demo-out/$1.png"
}
