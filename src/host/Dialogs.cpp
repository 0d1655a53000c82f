#include "host/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace lumetra::ui {

namespace {
std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // A typed name of a file that does not exist is accepted; the load
        // itself reports a missing file.
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

int messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
               QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, buttons, parent);
    return box.exec();
}
}  // namespace

std::optional<QString> QtDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, false);
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, true);
}

bool QtDialogs::confirm(QWidget* parent, const QString& text) {
    return messageBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtDialogs::confirmWarning(QWidget* parent, const QString& text) {
    return messageBox(parent, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDialogs::error(QWidget* parent, const QString& text) {
    messageBox(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void QtDialogs::warning(QWidget* parent, const QString& text) {
    messageBox(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

void QtDialogs::message(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace lumetra::ui
