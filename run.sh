#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it.
# Options are passed on to the program (see ./build/lumetra --help).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target lumetra -j"$(nproc)"
exec ./build/lumetra "$@"
