#include "show/ShowFile.h"

namespace lumetra::io {

FileResult loadShow(const std::string& path, ShowMemory& show) {
    const ReadResult read = readFile(path, layout::kShowSize, layout::kShowSize);
    if (!read.ok()) return read;
    show.copyIn(read.data.data(), 0, layout::kShowSize);
    return FileResult::success();
}

FileResult saveShow(const std::string& path, const ShowMemory& show) {
    // Snapshot first: the tick never writes the show, but the file must hold
    // one consistent image even so.
    ShowMemory::Image image;
    show.snapshot(image);
    return saveShow(path, image);
}

FileResult saveShow(const std::string& path, const ShowMemory::Image& image) {
    return writeFileAtomic(path, image.data(), image.size());
}

FileResult autosaveShow(const std::string& path, const ShowMemory& show) {
    return saveShow(path, show);
}

FileResult autosaveShow(const std::string& path, const ShowMemory::Image& image) {
    return saveShow(path, image);
}

}  // namespace lumetra::io
