#include "app/ScreenFit.h"

#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QScrollArea>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace lumetra::ui {

namespace {
constexpr int kRoomyHeight = 900;  // the window's 860 lines and a title bar
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
}  // namespace

bool isShortScreen(const QRect& available) {
    return available.height() < kRoomyHeight;
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

ScrollOnlyWhatDoesNotFit::ScrollOnlyWhatDoesNotFit(QAbstractScrollArea* region,
                                                   QWidget* contents, int chrome)
    : QObject(region), region_(region), contents_(contents), chrome_(chrome) {
    contents->installEventFilter(this);
    update();
}

void ScrollOnlyWhatDoesNotFit::update() {
    const QScreen* screen = region_->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize room(area.width() - kLikelyFrame.left() - kLikelyFrame.right(),
                     area.height() - kLikelyFrame.top() - kLikelyFrame.bottom() - chrome_);
    region_->setMinimumSize(contents_->minimumSizeHint().boundedTo(room));
}

bool ScrollOnlyWhatDoesNotFit::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) update();
    return false;
}

void KeepOnScreen::fit(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom());
    const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
    if (size != window->size()) window->resize(size);

    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    const QPoint at = window->frameGeometry().topLeft();
    const int x = std::max(area.left(), std::min(at.x(), area.right() + 1 - outerWidth));
    const int y = std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outerHeight));
    if (QPoint(x, y) != at) window->move(x, y);
}

bool KeepOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWindow()) {
            const Qt::WindowType type = w->windowType();
            if (type == Qt::Window || type == Qt::Dialog) fit(w);
        }
    }
    return false;
}

}  // namespace lumetra::ui
