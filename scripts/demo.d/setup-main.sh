#!/usr/bin/env bash
# M2Setup's main window against the simulator, by keyboard alone: read the configuration
# from the TA (Return, Alt+Y), look at the defaults question, then leave with saving
# (Escape, Alt+Y). Sourced by scripts/demo.
caption="$setup_caption"
gui_start
echo "== M2Setup: main window, read from the TA, leave with saving"
sim_start
app_start M2Setup
window_wait "$caption"
log_wait ATI3
shot setup-main
keys Return
window_wait "ｵﾙﾊﾞﾝﾃM-2KLXから読み込み：確認"
shot setup-read-confirm
keys alt+d
window_wait "ﾃﾞﾌｫﾙﾄ値を読み込む：確認"
shot setup-defaults-confirm
keys alt+n
window_gone "ｵﾙﾊﾞﾝﾃM-2KLXから読み込み：確認"
window_wait "$caption"
setup_read_from_ta
keys Escape
window_wait "ｱﾌﾟﾘｹｰｼｮﾝの終了：確認"
shot setup-exit-confirm
keys alt+y
app_wait_exit M2Setup
ls -l M2SetupV100.dat
echo "(commands the TA received:)"
tr '\n' ' ' <commands.log
echo

echo "== M2Setup: a TA that does not answer"
sim_start --silent-after 0
app_start M2Setup
window_wait "起動時のエラー：確認"
shot setup-startup-error
keys alt+y
app_wait_exit M2Setup
