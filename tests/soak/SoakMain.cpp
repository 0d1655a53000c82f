// The soak run: lumetra_soak [--seed=N] [--seconds=S] [--trace]
// A seeded random walk over the real main window; see Walk.h. The seed is
// printed first, so that a failure can be run again.
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Walk.h"

namespace {
QtMessageHandler standard = nullptr;

// The offscreen platform says so at every raise() of a side window.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("This plugin does not support") ||
        text.contains("not accepted by receiving widget"))
        return;
    standard(type, context, text);
}
}  // namespace

int main(int argc, char** argv) {
    lumetra::soak::WalkConfig config;
    config.seed = static_cast<std::uint32_t>(
        std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seed=", 0) == 0) {
            config.seed = static_cast<std::uint32_t>(std::stoul(arg.substr(7)));
        } else if (arg.rfind("--seconds=", 0) == 0) {
            config.seconds = std::stod(arg.substr(10));
        } else if (arg == "--trace") {
            config.trace = true;
        } else {
            std::fprintf(stderr, "usage: lumetra_soak [--seed=N] [--seconds=S] [--trace]\n");
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standard = qInstallMessageHandler(quietHandler);
    QTemporaryDir scratch(QDir::tempPath() + "/lumetra-soak-XXXXXX");
    if (!scratch.isValid()) {
        std::fprintf(stderr, "lumetra_soak: no scratch folder\n");
        return 2;
    }
    config.root = scratch.path();
    lumetra::soak::Walk walk(config);
    return walk.run();
}
