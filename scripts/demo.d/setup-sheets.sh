#!/usr/bin/env bash
# M2Setup's property sheets against the simulator, by keyboard: the analog port sheet with
# its three pages and the nested flexphone sheet, an own address typed and sent with 更新,
# a refused value, the data port sheet's pages and the PC port sheet; then leaving with
# saving. Sourced by scripts/demo.
caption="$setup_caption"
analog="ｱﾅﾛｸﾞ ﾎﾟｰﾄの設定"
gui_start
echo "== M2Setup: property sheets"
sim_start
app_start M2Setup
window_wait "$caption"
log_wait ATI3

keys alt+s a
window_wait "$analog"
# The own address is the first field; 更新 is reached backwards past the tabs.
type_text "0312345678"
shot setup-sheet-analog-tel1
keys shift+Tab shift+Tab space
log_wait 'AT@G0'
grep -F 'AT$Z1=' commands.log
shot setup-sheet-analog-applied

# The flexphone sheet opens on its first box; the next field refuses 4.
keys alt+f
window_wait "ﾌﾚｯｸｽﾎﾝの設定"
shot setup-sheet-flexphone
keys Tab ctrl+a 4 Tab
window_wait "ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ "
shot setup-sheet-range-message
keys Return
window_wait "ﾌﾚｯｸｽﾎﾝの設定"
keys ctrl+a 1 2 Return
window_gone "ﾌﾚｯｸｽﾎﾝの設定"
window_wait "$analog"
keys ctrl+Tab
shot setup-sheet-analog-tel2
keys ctrl+Tab
shot setup-sheet-analog-common
keys Return
window_gone "$analog"

window_wait "$caption"
keys alt+s d
window_wait "ﾃﾞｰﾀ ﾎﾟｰﾄの設定"
shot setup-sheet-data-general
keys ctrl+Tab
shot setup-sheet-data-flow
keys ctrl+Tab
shot setup-sheet-data-at
keys Escape
window_gone "ﾃﾞｰﾀ ﾎﾟｰﾄの設定"

window_wait "$caption"
keys alt+s p
window_wait "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"
shot setup-sheet-pc-port
keys Escape
window_gone "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"

window_wait "$caption"
keys Escape
window_wait "ｱﾌﾟﾘｹｰｼｮﾝの終了：確認"
keys alt+y
app_wait_exit M2Setup
echo "(commands the TA received:)"
tr '\n' ' ' <commands.log
echo
