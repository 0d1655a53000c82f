#pragma once

#include <QPixmap>
#include <QWidget>

namespace lumetra::ui {

// The gobo picture list: 142 pictures of 16 x 16 pixels, numbered 0..141,
// that hint at what a channel controls (lamp, pan, tilt, colours, gobo
// patterns). They are drawn once, on first use.
constexpr int kGoboPictureSize = 16;
int goboPictureCount();
// Picture n; a null pixmap for a number of 142 or more.
QPixmap goboPicture(int n);

// A 16 x 16 place that shows one picture of the list, or nothing.
class GoboImage : public QWidget {
    Q_OBJECT

  public:
    explicit GoboImage(QWidget* parent = nullptr);
    int picture() const { return picture_; }
    void setPicture(int n);
    QSize sizeHint() const override { return {kGoboPictureSize, kGoboPictureSize}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int picture_ = -1;
};

}  // namespace lumetra::ui
