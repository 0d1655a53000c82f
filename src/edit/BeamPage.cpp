#include "edit/BeamPage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "host/PageHost.h"
#include "edit/NamePage.h"
#include "show/SceneCommands.h"

namespace lumetra::ui {

namespace {

const QString kPathHint = "Переместить сцену в X-Y";
const QString kFigureHint = "Вычертить фигугу по сценам";
const QString kOneSceneFigure =
    "Для этой фигуры нужно не меньше двух сцен: \"От Сцены\" и \"До Сцены\" совпадают";

constexpr int kRepeatStart = 700;
constexpr int kRepeatFast = 50;
constexpr int kRepeatIdle = 1000;

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(30);
    return button;
}

QScrollBar* makeBar(QWidget* parent, const QString& name, Qt::Orientation orientation, int min,
                    int max, int value, const QString& hint) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(value);
    bar->setToolTip(hint);
    if (orientation == Qt::Horizontal) bar->setMinimumWidth(120);
    return bar;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QString channelLabel(const ShowMemory& show, int channel) {
    return QString("Ch%1  ").arg(channel) + channelNameText(show, channel);
}

QString rotationLabel(int angle) {
    return angle < 180 ? QString("Вправо %1").arg(angle) : QString("Влево %1").arg(360 - angle);
}

// The grid layer under the path: the centre cross in black and the lines
// every 16 levels in grey.
class XyGridLayer : public QWidget {
  public:
    explicit XyGridLayer(QWidget* parent) : QWidget(parent) {
        setFixedSize(xy::kAreaSize, xy::kAreaSize);
    }

  protected:
    void paintEvent(QPaintEvent*) override { GrideXY(); }

  private:
    void GrideXY() {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(127, 0, 127, 255);
        p.drawLine(0, 127, 255, 127);
        p.setPen(QPen(QColor(128, 128, 128), 1));
        for (int k = 1; k <= 7; ++k) {
            for (int at : {127 + 16 * k, 127 - 16 * k}) {
                p.drawLine(at, 0, at, 255);
                p.drawLine(0, at, 255, at);
            }
        }
    }
};

}  // namespace

// The path layer over the grid: draws the path and takes the mouse. Its
// hint follows the point under the cursor and shows only while a point is
// hit.
class XyPathLayer : public QWidget {
  public:
    XyPathLayer(QWidget* parent, BeamPage& page) : QWidget(parent), page_(page) {
        setObjectName("PaintBoxXY");
        setFixedSize(xy::kAreaSize, xy::kAreaSize);
        setMouseTracking(true);
        setToolTip(kPathHint);
        setAccessibleName("Траектория луча");
        setAccessibleDescription(kPathHint);
    }
    bool hintsShown = false;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        page_.VisibleXY(p);
    }
    void mousePressEvent(QMouseEvent* e) override {
        page_.PaintBoxXYMouseDown(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        page_.PaintBoxXYMouseMove(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent*) override { page_.PaintBoxXYMouseUp(); }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip && !hintsShown) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        return QWidget::event(e);
    }

  private:
    BeamPage& page_;
};

BeamPage::BeamPage(PageHost& form, SceneCommands& commands)
    : QObject(form.widget()), form_(form), commands_(commands) {
    setObjectName("BeamPage");
    build(form.inputPage(PageHost::PageBeam));

    // It runs only while a button is held (from the press on): an idle
    // console has no timer firing for nothing.
    TimerRepeatButton = new QTimer(this);
    TimerRepeatButton->setObjectName("TimerRepeatButton");
    TimerRepeatButton->setInterval(kRepeatStart);
    connect(TimerRepeatButton, &QTimer::timeout, this, &BeamPage::TimerRepeatButtonTimer);

    form.onPageRefresh(PageHost::PageBeam, [this] { refreshPage(); });
    ReLabelEdiXY();
}

