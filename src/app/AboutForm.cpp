#include "app/AboutForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace lumetra::ui {

AboutLink::AboutLink(const QString& text, const QString& url, QWidget* parent)
    : QLabel(text, parent), url_(url) {
    setMouseTracking(true);
    paintText(QColor(0, 0, 128));
}

void AboutLink::paintText(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void AboutLink::enterEvent(QEnterEvent* event) {
    paintText(Qt::red);
    setCursor(Qt::PointingHandCursor);
    QLabel::enterEvent(event);
}

void AboutLink::leaveEvent(QEvent* event) {
    paintText(QColor(0, 0, 128));
    unsetCursor();
    QLabel::leaveEvent(event);
}

void AboutLink::mousePressEvent(QMouseEvent* event) {
    paintText(QColor(0, 128, 0));
    QDesktopServices::openUrl(QUrl(url_));
    QLabel::mousePressEvent(event);
}

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutForm");
    setWindowTitle("О программе");
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(135, 206, 235));  // sky blue
    setPalette(p);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel("<b>Lumetra - Управление  DMX512</b>", this);
    name->setObjectName("LabelProgram");
    name->setAlignment(Qt::AlignCenter);
    auto* maker = new QLabel("Lumetra Lighting Software", this);
    maker->setObjectName("LabelMaker");
    maker->setAlignment(Qt::AlignCenter);
    auto* contactLine = new QLabel("Поддержка и предложения: почта и сайт ниже", this);
    contactLine->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel("Version 5.4.1      Июнь 2009 г.", this);
    version->setObjectName("LabelVersion");
    version->setAlignment(Qt::AlignCenter);
    auto* mail = new AboutLink("support@lumetra.org", "mailto:support@lumetra.org", this);
    mail->setObjectName("LabelMail");
    mail->setAlignment(Qt::AlignCenter);
    auto* web = new AboutLink("www.lumetra.org", "https://www.lumetra.org", this);
    web->setObjectName("LabelWeb");
    web->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ButtonOK");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* label : {name, maker, contactLine, version, static_cast<QLabel*>(mail),
                          static_cast<QLabel*>(web)})
        layout->addWidget(label);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setFixedSize(380, 240);

    // The caption flashes while the window is open.
    flash_ = new QTimer(this);
    flash_->setInterval(300);
    connect(flash_, &QTimer::timeout, this, [this] { QApplication::alert(this, 300); });
    flash_->start();
}

}  // namespace lumetra::ui
