#pragma once

#include <QObject>
#include <QRect>

class QAbstractScrollArea;
class QWidget;

namespace lumetra::ui {

// A screen too short for the console's roomy layout (a laptop's 768 lines
// less its panel, or 1536 at a scale factor of 2): the main window then
// tightens its spacing so that every fader row and group still shows.
bool isShortScreen(const QRect& available);

// Tightens every layout below root: spacing of at most 2 pixels and margins
// of at most 3, so that the same controls need less height.
void compactLayouts(QWidget* root);

// A scrolled region around a window's contents that takes their full
// minimum size wherever the screen has room for it, and scrolls only the
// part that the screen lacks.
class ScrollOnlyWhatDoesNotFit : public QObject {
  public:
    // chrome: the height the window adds around the region (menu, tool bar,
    // status line).
    ScrollOnlyWhatDoesNotFit(QAbstractScrollArea* region, QWidget* contents, int chrome);
    void update();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractScrollArea* region_;
    QWidget* contents_;
    int chrome_;
};

// Keeps every window of the application wholly on its screen when it is
// shown: a window larger than the screen's free area (the desktop's panels
// left out) is made smaller, down to its minimum size, and one that would
// stand partly off the area is moved onto it. Menus and tool tips are left
// to Qt.
class KeepOnScreen : public QObject {
  public:
    explicit KeepOnScreen(QObject* parent) : QObject(parent) {}
    static void fit(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lumetra::ui
