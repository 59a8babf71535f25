#!/usr/bin/env bash
# Builds the viewer, packs the sample family into a self-viewing program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target brenthaul brenthaul-pack
build/brenthaul-pack --viewer build/brenthaul --gedcom data/sample-family.ged \
  --out build/sample-family --title "The Harrowgate Family" --name "Margaret Ellison" \
  --email "margaret.ellison@example.org" --addr1 "14 Quarry Lane" --addr2 "Keswick, Cumbria" \
  --web "www.example.org/harrowgate" --phone "+44 17687 555 210" \
  --message $'Dear cousins,\r\nhere is the family as far as I have it.\r\nCorrections welcome!' \
  --start 1 --allow-extract
exec build/sample-family "$@"
