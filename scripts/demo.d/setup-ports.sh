#!/usr/bin/env bash
# Which device a COM number opens, by keyboard: the simulator is linked as COM1 with
# `m2ctl ports link`; M2Setup's PC port sheet shows COM1's device, then COM2's (none), and
# the device chooser links a detected device to COM2. Sourced by scripts/demo.
caption="$setup_caption"
sheet="ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"
gui_start
echo "== M2Setup: the device behind a COM number"
sim_link=sim-pty sim_start
sim_link=""
"$bin/m2ctl" ports link COM1 "$(readlink sim-pty)"
"$bin/m2ctl" ports
app_start M2Setup
window_wait "$caption"
log_wait ATI3

keys alt+s p
window_wait "$sheet"
shot setup-ports-com1
# The COM drop-down has the focus: COM2, which has no link here.
keys Down
shot setup-ports-com2
keys alt+d
window_wait "ﾃﾞﾊﾞｲｽの選択"
shot setup-ports-chooser
if "$bin/m2ctl" ports --json | grep -q '"path"'; then
  keys Return
  window_gone "ﾃﾞﾊﾞｲｽの選択"
  window_wait "$sheet"
  shot setup-ports-linked
  ls -l COM2
else
  echo "(no serial device detected on this machine: nothing to link)"
  keys Escape
fi
window_wait "$sheet"
keys Escape
window_gone "$sheet"

# Nothing was changed: the window closes without the exit question.
window_wait "$caption"
keys Escape
app_wait_exit M2Setup
