#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
./scripts/check-package.sh build

# The whole tree once more with clang (console, tests, benchmarks, fuzz
# targets and the soak), warnings as errors, with ASan, UBSan and libFuzzer's
# coverage. In it every loader and the wire decoder get a short fuzz run over
# their seeds and the corpus the project keeps (tests/fuzz/corpus), then a
# minute of the soak (the main window under a random walk, tests/soak).
cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DLUMETRA_FUZZ=ON -DLUMETRA_SOAK=ON -DLUMETRA_WERROR=ON >/dev/null
cmake --build build-clang -j"$(nproc)"
ctest --test-dir build-clang -L 'fuzz|soak' --output-on-failure
