// The about window and the manual.
#include <QCoreApplication>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>

#include "app/AboutForm.h"
#include "app/TBaseForm.h"

namespace lumetra::ui {

void TBaseForm::AboutItemClick() {
    TAboutForm about(this);
    about.exec();
}

void TBaseForm::HelpItemClick() {
    if (!helpWindow_) {
        helpWindow_ = new QTextBrowser(this);
        helpWindow_->setWindowFlag(Qt::Window);
        helpWindow_->setObjectName("HelpWindow");
        helpWindow_->setWindowTitle("Справка - Lumetra");
        helpWindow_->setOpenExternalLinks(true);
        helpWindow_->resize(760, 640);
    }
    // The manual in the data folder is the one the operator may have opened
    // elsewhere too; then the installed one beside the program (bin/../share),
    // and the copy inside the program when both are gone.
    QString source = QString::fromStdString(folder_.helpPath());
    if (!QFile::exists(source))
        source = QCoreApplication::applicationDirPath() + "/../share/doc/lumetra/Helplumi.html";
    if (!QFile::exists(source)) source = QStringLiteral(":/doc/Helplumi.html");
    helpWindow_->setSource(source.startsWith(':') ? QUrl("qrc" + source)
                                                  : QUrl::fromLocalFile(source));
    helpWindow_->show();
    helpWindow_->raise();
}

}  // namespace lumetra::ui
