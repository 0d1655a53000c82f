#include "SoakDialogs.h"

namespace lumetra::soak {

std::optional<QString> SoakDialogs::pick(const ui::FileDialogRequest& request, bool saving) {
    if (haveForced_) {
        haveForced_ = false;
        return std::exchange(forced_, std::nullopt);
    }
    const QStringList candidates = paths_(request.defaultSuffix, saving);
    // One dialog in ten is cancelled.
    if (candidates.isEmpty() || std::uniform_int_distribution<int>(0, 9)(rng_) == 0)
        return std::nullopt;
    const auto i = std::uniform_int_distribution<qsizetype>(0, candidates.size() - 1)(rng_);
    return candidates[i];
}

std::optional<QString> SoakDialogs::openFile(QWidget*, const ui::FileDialogRequest& request) {
    auto path = pick(request, false);
    if (path) opened << *path;
    return path;
}

std::optional<QString> SoakDialogs::saveFile(QWidget*, const ui::FileDialogRequest& request) {
    auto path = pick(request, true);
    if (path) saved << *path;
    return path;
}

bool SoakDialogs::confirm(QWidget*, const QString& text) {
    questions << text;
    if (forcedAnswer_) return *std::exchange(forcedAnswer_, std::nullopt);
    return std::uniform_int_distribution<int>(0, 9)(rng_) < 7;
}

}  // namespace lumetra::soak
