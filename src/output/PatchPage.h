#pragma once

#include <QWidget>
#include <array>

class QButtonGroup;
class QLabel;
class QScrollBar;

namespace lumetra::ui {

class PageHost;

// The "DMX coder" page: thirty rows show and edit the patch entries of
// output channels p + 1 .. p + 30, where p is the position of
// `ScrollBarCoderPos`. Entry j names the show channel that output channel j
// carries. The table lives in the console state and is not part of the show.
class PatchPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRows = 30;

    PatchPage(PageHost& form, QWidget* page);

    // Shows the table in the thirty rows. A refresh never writes into the
    // table: an entry the rows cannot show (a loaded value outside 1..255)
    // stays as loaded, with its slider at the nearer end and its true value
    // in the row text, until the operator moves that slider.
    void UpDateDmxCoder();

    void ScrollBarCoderChange(int row, int position);
    void SpeedButtonResetCoderClick();
    void SpeedButtonLarge(int step);
    void SpeedButtonOpenCoderTabClick();
    void SpeedButtonSaveCoderTabClick();

    // "Канал " + source + " выводится в канал " + output.
    static QString rowText(int source, int output);

  private:
    int firstRowOffset() const;
    void relabel(int row);

    PageHost& form_;
    QScrollBar* ScrollBarCoderPos = nullptr;
    std::array<QScrollBar*, kRows> ScrollBarCoder{};
    std::array<QLabel*, kRows> Labelcoder{};
    QButtonGroup* stepGroup_ = nullptr;
};

}  // namespace lumetra::ui