void BeamPage::build(QWidget* page) {
    // The memory/undo pair is already at the top of the page's column.
    auto* column = qobject_cast<QBoxLayout*>(page->layout());
    if (!column) column = new QVBoxLayout(page);

    auto* editor = new QWidget(page);
    editor->setObjectName("BeamEditor");
    auto* grid = new QGridLayout(editor);
    grid->setContentsMargins(4, 4, 4, 4);
    auto* title = makeLabel(editor, "LabelEditOpis",
                            "Динамика изменения двух соседних каналов по выделенным сценам ");
    grid->addWidget(title, 0, 0, 1, 3);

    auto* left = new QVBoxLayout;
    left->addWidget(buildArea(editor), 0, Qt::AlignLeft | Qt::AlignTop);
    left->addWidget(buildCurrentGroup(editor));
    left->addWidget(buildRangeGroup(editor));
    left->addStretch(1);
    grid->addLayout(left, 1, 0);

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildMoveGroups(editor));
    middle->addWidget(buildFigureGroup(editor));
    middle->addWidget(buildRotateGroup(editor));
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildPairGroup(editor));
    right->addStretch(1);
    grid->addLayout(right, 1, 2);
    grid->setColumnStretch(3, 1);

    column->insertWidget(1, editor, 1);
}

QWidget* BeamPage::buildArea(QWidget* parent) {
    PaintBoxGrid = new XyGridLayer(parent);
    PaintBoxGrid->setObjectName("PaintBoxGrid");
    PaintBoxGrid->setAccessibleName("Сетка луча");
    PaintBoxXY = new XyPathLayer(PaintBoxGrid, *this);
    PaintBoxXY->move(0, 0);
    return PaintBoxGrid;
}

QGroupBox* BeamPage::buildCurrentGroup(QWidget* parent) {
    auto* group = new QGroupBox("Текущие", parent);
    group->setObjectName("GroupBoxCurrent");
    auto* row = new QHBoxLayout(group);
    LabelESPosX = makeLabel(group, "LabelESPosX", "X = 0");
    LabelESPosY = makeLabel(group, "LabelESPosY", "Y = 0");
    LabelEXYscena = makeLabel(group, "LabelEXYscena", " Сцена ? ");
    for (QLabel* l : {LabelESPosX, LabelESPosY, LabelEXYscena}) {
        l->setMinimumWidth(70);
        row->addWidget(l);
    }
    return group;
}

QGroupBox* BeamPage::buildRangeGroup(QWidget* parent) {
    auto* group = new QGroupBox("Видимые Сцены ", parent);
    group->setObjectName("GroupBoxVisibleScenes");
    auto* grid = new QGridLayout(group);
    auto spin = [group](const char* name, int min, int max, int value) {
        auto* s = new QSpinBox(group);
        s->setObjectName(name);
        s->setRange(min, max);
        s->setValue(value);
        return s;
    };
    SpinEditESSfrom = spin("SpinEditESSfrom", 1, 250, 1);
    SpinEditESSto = spin("SpinEditESSto", 2, 255, 32);
    auto* fromLabel = new QLabel("От Сцены", group);
    fromLabel->setBuddy(SpinEditESSfrom);
    auto* toLabel = new QLabel("До Сцены", group);
    toLabel->setBuddy(SpinEditESSto);
    grid->addWidget(fromLabel, 0, 0);
    grid->addWidget(SpinEditESSfrom, 1, 0);
    grid->addWidget(toLabel, 0, 1);
    grid->addWidget(SpinEditESSto, 1, 1);
    for (QSpinBox* s : {SpinEditESSfrom, SpinEditESSto})
        connect(s, &QSpinBox::valueChanged, this, [this, s] { rangeChanged(s); });

    CheckBoxEditXYAllScenes = new QCheckBox("Все сцены", group);
    CheckBoxEditXYAllScenes->setObjectName("CheckBoxEditXYAllScenes");
    CheckBoxEditXYAllScenes->setChecked(true);
    connect(CheckBoxEditXYAllScenes, &QCheckBox::toggled, this, [this] {
        ReLabelEdiXY();
        ReturnEditXY();
    });
    CheckBoxAllScen = new QCheckBox("Менять Сцену", group);
    CheckBoxAllScen->setObjectName("CheckBoxAllScen");
    CheckBoxAllScen->setToolTip("Перетаскивание луча меняет текущую сцену");
    CheckBoxAllScen->setChecked(true);
    grid->addWidget(CheckBoxEditXYAllScenes, 2, 0);
    grid->addWidget(CheckBoxAllScen, 2, 1);
    return group;
}

