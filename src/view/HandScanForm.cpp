#include "view/HandScanForm.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "host/PageHost.h"

namespace lumetra::ui {

namespace {

constexpr int kField = 256;
constexpr int kFieldLeft = 16;
constexpr int kFieldTop = 16;
constexpr int kMarker = 20;
const QColor kWindowColor(200, 200, 255);
const QString kFieldHint =
    "Положение курсора на поле воздействует на два канала, начиная с первой отметки в столбце "
    "=Выбор = ";

// The steering field: a cross-hatched square through which the marker
// behind it shows.
class ScannerField : public QWidget {
  public:
    explicit ScannerField(QWidget* parent, THandScanForm& form) : QWidget(parent), form_(form) {
        setObjectName("ShapeXY");
        setFixedSize(kField, kField);
        setCursor(Qt::CrossCursor);
        setMouseTracking(true);
        setAccessibleName("Поле сканера");
        setAccessibleDescription(kFieldHint);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(Qt::black, Qt::DiagCrossPattern));
        p.drawRect(rect());
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* e) override {
        form_.ShapeXYMouseDown(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        form_.ShapeXYMouseMove(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent*) override { form_.ShapeXYMouseUp(); }

  private:
    THandScanForm& form_;
};

// The yellow marker that follows the cursor while the beam is steered.
class ScannerMarker : public QWidget {
  public:
    explicit ScannerMarker(QWidget* parent) : QWidget(parent) {
        setObjectName("ShapeCentr");
        setFixedSize(kMarker, kMarker);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName("Маркер луча");
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::yellow);
        p.drawEllipse(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

THandScanForm::THandScanForm(PageHost& form)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      form_(form) {
    setObjectName("HandScanForm");
    setWindowTitle("Ручное управление сканером");
    buildWindow();
    plugIntoMainWindow();
}

void THandScanForm::buildWindow() {
    GroupBoxXY = new QGroupBox("Ручное управление лучем сканера ", this);
    GroupBoxXY->setObjectName("GroupBoxXY");
    GroupBoxXY->setToolTip(kFieldHint);

    // The marker is made first so that it stays behind the field.
    ShapeCentr = new ScannerMarker(GroupBoxXY);
    ShapeCentr->move(kFieldLeft + kField / 2 - kMarker / 2, kFieldTop + kField / 2 - kMarker / 2);
    ShapeXY = new ScannerField(GroupBoxXY, *this);
    ShapeXY->move(kFieldLeft, kFieldTop);
    ShapeCentr->stackUnder(ShapeXY);

    auto check = [this](const char* name, const QString& text, const QString& hint) {
        auto* box = new QCheckBox(text, GroupBoxXY);
        box->setObjectName(name);
        box->setToolTip(hint);
        return box;
    };
    CheckBoxX = check("CheckBoxX", "X=255", "Инверсия по X");
    CheckBoxY = check("CheckBoxY", "Y=255", "Инверсия по Y");
    CheckBoxX_Y = check("CheckBoxX_Y", "X<->Y", "Меняет местами координаты  X <> Y ");
    CheckBoxManualArea = check("CheckBoxManualArea", "Приоритет", "Управлять в любом режиме");
    // Two rows under the field.
    const int row1 = kFieldTop + kField + 6;
    const int row2 = row1 + 24;
    CheckBoxX->move(kFieldLeft, row1);
    CheckBoxY->move(kFieldLeft + 90, row1);
    CheckBoxX_Y->move(kFieldLeft, row2);
    CheckBoxManualArea->move(kFieldLeft + 90, row2);
    for (QCheckBox* box : {CheckBoxX, CheckBoxY, CheckBoxX_Y, CheckBoxManualArea})
        box->setFixedWidth(box->sizeHint().width() + 20);  // room for "X=255" and "Y=255"

    connect(CheckBoxManualArea, &QCheckBox::toggled, this,
            [this](bool on) { form_.console().controls.scannerPriority.set(on ? 1 : 0); });

    const int width = kFieldLeft + kField + 17;  // 289: the field with its margins
    const int height = row2 + 30;
    GroupBoxXY->setGeometry(0, 0, width, height);
    setFixedSize(width, height);
}

void THandScanForm::plugIntoMainWindow() {
    QAction* item = form_.optionsMenu()->addAction("Поле для ручного управления лучем сканера");
    item->setObjectName("AreaItem");
    item->setShortcut(QKeySequence("Ctrl+A"));
    connect(item, &QAction::triggered, this, &THandScanForm::AreaItemClick);

    auto* button = new QToolButton;
    button->setObjectName("SpeedButtonAREA");
    button->setText("Сканер");
    button->setToolTip("Окно ручного управления сканера ");
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(button, &QToolButton::clicked, this, &THandScanForm::AreaItemClick);
    form_.addSceneToolButton(button);
}

void THandScanForm::AreaItemClick() {
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowColor);
    setPalette(p);
    setAutoFillBackground(true);
    dragging_ = false;
    show();
    raise();
    activateWindow();
}

bool THandScanForm::event(QEvent* e) {
    // Priority acts only while this window is the active one: it goes off
    // whenever the window is activated or loses activation.
    if (e->type() == QEvent::WindowActivate) {
        dropPriority();
        GroupBoxXY->setVisible(true);
    } else if (e->type() == QEvent::WindowDeactivate) {
        dropPriority();
    }
    return QWidget::event(e);
}

void THandScanForm::dropPriority() {
    form_.console().controls.scannerPriority.set(0);
    const QSignalBlocker block(CheckBoxManualArea);
    CheckBoxManualArea->setChecked(false);
}

void THandScanForm::ShapeXYMouseDown(Qt::MouseButton button, QPoint pos) {
    if (button != Qt::LeftButton) return;
    dragging_ = true;
    ShapeXYMouseMove(pos);
}

void THandScanForm::ShapeXYMouseMove(QPoint pos) {
    mouse_ = QPoint(std::clamp(pos.x(), 0, kField - 1), std::clamp(pos.y(), 0, kField - 1));
    calcMouse();
}

void THandScanForm::ShapeXYMouseUp() {
    dragging_ = false;
}

void THandScanForm::calcMouse() {
    const ScannerPair pair =
        scannerPair(mouse_.x(), mouse_.y(),
                    {CheckBoxX->isChecked(), CheckBoxY->isChecked(), CheckBoxX_Y->isChecked()});
    CheckBoxX->setText(QString("X=%1").arg(pair.x));
    CheckBoxY->setText(QString("Y=%1").arg(pair.y));
    if (dragging_) {
        ShapeCentr->move(mouse_.x() + kMarker / 2 + ShapeXY->x() - 19,
                         mouse_.y() + kMarker / 2 + ShapeXY->y() - 19);
        Console& console = form_.console();
        console.controls.scannerX.set(pair.x);
        console.controls.scannerY.set(pair.y);
        writeScannerPair(console, pair);
    }
    form_.ReturnPageControlAll();
}

}  // namespace lumetra::ui
