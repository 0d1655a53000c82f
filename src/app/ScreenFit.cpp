#include "app/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace lumetra::ui {

namespace {
constexpr int kTightSpacing = 2;
constexpr int kTightMargin = 3;
// The frame a window manager is likely to add, while the window has none
// yet: a title bar and thin borders.
constexpr QMargins kLikelyFrame(2, 30, 2, 2);

QMargins frameOf(const QWidget* w) {
    const QRect inner = w->geometry(), outer = w->frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    return frame.isNull() ? kLikelyFrame : frame;
}

// The room the screen's free area leaves inside a window's frame.
QSize roomInside(const QRect& area, const QMargins& frame) {
    return QSize(area.width() - frame.left() - frame.right(),
                 area.height() - frame.top() - frame.bottom());
}
}  // namespace

bool fitsOnScreen(QSize window, const QRect& available) {
    const QSize room = roomInside(available, kLikelyFrame);
    return window.width() <= room.width() && window.height() <= room.height();
}

QSize freshMinimumSize(QWidget* root) {
    // Every widget drops the sizes its layout item keeps, every layout its
    // own; then the minimum is counted from the leaves up.
    for (QWidget* w : root->findChildren<QWidget*>()) w->updateGeometry();
    for (QLayout* l : root->findChildren<QLayout*>()) l->invalidate();
    if (root->layout()) root->layout()->invalidate();
    return root->minimumSizeHint();
}

void compactLayouts(QWidget* root) {
    QList<QLayout*> layouts = root->findChildren<QLayout*>();
    if (root->layout()) layouts << root->layout();
    for (QLayout* l : layouts) {
        if (auto* grid = qobject_cast<QGridLayout*>(l)) {
            grid->setHorizontalSpacing(std::min(std::max(grid->horizontalSpacing(), 0), 4));
            grid->setVerticalSpacing(std::min(std::max(grid->verticalSpacing(), 0), kTightSpacing));
        } else {
            l->setSpacing(std::min(std::max(l->spacing(), 0), kTightSpacing));
        }
        const QMargins m = l->contentsMargins();
        l->setContentsMargins(std::min(m.left(), kTightMargin), std::min(m.top(), kTightMargin),
                              std::min(m.right(), kTightMargin),
                              std::min(m.bottom(), kTightMargin));
    }
}

ScrollOnlyWhatDoesNotFit::ScrollOnlyWhatDoesNotFit(QAbstractScrollArea* region, QWidget* contents,
                                                   std::function<int()> chrome)
    : QObject(region), region_(region), contents_(contents), chrome_(std::move(chrome)) {
    contents->installEventFilter(this);
    update();
}

void ScrollOnlyWhatDoesNotFit::update() {
    const QScreen* screen = region_->screen();
    if (!screen) return;
    const QSize room =
        roomInside(screen->availableGeometry(), frameOf(region_->window())) - QSize(0, chrome_());
    region_->setMinimumSize(contents_->minimumSizeHint().boundedTo(room));
}

bool ScrollOnlyWhatDoesNotFit::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) update();
    return false;
}

void KeepOnScreen::fit(QWidget* window, bool framed) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    // Scrolled regions first take what this screen and frame leave them, so
    // that the window's minimum size is that of this screen.
    const QList<ScrollOnlyWhatDoesNotFit*> regions =
        window->findChildren<ScrollOnlyWhatDoesNotFit*>();
    for (ScrollOnlyWhatDoesNotFit* region : regions) region->update();
    if (!regions.isEmpty() && window->layout()) window->layout()->activate();

    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const QSize size =
        window->size().boundedTo(roomInside(area, frame)).expandedTo(window->minimumSize());
    if (size != window->size()) window->resize(size);

    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    const QPoint at = window->frameGeometry().topLeft();
    // A title bar above the area is a place no manager gives: Qt does not
    // know the place yet, and the manager's stands.
    if (framed && !area.contains(at)) return;
    const int x = std::max(area.left(), std::min(at.x(), area.right() + 1 - outerWidth));
    const int y = std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outerHeight));
    if (QPoint(x, y) != at) window->move(x, y);
}

bool KeepOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWindow()) {
            const Qt::WindowType type = w->windowType();
            if (type == Qt::Window || type == Qt::Dialog) {
                fit(w);
                if (w->windowHandle()) framing_.insert(w->windowHandle());
            }
        }
    } else if (event->type() == QEvent::Hide && !framing_.isEmpty()) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow())
            framing_.remove(w->windowHandle());
    } else if (event->type() == QEvent::Expose && !framing_.isEmpty()) {
        // The window manager has framed the window by its first expose: fit
        // it again with the frame it really has.
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->isExposed() && framing_.remove(window)) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->windowHandle() == window && w->isVisible()) fit(w, true);
        }
    }
    return false;
}

}  // namespace lumetra::ui
