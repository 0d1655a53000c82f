#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "host/Dialogs.h"
#include "app/TBaseForm.h"

namespace lumetra::testing {

// Dialogs answered by the test: queued answers are taken in order; every
// question and message is recorded.
class ScriptedDialogs : public ui::Dialogs {
  public:
    struct Log {
        QStringList errors, warnings, questions, messages;
        int openDialogs = 0, saveDialogs = 0;
    };

    explicit ScriptedDialogs(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    // Queue answers: a path for the next file dialog (nullopt = cancel) and
    // yes/no for the next question. Without a queued answer a file dialog is
    // cancelled and a question answered No.
    static void queueFile(std::optional<QString> path) { files().push_back(std::move(path)); }
    static void queueAnswer(bool yes) { answers().push_back(yes); }
    static void clearQueues() {
        files().clear();
        answers().clear();
    }

    std::optional<QString> openFile(QWidget*, const ui::FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget*, const ui::FileDialogRequest& request) override;
    bool confirm(QWidget*, const QString& text) override;
    bool confirmWarning(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override { log_->errors << text; }
    void warning(QWidget*, const QString& text) override { log_->warnings << text; }
    // Recorded as "caption: text".
    void message(QWidget*, const QString& caption, const QString& text) override {
        log_->messages << caption + ": " + text;
    }

    static ui::FileDialogRequest lastRequest;

  private:
    static std::deque<std::optional<QString>>& files();
    static std::deque<bool>& answers();
    std::shared_ptr<Log> log_;
};

// A main window started as the program starts it, in a data folder of its
// own. The colour file is laid in first unless told otherwise, so that
// start-up asks nothing.
struct Desk {
    // prepare, when given, lays files into SHOW/ (its path is passed) before
    // the console starts.
    explicit Desk(bool withColorFile = true, const QString& iniText = QString(),
                  const Options& options = quietOptions(),
                  const std::function<void(const QString&)>& prepare = {});
    ~Desk();

    static Options quietOptions();

    QTemporaryDir home;
    std::shared_ptr<ScriptedDialogs::Log> log = std::make_shared<ScriptedDialogs::Log>();
    std::unique_ptr<ui::TBaseForm> form;

    QString showDir() const { return home.path() + "/SHOW"; }

    template <typename T>
    T* find(const QString& name) const {
        T* w = form->findChild<T*>(name);
        if (!w) qWarning("no control named %s", qPrintable(name));
        return w;
    }
    void click(const QString& name) const;
    lumetra::Console& state() { return form->console(); }
};

// Writes a file of the given bytes (helper for prepared show files).
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

}  // namespace lumetra::testing
