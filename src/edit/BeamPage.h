#pragma once

#include <QObject>
#include <QPoint>
#include <array>

#include "edit/XyFigures.h"
#include "edit/XyPath.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPainter;
class QScrollBar;
class QSpinBox;
class QTimer;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class SceneCommands;
class PageHost;
class XyPathLayer;

// The page "Редактор луча": the path of a channel pair across a range of
// scenes on a 256 x 256 area, dragged point by point, nudged, mirrored,
// resized, rotated, copied to further pairs and filled with figures. The
// engine (XyPath, XyFigures) does the work on the show; this page turns
// clicks and drags into its calls and redraws from the show.
class BeamPage : public QObject {
    Q_OBJECT

  public:
    BeamPage(PageHost& form, SceneCommands& commands);

    // The slider the mouse wheel moves on this page: the first pair's channel.
    QScrollBar* wheelBar() const { return pairBars_[0]; }

    // Labels and range from the sliders and the show.
    void ReLabelEdiXY();
    // Repaints the path over the grid.
    void ReturnEditXY();
    // Draws the path of the range (the path layer's paint).
    void VisibleXY(QPainter& painter) const;

    // One nudge, mirror or size step over the range, then the repaint.
    void ButtonRepeat(lumetra::XyNudge code);
    void SpeedButtonRotateLeftClick();
    void SpeedButtonEditXYcopyClick();
    // The nine generator buttons.
    void madeFigure(lumetra::XyFigure figure);

    // The free-running auto-repeat timer, public so that a test can step it.
    void TimerRepeatButtonTimer();

    // The path area's mouse, in area pixels; also used by tests.
    void PaintBoxXYMouseDown(Qt::MouseButton button, QPoint pos);
    void PaintBoxXYMouseMove(QPoint pos);
    void PaintBoxXYMouseUp();

    lumetra::XyRange range() const;
    int firstChannel() const;
    const lumetra::XyDrag& drag() const { return drag_; }
    lumetra::XyNudge heldButton() const { return held_; }

  private:
    void build(QWidget* page);
    QWidget* buildArea(QWidget* parent);
    QGroupBox* buildRangeGroup(QWidget* parent);
    QGroupBox* buildMoveGroups(QWidget* parent);
    QGroupBox* buildFigureGroup(QWidget* parent);
    QGroupBox* buildRotateGroup(QWidget* parent);
    QGroupBox* buildPairGroup(QWidget* parent);
    QGroupBox* buildCurrentGroup(QWidget* parent);
    QToolButton* repeatButton(QWidget* parent, const char* name, const QString& text,
                              const char* hint, lumetra::XyNudge code);
    void refreshPage();
    void rangeChanged(QSpinBox* changed);
    void showHit(int scene);
    void hideHints();

    PageHost& form_;
    SceneCommands& commands_;
    lumetra::XyDrag drag_;
    lumetra::XyNudge held_ = lumetra::XyNudge::None;

    XyPathLayer* PaintBoxXY = nullptr;
    QWidget* PaintBoxGrid = nullptr;
    QSpinBox* SpinEditESSfrom = nullptr;
    QSpinBox* SpinEditESSto = nullptr;
    QCheckBox* CheckBoxEditXYAllScenes = nullptr;
    QCheckBox* CheckBoxAllScen = nullptr;
    QScrollBar* ScrollBarEditMaxX = nullptr;
    QScrollBar* ScrollBarEditWide = nullptr;
    QLabel* LabelmadeFigure = nullptr;
    QScrollBar* ScrollBarRotate = nullptr;
    QLabel* LabelEditRL = nullptr;
    std::array<QScrollBar*, 4> pairBars_{};   // ScrollBarEditXYCh1..4
    std::array<QCheckBox*, 3> pairChecks_{};  // CheckBoxEditXY2..4
    std::array<QLabel*, 4> firstNames_{};     // LabelXYareaFirrtName1..4
    std::array<QLabel*, 4> secondNames_{};    // LabelXYareaSecondName1..4
    QLabel* LabelESPosX = nullptr;
    QLabel* LabelESPosY = nullptr;
    QLabel* LabelEXYscena = nullptr;
    QTimer* TimerRepeatButton = nullptr;
};

}  // namespace lumetra::ui
