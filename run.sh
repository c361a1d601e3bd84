#!/usr/bin/env bash
# Installs what is missing, builds (Release), prepares a demo root folder and starts
# the monitor on this display, or under Xvfb where there is none. Shows the install and
# build as they go, and the program's console lines in the terminal's encoding.
set -euo pipefail
cd "$(dirname "$0")"
echo "== Checking the packages it needs"
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-release}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  echo "== Configuring the build in $BUILD_DIR"
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
fi
# The first build takes a few minutes: its own percentage lines show how far it is.
echo "== Building in $BUILD_DIR"
cmake --build "$BUILD_DIR" -j"$(nproc)"

ROOT=${NRT52_ROOT:-$PWD/demo-root}
export NRT52_ROOT="$ROOT"
if [ ! -d "$ROOT" ]; then
  mkdir -p "$ROOT"
  cp -r demo/root/. "$ROOT/"
  find "$ROOT" -name .keep -delete
fi
# The template channel plan is installed with the program: refreshed on every start.
TEMPLATE_PLAN=InternalReadOnly/CheckerSettings/MeasurementChannelSetting/user_datalogger_setting_template.csv
mkdir -p "$(dirname "$ROOT/$TEMPLATE_PLAN")"
cp "demo/root/$TEMPLATE_PLAN" "$ROOT/$TEMPLATE_PLAN"
[ -f sim/VEDIRUDO-ZER ] && cp sim/VEDIRUDO-ZER "$ROOT/InternalReadOnly/Mibs/Vm/"
# The reboot marker is installed with the program; a root made before it had none.
[ -f "$ROOT/InternalReadOnly/.reboot" ] || cp demo/root/InternalReadOnly/.reboot "$ROOT/InternalReadOnly/"
export SNMPCONFPATH="$ROOT/snmp" SNMP_PERSISTENT_DIR="$ROOT/snmp" MIBS=""
mkdir -p "$ROOT/snmp" "$ROOT/work"

cleanup() { [ -x sim/simctl ] && sim/simctl stop --dir "$ROOT/sim" >/dev/null 2>&1 || true; }
trap cleanup EXIT
[ -x scripts/demo-devices.sh ] && scripts/demo-devices.sh "$ROOT"
# Each demo device has its own FTP port for the reboot.
NRT52_FTP_PORTS=$(sim/simctl ftpports --dir "$ROOT/sim")
export NRT52_FTP_PORTS

# The program writes its console lines in Shift-JIS: the filter shows them in the
# terminal's encoding.
CONSOLE="$PWD/scripts/console-text.py"
cd "$ROOT/work"
APP="$OLDPWD/$BUILD_DIR/nrt52"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== The window opens on this display (${DISPLAY:-$WAYLAND_DISPLAY})"
  "$APP" | "$CONSOLE"
else
  # xvfb-run picks the display number: the program's shell tells it.
  xvfb-run -a -s "-screen 0 1280x800x24" sh -c '
    echo "== No display here: the window opens under Xvfb on display $DISPLAY"
    echo "   (a picture of it: XAUTHORITY=$XAUTHORITY import -display $DISPLAY -window root shot.png)"
    exec "$0"' "$APP" | "$CONSOLE"
fi