QToolButton* BeamPage::repeatButton(QWidget* parent, const char* name, const QString& text,
                                    const char* hint, XyNudge code) {
    QToolButton* button = makeButton(parent, name, text, QString::fromUtf8(hint));
    connect(button, &QToolButton::pressed, this, [this, code] {
        held_ = code;
        ButtonRepeat(code);
        if (repeats(code)) TimerRepeatButton->start();
    });
    connect(button, &QToolButton::released, this, [this] {
        held_ = XyNudge::None;
        TimerRepeatButton->stop();
        TimerRepeatButton->setInterval(kRepeatIdle);
    });
    return button;
}

QGroupBox* BeamPage::buildMoveGroups(QWidget* parent) {
    auto* box = new QGroupBox(parent);
    box->setObjectName("GroupBoxMove");
    box->setFlat(true);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);

    auto* position = new QGroupBox("Положение", box);
    position->setObjectName("GroupBoxPosition");
    auto* pos = new QGridLayout(position);
    const char* shift = "Смещение фигуры";
    pos->addWidget(repeatButton(position, "SpeedButtonEditPosUp", "↑", shift, XyNudge::Up), 0, 1);
    pos->addWidget(repeatButton(position, "SpeedButtonEditPosLeft", "←", shift, XyNudge::Left), 1,
                   0);
    pos->addWidget(repeatButton(position, "SpeedButtonEditPosRight", "→", shift, XyNudge::Right), 1,
                   2);
    pos->addWidget(repeatButton(position, "SpeedButtonEditPosDown", "↓", shift, XyNudge::Down), 2,
                   1);
    row->addWidget(position);

    auto* mirror = new QGroupBox("Отражение ", box);
    mirror->setObjectName("GroupBoxMirror");
    auto* mir = new QVBoxLayout(mirror);
    for (auto [name, text, code] :
         {std::tuple{"SpeedButtonGorizontMirror", "↔", XyNudge::MirrorX},
          std::tuple{"SpeedButtonVerticalMirror", "↕", XyNudge::MirrorY}}) {
        QToolButton* b = makeButton(mirror, name, text, "Зеркальное отображение");
        connect(b, &QToolButton::clicked, this, [this, mirrorCode = code] {
            held_ = XyNudge::None;
            ButtonRepeat(mirrorCode);
        });
        mir->addWidget(b);
    }
    row->addWidget(mirror);

    auto* size = new QGroupBox("Размер ", box);
    size->setObjectName("GroupBoxSize");
    auto* siz = new QVBoxLayout(size);
    siz->addWidget(
        repeatButton(size, "SpeedButtonEditRazmerMore", "+", "Увеличить фигуру", XyNudge::Grow));
    siz->addWidget(
        repeatButton(size, "SpeedButtonEditRazmerMene", "-", "Уменьшить фигуру", XyNudge::Shrink));
    row->addWidget(size);
    return box;
}

