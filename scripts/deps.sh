#!/usr/bin/env bash
# Installs what the build needs on a Debian machine, only when it is missing.
# Packages come without their recommendations, so everything a build or a test
# calls is named here:
#   scripts/deps.sh [--gui] [--fuzz]
set -euo pipefail
need=(g++ cmake ninja-build pkg-config qt6-base-dev libjpeg-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-liberation2 clang-format git   # the style check lists files with git
      # readers the export tests check the files with; wmf2svg needs the URW fonts
      poppler-utils libwmf-bin fonts-urw-base35 inkscape)
for arg in "$@"; do
  case "$arg" in
    # Xvfb for the window by hand and its xcb test; bench_firstview also times lbzip2 and reads xcb
    --gui) need+=(xvfb xauth lbzip2 libxcb1-dev) ;;
    # libFuzzer and the sanitizer runtimes are only recommended by clang
    --fuzz) need+=(clang libclang-rt-dev) ;;
    *) echo "usage: scripts/deps.sh [--gui] [--fuzz]" >&2; exit 2 ;;
  esac
done
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
