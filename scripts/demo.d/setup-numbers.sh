#!/usr/bin/env bash
# M2Setup's telephone number sheet against the simulator: read lists with a gap from the TA,
# look at the four pages, add an entry (the gap's used entry is skipped), change one and
# delete one with the mouse, send everything with "更新", keep it with OK and leave with
# saving. Sourced by scripts/demo.
caption="$setup_caption"
sheet="電話番号の設定"
gui_start
echo "== M2Setup: telephone number lists"
cat >numbers.json <<'EOF'
{"$X0":"0311112222","$X1":"0311113333/12","$X3":"0422223333",
 "$Y0":"0455556666",
 "&Z0":"0120123456","&Z1":"0668889999/3","&Z2":"*#1",
 "$W5":"0299990000"}
EOF
sim_start --state numbers.json
app_start M2Setup
window_wait "$caption"
log_wait ATI3
setup_read_from_ta

keys alt+s n
window_wait "$sheet"
shot setup-numbers-tel1
for page in tel2 short-dial dte; do
  keys ctrl+Tab
  shot "setup-numbers-$page"
done
keys ctrl+Tab

# TEL1 was read as three used entries with a gap: the end index is 3 and entry 3 is used,
# so Add without a selection takes entry 4.
keys alt+a
window_wait "電話番号ﾘｽﾄの追加"
focus_wait "電話番号ﾘｽﾄの追加"
type_text "大阪ｵﾌｨｽ"
keys Tab
type_text "0612345678"
keys Tab
type_text "55"
shot setup-numbers-add
keys Return
window_gone "電話番号ﾘｽﾄの追加"

# With the mouse, at the list's lines and the sheet's buttons (the sheet's client area).
sheet_id=$(xdotool search --name "^$sheet\$" | tail -1)
line_top=62
line_h=13
click_at() {  # click_at X Y [CLICKS]
  xdotool mousemove --window "$sheet_id" "$1" "$2" click --repeat "${3:-1}" --delay 120 1
  sleep 0.4
}
line_click() { click_at 60 $((line_top + line_h * $1 + line_h / 2)) "${2:-1}"; }
eval "$(xdotool getwindowgeometry --shell "$sheet_id")"

# Double click on entry 1 changes it.
line_click 1 2
window_wait "電話番号ﾘｽﾄの変更"
focus_wait "電話番号ﾘｽﾄの変更"
keys ctrl+a
type_text "Head office"
shot setup-numbers-change
keys Return
window_gone "電話番号ﾘｽﾄの変更"
window_wait "$sheet"

line_click 3
keys alt+d
window_wait "電話番号ﾘｽﾄの削除：確認"
shot setup-numbers-delete-confirm
keys alt+y
window_gone "電話番号ﾘｽﾄの削除：確認"
window_wait "$sheet"
shot setup-numbers-edited

# "更新" (bottom right) sends all forty entries; OK keeps the edited lists.
click_at $((WIDTH - 56)) $((HEIGHT - 24))
log_wait 'AT$W9='
click_at $((WIDTH - 255)) $((HEIGHT - 24))
window_gone "$sheet"
window_wait "$caption"
keys Escape
window_wait "ｱﾌﾟﾘｹｰｼｮﾝの終了：確認"
keys alt+y
app_wait_exit M2Setup
echo "(what 更新 sent for TEL1's list:)"
grep '^AT\$X' commands.log | tail -10 | tr '\n' ' '
echo