QGroupBox* BeamPage::buildFigureGroup(QWidget* parent) {
    auto* group = new QGroupBox("Создание Фигур ", parent);
    group->setObjectName("GroupBoxFigures");
    auto* grid = new QGridLayout(group);
    struct Def {
        const char* name;
        const char* text;
        XyFigure figure;
    };
    static const Def defs[] = {
        {"SpeedButtonEditXYmadeLine", "/", XyFigure::Line},
        {"SpeedButtonEditXYmadeTreug", "△", XyFigure::Triangle},
        {"SpeedButtonEditXYmadeRect", "□", XyFigure::Rectangle},
        {"SpeedButtonEditXYmadeSix", "X", XyFigure::Cross},
        {"SpeedButtonEditXYmadeSnake", "≋", XyFigure::Snake},
        {"SpeedButtonEditXYmadeCucle", "○", XyFigure::Circle},
        {"SpeedButtonEditXYmade8", "8", XyFigure::Eight},
        {"SpeedButtonEditXYmadePent", "88", XyFigure::FourLeaf},
        {"SpeedButtonEditSpiral", "@", XyFigure::Spiral},
    };
    int n = 0;
    for (const Def& d : defs) {
        QToolButton* b = makeButton(group, d.name, QString::fromUtf8(d.text), kFigureHint);
        const XyFigure figure = d.figure;
        connect(b, &QToolButton::clicked, this, [this, figure] { madeFigure(figure); });
        grid->addWidget(b, n / 5, n % 5);
        ++n;
    }

    ScrollBarEditMaxX = makeBar(group, "ScrollBarEditMaxX", Qt::Horizontal, 20, 250, 200,
                                "размер создаваемой фигуры");
    ScrollBarEditWide =
        makeBar(group, "ScrollBarEditWide", Qt::Vertical, 0, 10, 7, "вид или длинна конца фигуры");
    ScrollBarEditWide->setPageStep(1);
    ScrollBarEditWide->setMinimumHeight(60);
    LabelmadeFigure = makeLabel(group, "LabelmadeFigure");
    grid->addWidget(ScrollBarEditMaxX, 2, 0, 1, 5);
    grid->addWidget(LabelmadeFigure, 3, 0, 1, 5);
    grid->addWidget(ScrollBarEditWide, 0, 5, 4, 1);
    for (QScrollBar* bar : {ScrollBarEditMaxX, ScrollBarEditWide})
        connect(bar, &QScrollBar::valueChanged, this, &BeamPage::ReLabelEdiXY);
    return group;
}

QGroupBox* BeamPage::buildRotateGroup(QWidget* parent) {
    auto* group = new QGroupBox("Поворот", parent);
    group->setObjectName("GroupBoxRotate");
    auto* grid = new QGridLayout(group);
    ScrollBarRotate = makeBar(group, "ScrollBarRotate", Qt::Horizontal, 1, 359, 45, QString());
    LabelEditRL = makeLabel(group, "LabelEditRL");
    QToolButton* rotate = makeButton(group, "SpeedButtonRotateLeft", "↻", "Выполнить поворот ");
    connect(ScrollBarRotate, &QScrollBar::valueChanged, this, &BeamPage::ReLabelEdiXY);
    connect(rotate, &QToolButton::clicked, this, &BeamPage::SpeedButtonRotateLeftClick);
    grid->addWidget(ScrollBarRotate, 0, 0);
    grid->addWidget(rotate, 0, 1);
    grid->addWidget(LabelEditRL, 1, 0, 1, 2);
    return group;
}

