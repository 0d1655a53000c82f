#pragma once

#include <QDialog>
#include <QLabel>

class QTimer;

namespace lumetra::ui {

// A link in the about window: red with a hand cursor under the mouse, dark
// blue when the mouse leaves, green once clicked; a click opens it with the
// desktop's handler (mail client or browser).
class AboutLink : public QLabel {
    Q_OBJECT
public:
    AboutLink(const QString& text, const QString& url, QWidget* parent);
    QString url() const { return url_; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintText(const QColor& color);
    QString url_;
};

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

private:
    QTimer* flash_ = nullptr;
};

}  // namespace lumetra::ui
