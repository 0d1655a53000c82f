// Program entry of the console.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/DataFolder.h"
#include "app/Options.h"
#include "app/TBaseForm.h"

namespace {
std::atomic<int> g_quitSignal{0};

extern "C" void onQuitSignal(int sig) {
    g_quitSignal.store(sig);
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const lumetra::ParsedOptions parsed = lumetra::parseOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "lumetra: %s\n\n%s", parsed.error.c_str(),
                     lumetra::optionsHelpText().c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(lumetra::optionsHelpText().c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("lumetra");
    QApplication::setApplicationVersion("5.4.1");

    lumetra::io::DataFolder folder(lumetra::io::DataFolder::resolve(parsed.options.home));
    const std::string folderError = folder.create();

    lumetra::ui::TBaseForm form(parsed.options, folder, nullptr);

    // A termination signal closes the console in order, without questions,
    // also while a message box of the start-up is waiting.
    std::signal(SIGTERM, onQuitSignal);
    std::signal(SIGINT, onQuitSignal);
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, [&form] {
        if (g_quitSignal.exchange(0) != 0) form.shutdownQuietly();
    });
    signalWatch.start(100);

    form.FormCreate();
    if (form.isQuitting()) {
        form.close();
        return 0;
    }
    form.show();
    // A data folder that could not be made is told once the console runs:
    // the output must not wait for the operator to press OK.
    if (!folderError.empty())
        QTimer::singleShot(0, &form, [&form, folderError] {
            QMessageBox::critical(&form, QString::fromUtf8(lumetra::ui::kApplicationTitle),
                                  QString::fromStdString(folderError));
        });

    // The hidden side windows do not keep the program alive.
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    form.setAttribute(Qt::WA_QuitOnClose, true);
    return app.exec();
}
