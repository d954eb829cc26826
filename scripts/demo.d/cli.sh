#!/usr/bin/env bash
# m2ctl against the simulator: m2sim links itself as ./COM1 in a scratch folder, and m2ctl
# talks to it there as it would to a real TA on COM1. Sourced by scripts/demo.

step() { printf '\n\033[1m$ %s\033[0m\n' "$*"; "$@" | tr -d '\r' || true; }

echo "== A TA with result codes on"
sim_start
step "$bin/m2ctl" at ATI0 ATI4 ATI3
step "$bin/m2ctl" identify
step "$bin/m2ctl" charges
step "$bin/m2ctl" clear-charges tel2
step "$bin/m2ctl" causes
step "$bin/m2ctl" line

echo
echo "== A TA whose result codes are off (ATQ1): switched on for our use, given back on leaving"
sim_start --quiet
step "$bin/m2ctl" at --lenient ATI0
step "$bin/m2ctl" identify

echo
echo "== Commands the simulated TA received so far"
cat "$work/commands.log"

echo
echo "== Settings: read a configured TA into the settings file, write them to a factory TA"
cat >"$work/configured.json" <<'JSON'
{"S65":4,"$Z1":"0312345678/12","@B":16,"$X3":"0120999888"}
JSON
sim_start --state "$work/configured.json"
step "$bin/m2ctl" read
step ls -l M2SetupV100.dat
printf '\n\033[1m$ %s\033[0m\n' "m2ctl show | head -12"
"$bin/m2ctl" show | head -12 || true
: >"$work/commands.log"
sim_start
step "$bin/m2ctl" write analog
echo "(first commands the factory TA received:)"
grep -v '^ATI' "$work/commands.log" | head -8

echo
echo "== Firmware update: a 100 KiB download file to the TA in its download mode"
head -c 102400 /dev/urandom >"$work/image.dlf"
sim_start --xmodem --out "$work/received.dlf" --verdict-delay-ms 300
step "$bin/m2ctl" update image.dlf
step cmp <(head -c 102400 received.dlf) image.dlf
echo "received image matches the download file"

echo
echo "== Serial ports: what COM1 to COM4 open, and linking a device to COM1"
sim_link=sim-pty sim_start
sim_link=""
rm -f COM1
step "$bin/m2ctl" ports
step "$bin/m2ctl" ports link COM1 "$(readlink sim-pty)"
step "$bin/m2ctl" identify
ln -s "$work/unplugged" COM2
step "$bin/m2ctl" --port 2 identify
