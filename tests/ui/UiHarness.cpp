#include "UiHarness.h"

#include <QDir>
#include <QFile>
#include <QToolButton>

namespace lumetra::testing {

ui::FileDialogRequest ScriptedDialogs::lastRequest;

std::deque<std::optional<QString>>& ScriptedDialogs::files() {
    static std::deque<std::optional<QString>> queue;
    return queue;
}

std::deque<bool>& ScriptedDialogs::answers() {
    static std::deque<bool> queue;
    return queue;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const ui::FileDialogRequest& request) {
    ++log_->openDialogs;
    lastRequest = request;
    if (files().empty()) return std::nullopt;
    auto answer = files().front();
    files().pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const ui::FileDialogRequest& request) {
    ++log_->saveDialogs;
    lastRequest = request;
    if (files().empty()) return std::nullopt;
    auto answer = files().front();
    files().pop_front();
    return answer;
}

bool ScriptedDialogs::confirm(QWidget*, const QString& text) {
    log_->questions << text;
    if (answers().empty()) return false;
    const bool yes = answers().front();
    answers().pop_front();
    return yes;
}

bool ScriptedDialogs::confirmWarning(QWidget* parent, const QString& text) {
    return confirm(parent, text);
}

Options Desk::quietOptions() {
    Options o;
    o.interface = "none";
    o.audio = "none";
    return o;
}

Desk::Desk(bool withColorFile, const QString& iniText, const Options& options,
           const std::function<void(const QString&)>& prepare) {
    QDir().mkpath(showDir());
    QDir().mkpath(home.path() + "/DOC");
    if (withColorFile) writeBytes(showDir() + "/lumiEdit.col", QByteArray(16384, '\0'));
    if (!iniText.isNull()) writeBytes(showDir() + "/Lumy.ini", iniText.toUtf8());
    if (prepare) prepare(showDir());
    form = std::make_unique<ui::TBaseForm>(options, io::DataFolder(home.path().toStdString()),
                                           std::make_unique<ScriptedDialogs>(log));
    form->FormCreate();
    form->show();
}

Desk::~Desk() {
    ScriptedDialogs::clearQueues();
    if (form) form->close();
}

void Desk::click(const QString& name) const {
    auto* button = find<QAbstractButton>(name);
    QVERIFY2(button, qPrintable("no button " + name));
    QVERIFY2(button->isEnabled(), qPrintable(name + " is disabled"));
    button->click();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

}  // namespace lumetra::testing
