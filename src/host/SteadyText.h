#pragma once

class QLabel;
class QString;

namespace lumetra::ui {

// Sets the text of a label that changes while the show plays (step, tempo,
// clock, output levels, status) without laying the window out again: once
// shown, the label keeps the size its layout gave it, and grows (one
// relayout) only for a text that does not fit. The same text sets nothing.
// A label that is not shown takes the text as usual.
void setSteadyText(QLabel* label, const QString& text);

}  // namespace lumetra::ui
