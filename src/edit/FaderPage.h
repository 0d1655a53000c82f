#pragma once

#include <QObject>
#include <array>

#include "edit/FaderTools.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class ColorShape;
class GoboImage;
class SequencerPage;
class PageHost;

// The page "Фэйдера": 27 rows over a bank of channels of the current scene,
// the bank slider, the level and selection tools and the output display;
// also the group rate slider on "Плавность" and the group level slider on
// "Уровни". The engine's FaderTools does the work; this page moves the
// controls from its results and keeps the control mirrors current.
class FaderPage : public QObject {
    Q_OBJECT

  public:
    FaderPage(PageHost& form, SequencerPage& sequencer);

    // The slider the mouse wheel moves on this page: the group level.
    QScrollBar* wheelBar() const { return ScrolbarVertPos; }

    // Refreshes from the show; they never write the show.
    void ReturnScrollBars();
    void ReturnRate();
    void CheckBoxFromMemory();
    void NamberDmx();

    // The 100 ms display timer, public so that a test can step it.
    void TimerDataDmxToDspTimer();

    lumetra::CheckStates checkStates() const;
    // Row `row` (1..27) moved to `level`, as the operator moves it.
    void moveFader(int row, int level);
    // Name field k (1..27); the channel names room gives it its behaviour.
    QLineEdit* nameField(int row) const { return rows_[row - 1].name; }
    lumetra::FaderPositions faderPositions() const;

  private:
    struct Row {
        QLabel* number = nullptr;     // Label01c..Label27c
        QScrollBar* fader = nullptr;  // ScrollBar1..27
        QLabel* output = nullptr;     // Label1..27
        GoboImage* image = nullptr;   // Image1..27
        ColorShape* shape = nullptr;  // Shape1..27
        QLineEdit* name = nullptr;    // Edit1..27
        QScrollBar* rate = nullptr;   // ScrollBarRate01..27
        QCheckBox* check = nullptr;   // CheckBox1..27
    };

    void build(QWidget* page);
    QWidget* buildRows(QWidget* page);
    QWidget* buildTools(QWidget* page);
    void buildRateGroup(QWidget* slot);
    void buildLevelGroup(QWidget* slot);
    void refreshPage();
    void showPicturesAndMarkers();
    void showChecks(const lumetra::CheckStates& states);
    void levelTool(lumetra::ToolResult (lumetra::FaderTools::*tool)());

    void ScrollBarChange(int row, int position);
    void CheckBoxClick(int row, bool ticked);
    void ScrollBarRateChange(int row, int position);
    void ScrolbarVertPosChange(int position);
    void ScrollBarLevelAllChange(int position);
    void ScrollBarRateLeuelChange(int position);
    void ClearAll();

    PageHost& form_;
    SequencerPage& sequencer_;
    lumetra::FaderTools tools_;
    std::array<Row, lumetra::kFaderRows> rows_{};

    QLabel* LabelOpis = nullptr;
    QScrollBar* ScrolbarVertPos = nullptr;
    QToolButton* SpeedButtonOutLevel255 = nullptr;
    QToolButton* SpeedButtonOutLevel100 = nullptr;
    QToolButton* SpeedButtonLevel255 = nullptr;
    QScrollBar* ScrollBarRateLeuel = nullptr;
    QLabel* LabelRate = nullptr;
    QScrollBar* ScrollBarLevelAll = nullptr;
    QTimer* TimerDataDmxToDsp = nullptr;
};

}  // namespace lumetra::ui
