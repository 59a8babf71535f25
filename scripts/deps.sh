#!/usr/bin/env bash
# Installs what the build needs on a Debian machine, only when it is missing.
set -euo pipefail
need=(g++ cmake ninja-build pkg-config qt6-base-dev libjpeg-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-liberation2 clang-format
      poppler-utils libwmf-bin inkscape)   # readers the export tests check the files with
[ "${1:-}" = "--gui" ] && need+=(xvfb xauth)
[ "${1:-}" = "--fuzz" ] && need+=(clang)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
