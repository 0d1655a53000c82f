#include "host/SteadyText.h"

#include <QLabel>

namespace lumetra::ui {

void setSteadyText(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    if (!label->isVisible()) {
        label->setText(text);
        return;
    }
    // A widget of fixed size does not ask its layout to run again when its
    // size hint changes; QLabel asks on every new text otherwise, and a
    // wider or narrower hint moves (and repaints) everything beside it.
    if (label->minimumSize() != label->maximumSize()) label->setFixedSize(label->size());
    label->setText(text);
    // The full size hint lays the text out; the advance is enough to see
    // that it fits, which it nearly always does.
    const int room = label->contentsRect().width() - 2 * label->margin() - label->indent();
    if (label->fontMetrics().horizontalAdvance(text) <= room && !text.contains('\n')) return;
    const QSize need = label->sizeHint();
    if (need.width() > label->width() || need.height() > label->height())
        label->setFixedSize(label->size().expandedTo(need));
}

}  // namespace lumetra::ui
