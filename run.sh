#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo site when the programs point at it, and opens
# Lumora. The demo site stops when Lumora ends.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j2

bin=build/bin
site_pid=""
host=$(grep -E '^LUMORA_CATALOGUE_HOST:' build/CMakeCache.txt | cut -d= -f2)
if [ "$host" = "127.0.0.1:8936" ]; then
  ./build/tools/demo-site/lumora-demo-site --port 8936 &
  site_pid=$!
  trap '[ -n "$site_pid" ] && kill "$site_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do
    curl -s -o /dev/null http://127.0.0.1:8936/shelfnote/banben && break
    sleep 0.1
  done
fi

# A desktop is needed; without one, run under a virtual display.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec_prefix=(xvfb-run -a -s "-screen 0 1280x800x24")
else
  exec_prefix=()
fi
"${exec_prefix[@]}" "$bin/Lumora"
