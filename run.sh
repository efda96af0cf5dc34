#!/usr/bin/env bash
# Installs what is missing, builds, and cuts a sample listing page with lumora-cut.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j2
./build/tools/lumora-cut tools/samples/finished-page.html --kind finished
