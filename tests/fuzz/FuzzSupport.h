#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// Helpers shared by the fuzz targets: one scratch folder per process and a
// check that aborts (so libFuzzer keeps the input) whatever the build type.
namespace lumetra::fuzz {

#define FUZZ_CHECK(cond)                                                                      \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

inline std::string makeScratchFolder() {
    // In memory where there is room: every save flushes to disk.
    char shm[] = "/dev/shm/lumetra-fuzz-XXXXXX";
    if (mkdtemp(shm)) return std::string(shm);
    char tmp[] = "/tmp/lumetra-fuzz-XXXXXX";
    if (!mkdtemp(tmp)) std::abort();
    return std::string(tmp);
}

// The process's scratch folder, removed again at exit.
inline const std::string& scratchFolder() {
    static const std::string folder = makeScratchFolder();
    static const bool cleanup = std::atexit([] { std::filesystem::remove_all(folder); }) == 0;
    (void)cleanup;
    return folder;
}

// Writes the input to <scratch>/<name> and returns the path.
inline std::string writeScratch(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) std::abort();
    return path;
}

}  // namespace lumetra::fuzz
