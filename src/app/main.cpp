// Program entry of the console's window (lumetra-window), which `lumetra`
// starts unless it is to play without one.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DataFolder.h"
#include "core/Options.h"
#include "app/TBaseForm.h"
#include "headless/HeadlessPlayer.h"
#include "headless/QuitSignal.h"
#include "output/NoSigpipe.h"

namespace {
// Runs a job once from the event loop when the window is first on screen
// (its first expose), or after a second where the platform never says so.
class OnFirstExpose : public QObject {
  public:
    OnFirstExpose(QWindow* window, std::function<void()> job) : job_(std::move(job)) {
        if (window) window->installEventFilter(this);
        QTimer::singleShot(1000, this, [this] { fire(); });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            QTimer::singleShot(0, this, [this] { fire(); });
        return false;
    }

  private:
    void fire() {
        if (!job_) return;
        const std::function<void()> job = std::move(job_);
        job_ = nullptr;
        job();
    }
    std::function<void()> job_;
};
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const lumetra::ParsedOptions parsed = lumetra::parseOptions(args);
    if (const std::optional<int> code = lumetra::answerHelpOrFault(parsed)) return *code;

    // `lumetra` runs the player itself; started directly, this program
    // plays without its window just as well.
    if (parsed.options.headless) return lumetra::front::runHeadless(parsed.options, argc, argv);

    // Outputs report a reader that went away as an error, not by a signal.
    lumetra::io::ignoreSigpipe();

    QApplication app(argc, argv);
    QApplication::setApplicationName("lumetra");
    QApplication::setApplicationVersion("5.4.1");

    lumetra::io::DataFolder folder(lumetra::io::DataFolder::resolve(parsed.options.home));
    const std::string folderError = folder.create();

    lumetra::ui::TBaseForm form(parsed.options, folder, nullptr);

    // A termination signal closes the console in order, without questions,
    // also while a message box of the start-up is waiting.
    lumetra::front::QuitSignal quit([&form] { form.shutdownQuietly(); });

    form.FormCreate(lumetra::ui::TBaseForm::DeviceStart::AfterShow);
    if (form.isQuitting()) {
        form.close();
        return 0;
    }
    form.show();
    // The interface, the sound input and their boxes come once the window
    // is on screen.
    OnFirstExpose shown(form.windowHandle(), [&form] { form.FormShown(); });
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
