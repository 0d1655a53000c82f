#pragma once

#include <QObject>
#include <QRect>
#include <QSet>
#include <functional>

class QAbstractScrollArea;
class QWidget;
class QWindow;

namespace lumetra::ui {

// Whether a window of this size (without its frame) fits the screen's free
// area once the window manager has framed it. Before the window is first
// shown its frame is not known: a likely one is allowed for.
bool fitsOnScreen(QSize window, const QRect& available);

// The smallest size root's layouts allow, counted afresh: a page of a page
// control that was filled while hidden otherwise reports what it needed
// before.
QSize freshMinimumSize(QWidget* root);

// Tightens every layout below root: spacing of at most 2 pixels and margins
// of at most 3, so that the same controls need less room.
void compactLayouts(QWidget* root);

// A scrolled region around a window's contents that takes their full
// minimum size wherever the screen has room for it, and scrolls only the
// part that the screen lacks.
class ScrollOnlyWhatDoesNotFit : public QObject {
    Q_OBJECT

  public:
    // chrome: the height the window adds around the region (menu, tool bar,
    // status line).
    ScrollOnlyWhatDoesNotFit(QAbstractScrollArea* region, QWidget* contents,
                             std::function<int()> chrome);
    void update();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractScrollArea* region_;
    QWidget* contents_;
    std::function<int()> chrome_;
};

// Keeps every window of the application wholly on its screen when it is
// shown: a window larger than the screen's free area (the desktop's panels
// left out) is made smaller, down to its minimum size, and one that would
// stand partly off the area is moved onto it. This is done again once the
// window is first on screen, when the frame the window manager gave it is
// known. Menus and tool tips are left to Qt.
class KeepOnScreen : public QObject {
  public:
    explicit KeepOnScreen(QObject* parent) : QObject(parent) {}
    // framed: the window manager has just framed the window; where it put
    // it may not have reached Qt yet.
    static void fit(QWidget* window, bool framed = false);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shown, and not yet exposed since.
    QSet<QWindow*> framing_;
};

}  // namespace lumetra::ui
