#pragma once

#include <QPoint>
#include <QWidget>

#include "view/HandScan.h"

class QCheckBox;
class QGroupBox;

namespace lumetra::ui {

class PageHost;

// The manual scanner window: a small window that stays on top, with a
// 256 x 256 field on which the mouse steers a scanner's beam. While the
// left button is held the cursor's pair goes into the current scene for
// every selected channel; with "Приоритет" ticked (only while this window
// is the active one) the output tick lays the pair over the line in any
// playback mode. It also puts its menu item and tool button on the main
// window.
class THandScanForm : public QWidget {
    Q_OBJECT

  public:
    explicit THandScanForm(PageHost& form);

    // Menu "Опции" -> "Поле для ручного управления лучем сканера" (Ctrl+A)
    // and the tool button: paints and shows the window.
    void AreaItemClick();

    // The field's mouse, in field pixels; also used by tests.
    void ShapeXYMouseDown(Qt::MouseButton button, QPoint pos);
    void ShapeXYMouseMove(QPoint pos);
    void ShapeXYMouseUp();

    bool dragging() const { return dragging_; }

  protected:
    bool event(QEvent* event) override;

  private:
    void buildWindow();
    void plugIntoMainWindow();
    void calcMouse();
    void dropPriority();

    PageHost& form_;
    bool dragging_ = false;
    QPoint mouse_;  // a (column) and b (row) on the field

    QGroupBox* GroupBoxXY = nullptr;
    QWidget* ShapeXY = nullptr;
    QWidget* ShapeCentr = nullptr;
    QCheckBox* CheckBoxX = nullptr;
    QCheckBox* CheckBoxY = nullptr;
    QCheckBox* CheckBoxX_Y = nullptr;
    QCheckBox* CheckBoxManualArea = nullptr;
};

}  // namespace lumetra::ui
