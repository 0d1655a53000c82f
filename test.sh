#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
./scripts/check-package.sh build

# A short fuzz run of every loader and the wire decoder, when clang and its
# fuzzer runtime are here.
fuzzer_probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
if command -v clang++ >/dev/null &&
  echo "$fuzzer_probe" | clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DLUMETRA_FUZZ=ON -DLUMETRA_BUILD_TESTS=OFF -DLUMETRA_BUILD_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzz
  ctest --test-dir build-fuzz -L fuzz --output-on-failure
fi

# A minute of the soak (the main window under a random walk, tests/soak) in
# an ASan and UBSan build of only what it needs.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_ASAN=ON \
  -DLUMETRA_SOAK=ON -DLUMETRA_BUILD_TESTS=OFF -DLUMETRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target lumetra_soak
ctest --test-dir build-asan -L soak --output-on-failure
