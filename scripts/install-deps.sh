#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing; packages
# named as arguments are added (the fuzz targets' compiler).
set -euo pipefail
packages=("$@"
  g++ make cmake
  qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtqml
  qml-module-qtquick-controls2 qml-module-qtquick-dialogs qml-module-qtquick-controls
  qml-module-qttest libsnmp-dev snmpd snmp
  xvfb xauth imagemagick fonts-ipafont-gothic
  iputils-ping iproute2 util-linux curl python3 python3-pyftpdlib)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
# A system agent that the package may have started is never used by us; leave it alone.
