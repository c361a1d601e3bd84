#!/usr/bin/env bash
# Demo equipment for ./run.sh: starts three simulated level checkers and a spare one, each
# with its FTP service for the reboot from the system setting screen (silent for 30 s after
# it), makes the third one silent, and on the first start writes the demo root's
# registration, channel plans and alert thresholds for the three (the spare stays
# unregistered: the operator adds it on the device setting screen). Each device has a
# loopback address of its own at the standard port 161 where that port can be bound (as
# root), as a typed row expects; elsewhere they share 127.0.0.1 on free ports. Later starts
# keep everything the operator set: the devices may listen on new ports, so only their
# addresses in the registration change.
# The devices stop with run.sh (its exit trap, or by themselves once it is gone).
#   scripts/demo-devices.sh ROOT
set -euo pipefail
ROOT=${1:?usage: demo-devices.sh ROOT}
HERE=$(cd "$(dirname "$0")/.." && pwd)
SIMCTL="$HERE/sim/simctl"
SIM_DIR="$ROOT/sim"
SETTINGS="$ROOT/InternalReadOnly/CheckerSettings"
REGISTRATION="$SETTINGS/DeviceRegistSetting.csv"
# Device K's own address: 127.0.0.(10 + K), the spare last.
FIRST_HOST=127.0.0.11
# The devices' addresses of the last start, device 1 first, the spare last.
PEERS_FILE="$ROOT/demo-peers"
OLD_PEERS=()
if [ -f "$PEERS_FILE" ]; then
  mapfile -t OLD_PEERS < "$PEERS_FILE"
elif [ -f "$REGISTRATION" ]; then
  # A root from before the record: the demo devices are its loopback rows.
  mapfile -t OLD_PEERS < <(awk -F, 'NR > 1 && $3 ~ /^127\.0\.0\.1:/ { print $3 }' "$REGISTRATION" | head -n 3)
fi

# A run that ended without its trap may have left devices behind.
"$SIMCTL" stop --dir "$SIM_DIR" >/dev/null 2>&1 || true
START=("$SIMCTL" start --count 4 --dir "$SIM_DIR" --owner-pid "$PPID" --ftp --reboot-seconds 30)
mapfile -t PEERS < <("${START[@]}" --first-host "$FIRST_HOST" --port 161 2>"$SIM_DIR.err")
if [ "${#PEERS[@]}" -ne 4 ]; then
  echo "demo-devices: port 161 cannot be bound here ($(tail -n 1 "$SIM_DIR.err" 2>/dev/null))," \
       "so the devices share 127.0.0.1 on free ports; the device setting screen registers" \
       "port 161, so the spare device cannot be added there (run as root for that)" >&2
  mapfile -t PEERS < <("${START[@]}")
fi
rm -f "$SIM_DIR.err"
if [ "${#PEERS[@]}" -ne 4 ]; then
  echo "demo-devices: the simulated devices did not start" >&2
  exit 1
fi
"$SIMCTL" fault --dir "$SIM_DIR" --device 3 silent >/dev/null
printf '%s\n' "${PEERS[@]}" > "$PEERS_FILE"
SPARE=${PEERS[3]}
SPARE_NOTE="spare device, not registered: ${SPARE%:161}"

if [ -f "$REGISTRATION" ]; then
  # Only the address column of the rows that named a demo device that moved changes; the
  # standard port may be written out or left off.
  awk -F, -v OFS=, -v old="${OLD_PEERS[*]}" -v new="${PEERS[*]}" '
    function bare(address) { sub(/:161$/, "", address); return address }
    BEGIN {
      n = split(old, from, " "); split(new, to, " ")
      for (i = 1; i <= n; i++)
        if (bare(from[i]) != bare(to[i])) map[from[i]] = map[bare(from[i])] = bare(to[i])
    }
    NR > 1 && ($3 in map) { $3 = map[$3] }
    { print }' "$REGISTRATION" > "$REGISTRATION.tmp"
  mv "$REGISTRATION.tmp" "$REGISTRATION"
  echo "Simulated level checkers: ${PEERS[*]:0:3} (device 3 silent); the demo root's settings are kept"
  if awk -F, -v spare="$SPARE" 'NR > 1 && ($3 == spare || $3 ":161" == spare) { found = 1 } END { exit !found }' "$REGISTRATION"; then
    echo "The spare device ${SPARE%:161} is registered"
  else
    echo "The $SPARE_NOTE"
  fi
  exit 0
fi

mkdir -p "$SETTINGS/MeasurementChannelSetting" "$SETTINGS/AlertSetting"

# Files of the settings folder are UTF-8, LF, without quoting; the standard port is left
# off, as the program writes it.
{
  echo "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)"
  echo "1,光受信点,${PEERS[0]%:161},光,連続,常時,常時,1550,---,---,---,0,MER,MER"
  echo "2,衛星受信点,${PEERS[1]%:161},同軸,連続,常時,常時,1550,---,---,---,0,MER,CNR"
  echo "3,無応答局,${PEERS[2]%:161},同軸,連続,常時,常時,1550,---,---,---,0,MER,MER"
} > "$REGISTRATION"

TEMPLATE_PLAN="$HERE/demo/root/InternalReadOnly/CheckerSettings/MeasurementChannelSetting/user_datalogger_setting_template.csv"

# A device's plan: every row of the template plan, measuring the "band,channel" pairs given.
plan_from_template() {
  awk -F, -v OFS=, -v measured="$*" '
    BEGIN { n = split(measured, pairs, " "); for (i = 1; i <= n; i++) keep[pairs[i]] = 1 }
    NR == 1 { print; next }
    { $7 = (($1 "," $2) in keep) ? 1 : 0; print }' "$TEMPLATE_PLAN"
}
ALERT_HEADER="'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR"

# Device 1, optical input: terrestrial channels and the optical service.
plan_from_template 0,13 0,20 5,C24 6,1 > "$SETTINGS/MeasurementChannelSetting/1.csv"
cat > "$SETTINGS/AlertSetting/alert_1.csv" <<ALERT
$ALERT_HEADER
0,13,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0
0,20,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0
5,C24,<47.0,>81.0,<30.0,>2.0E-4,<-8.0,>2.0,<21.0
6,1,<47.0,>81.0,<30.0,>2.0E-4,<-8.0,>2.0,---
ALERT

# Device 2: BS and a few satellite channels behind their local oscillators.
plan_from_template 1,BS1 8,JD1 8,JD3 9,JD2 > "$SETTINGS/MeasurementChannelSetting/2.csv"
cat > "$SETTINGS/AlertSetting/alert_2.csv" <<ALERT
$ALERT_HEADER
1,BS1,<47.0,>81.0,<8.0,>2.0E-4,<-8.0,>2.0,---
8,JD1,<47.0,>81.0,<8.0,>2.0E-4,<-8.0,>2.0,---
8,JD3,<47.0,>81.0,<8.0,>2.0E-4,<-8.0,>2.0,---
9,JD2,<60.0,>81.0,<8.0,>2.0E-4,<-8.0,>2.0,---
ALERT

# Device 3, silent: registered and started, never answers.
plan_from_template 0,13 0,27 > "$SETTINGS/MeasurementChannelSetting/3.csv"
cat > "$SETTINGS/AlertSetting/alert_3.csv" <<ALERT
$ALERT_HEADER
0,13,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0
0,27,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0
ALERT

echo "Simulated level checkers: ${PEERS[*]:0:3} (device 3 silent)"
echo "The $SPARE_NOTE"
