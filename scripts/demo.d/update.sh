#!/usr/bin/env bash
# M2Update against the simulator in its download mode, by keyboard alone: type the download
# file's path, Enter (ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ(&V)), Enter (はい); watch the transfer and the flash write;
# Enter (終了), Escape. The simulator must then hold the file byte for byte. Sourced by
# scripts/demo.
caption="ｵﾙﾊﾞﾝﾃM-2KLX ﾊﾞｰｼﾞｮﾝｱｯﾌﾟﾕｰﾃｨﾘﾃｨ "
progress="ﾊﾞｰｼﾞｮﾝｱｯﾌﾟの状態"
verdict_delay_ms=4000
gui_start
echo "== M2Update: one update by keyboard"
head -c $((160 * 1024 + 300)) /dev/urandom >firmware.dlf
size=$(stat -c %s firmware.dlf)
# Each block's answer is delayed so that the bar can be seen moving.
sim_start --xmodem --out received.bin --start-interval-ms 1000 --ack-delay-ms 25 \
  --verdict-delay-ms "$verdict_delay_ms"
app_start M2Update
window_wait "$caption"
type_text "$work/firmware.dlf"
shot update-main
keys Return
window_wait "ﾊﾞ-ｼﾞｮﾝｱｯﾌﾟ:確認"
shot update-confirm
keys Return
window_wait "$progress"
log_wait "block 60"
shot update-progress
log_wait EOT
# The verdict follows the acknowledged EOT after the simulator's delay.
sleep $((verdict_delay_ms / 1000 + 2))
shot update-done
keys Return
window_gone "$progress"
window_wait "$caption"
keys Escape
app_wait_exit M2Update
if cmp -s -n "$size" firmware.dlf received.bin &&
  [ "$(tail -c +$((size + 1)) received.bin | tr -d '\0' | wc -c)" -eq 0 ]; then
  echo "the TA stored the $size bytes of firmware.dlf (padded with 0x00 to $(stat -c %s received.bin))"
else
  echo "demo: the TA's image differs from firmware.dlf" >&2
  exit 1
fi

echo "== M2Update: a COM number with nothing behind it says so at once"
ln -s "$work/unplugged" COM2
app_start M2Update
window_wait "$caption"
type_text "$work/firmware.dlf"
# From the path over 参照 to the COM drop-down, then COM2.
keys Tab Tab Down
shot update-no-device-chosen
keys Return
window_wait "ﾊﾞ-ｼﾞｮﾝｱｯﾌﾟ:確認"
keys Return
sleep 1
shot update-no-device-message
keys Return
window_wait "$caption"
keys Escape
app_wait_exit M2Update