QGroupBox* BeamPage::buildPairGroup(QWidget* parent) {
    auto* group = new QGroupBox("Редактируемые Каналы ", parent);
    group->setObjectName("GroupBoxPairs");
    auto* grid = new QGridLayout(group);
    for (int k = 0; k < 4; ++k) {
        const int row = 3 * k;
        QScrollBar* bar = makeBar(group, QString("ScrollBarEditXYCh%1").arg(k + 1), Qt::Horizontal,
                                  0, xy::kMaxFirstChannel, 0, QString());
        pairBars_[k] = bar;
        firstNames_[k] = makeLabel(group, QString("LabelXYareaFirrtName%1").arg(k + 1));
        secondNames_[k] = makeLabel(group, QString("LabelXYareaSecondName%1").arg(k + 1));
        grid->addWidget(bar, row, 1);
        grid->addWidget(firstNames_[k], row + 1, 1);
        grid->addWidget(secondNames_[k], row + 2, 1);
        if (k > 0) {
            auto* check = new QCheckBox(QString::number(k + 1), group);
            check->setObjectName(QString("CheckBoxEditXY%1").arg(k + 1));
            pairChecks_[k - 1] = check;
            grid->addWidget(check, row, 0);
        }
    }
    // The mouse wheel over the window steps pair 1 through this handler, so
    // it does all the work of a change.
    connect(pairBars_[0], &QScrollBar::valueChanged, this, [this](int p) {
        form_.console().controls.xyFirstChannel.set(static_cast<std::uint8_t>(p));
        ReLabelEdiXY();
        ReturnEditXY();
    });
    for (int k = 1; k < 4; ++k)
        connect(pairBars_[k], &QScrollBar::valueChanged, this, &BeamPage::ReLabelEdiXY);

    QToolButton* copy = makeButton(group, "SpeedButtonEditXYcopy", "Копировать",
                                   "Выполнить копирование в каналы, выбранные флажками ");
    connect(copy, &QToolButton::clicked, this, &BeamPage::SpeedButtonEditXYcopyClick);
    grid->addWidget(copy, 12, 0, 1, 2);
    return group;
}

XyRange BeamPage::range() const {
    return {SpinEditESSfrom->value(), SpinEditESSto->value()};
}

int BeamPage::firstChannel() const {
    return pairBars_[0]->value();
}

void BeamPage::refreshPage() {
    ReLabelEdiXY();
    if (form_.console().showRunning.get() != 0) return;
    drag_.mode = XyDrag::Idle;
    ReturnEditXY();
}

void BeamPage::ReLabelEdiXY() {
    const ShowMemory& show = form_.console().show;
    LabelEXYscena->setText(" Сцена ? ");
    hideHints();
    if (CheckBoxEditXYAllScenes->isChecked()) {
        const XyRange whole = wholeShowRange(show);
        const QSignalBlocker blockFrom(SpinEditESSfrom);
        const QSignalBlocker blockTo(SpinEditESSto);
        SpinEditESSfrom->setValue(whole.from);
        SpinEditESSto->setValue(whole.to);
    }
    for (int k = 0; k < 4; ++k) {
        const int p = pairBars_[k]->value();
        firstNames_[k]->setText(channelLabel(show, p + 1));
        secondNames_[k]->setText(channelLabel(show, p + 2));
    }
    LabelEditRL->setText(rotationLabel(ScrollBarRotate->value()));
    LabelmadeFigure->setText(QString(" Размер фигуры %1       Опция %2")
                                 .arg(ScrollBarEditMaxX->value())
                                 .arg(ScrollBarEditWide->value()));
}

void BeamPage::rangeChanged(QSpinBox* changed) {
    // The range never runs backwards: pushing one end past the other stops
    // it at the other's value.
    if (SpinEditESSfrom->value() > SpinEditESSto->value()) {
        QSpinBox* other = changed == SpinEditESSfrom ? SpinEditESSto : SpinEditESSfrom;
        const QSignalBlocker block(changed);
        changed->setValue(other->value());
    }
    ReturnEditXY();
}

void BeamPage::ReturnEditXY() {
    PaintBoxXY->update();
}

void BeamPage::VisibleXY(QPainter& p) const {
    const ShowMemory& show = form_.console().show;
    const XyRange r = range();
    const int first = firstChannel();
    auto square = [&p](XyPoint at, int half, const QColor& color) {
        const XyPoint px = pixelOf(at);
        p.fillRect(QRect(px.x - half, px.y - half, 2 * half, 2 * half), color);
    };
    XyPoint previous = pointOf(show, first, r.first());
    square(previous, 4, QColor(0, 255, 0));
    for (int s = r.first() + 1; s <= r.last(); ++s) {
        const XyPoint at = pointOf(show, first, s);
        square(at, 3, QColor(0, 128, 0));
        p.setPen(QPen(QColor(0, 0, 255), 1));
        const XyPoint a = pixelOf(previous), b = pixelOf(at);
        p.drawLine(a.x, a.y, b.x, b.y);
        previous = at;
    }
    square(previous, 3, QColor(255, 0, 0));
}

void BeamPage::showHit(int scene) {
    LabelEXYscena->setText(QString(" Сцена %1").arg(scene + 1));
    PaintBoxXY->setToolTip(QString("Переместить сцену %1").arg(scene + 1));
    PaintBoxXY->hintsShown = true;
}

void BeamPage::hideHints() {
    PaintBoxXY->hintsShown = false;
}

void BeamPage::PaintBoxXYMouseDown(Qt::MouseButton button, QPoint pos) {
    Console& console = form_.console();
    const bool left = button == Qt::LeftButton;
    const bool sceneChanged =
        drag_.press(console.show, firstChannel(), range(), fromPixel(pos.x(), pos.y()), left,
                    console.showRunning.get() != 0, CheckBoxAllScen->isChecked());
    if (drag_.grabbed != xy::kNoScene) showHit(drag_.grabbed);
    PaintBoxXY->setCursor(left ? Qt::ClosedHandCursor : Qt::SizeAllCursor);
    // The step slider and its labels follow the new current scene.
    if (sceneChanged) form_.ReturnDataSystem();
}

void BeamPage::PaintBoxXYMouseMove(QPoint pos) {
    const XyPoint at = fromPixel(pos.x(), pos.y());
    LabelESPosY->setText(QString("Y = %1").arg(at.y));
    LabelESPosX->setText(QString("X = %1").arg(at.x));
    LabelEXYscena->setText("  ");
    hideHints();
    if (auto hit = drag_.move(form_.console().show, firstChannel(), range(), at)) showHit(*hit);
    if (drag_.mode == XyDrag::Moving) PaintBoxXY->setCursor(Qt::ClosedHandCursor);
    if (drag_.mode == XyDrag::Sizing) {
        LabelEXYscena->setText(" Размер ");
        PaintBoxXY->setCursor(Qt::SizeAllCursor);
    }
    ReturnEditXY();
}

void BeamPage::PaintBoxXYMouseUp() {
    PaintBoxXY->unsetCursor();
    drag_.release();
    LabelEXYscena->setText(" ");
    hideHints();
}

void BeamPage::ButtonRepeat(XyNudge code) {
    lumetra::ButtonRepeat(form_.console().show, firstChannel(), range(), code);
    ReturnEditXY();
}

void BeamPage::TimerRepeatButtonTimer() {
    if (!repeats(held_)) return;
    TimerRepeatButton->setInterval(kRepeatFast);
    ButtonRepeat(held_);
}

void BeamPage::SpeedButtonRotateLeftClick() {
    lumetra::RotateArea(form_.console().show, firstChannel(), range(), ScrollBarRotate->value());
    ReturnEditXY();
}

void BeamPage::SpeedButtonEditXYcopyClick() {
    // The undo copy comes first, exactly as the memory button takes it.
    commands_.SpeedButtonMemClick();
    std::array<int, 3> targets{};
    for (int k = 0; k < 3; ++k)
        targets[k] = pairChecks_[k]->isChecked() ? pairBars_[k + 1]->value() : -1;
    CopyToPairs(form_.console().show, firstChannel(), range(), targets);
}

void BeamPage::madeFigure(XyFigure figure) {
    const FigureParams params{range(), ScrollBarEditMaxX->value(), ScrollBarEditWide->value()};
    if (makeFigure(form_.console().show, firstChannel(), figure, params) ==
        FigureResult::TooFewScenes) {
        form_.dialogs().error(form_.widget(), kOneSceneFigure);
        return;
    }
    ReturnEditXY();
}

}  // namespace lumetra::ui
