#include "edit/GraphPage.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

#include "host/PageHost.h"
#include "edit/NamePage.h"

namespace lumetra::ui {

namespace {
QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QScrollBar* makeBar(QWidget* parent, const char* name, int max, int pageStep, const char* hint) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, max);
    bar->setPageStep(pageStep);
    bar->setToolTip(QString::fromUtf8(hint));
    bar->setMinimumWidth(160);
    return bar;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}
}  // namespace

// ---- The graph --------------------------------------------------------------

GraphPaintBox::GraphPaintBox(QWidget* parent) : QWidget(parent) {
    setObjectName("PaintBoxGrafik");
    setFixedSize(lumetra::graph::kWidth, lumetra::graph::kHeight);
    setMouseTracking(true);
    setAccessibleName("График Канала");
}

void GraphPaintBox::setFills(std::vector<lumetra::graph::Fill> fills) {
    fills_ = std::move(fills);
    update();
}

void GraphPaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const auto& bg = lumetra::graph::kBackground;
    p.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
    for (const lumetra::graph::Fill& f : fills_)
        if (f.x1 > f.x0 && f.y1 > f.y0)
            p.fillRect(QRect(f.x0, f.y0, f.x1 - f.x0, f.y1 - f.y0),
                       QColor(f.color.r, f.color.g, f.color.b));
}

void GraphPaintBox::mousePressEvent(QMouseEvent* event) {
    if (onPress) onPress(event->button(), event->position().toPoint());
}

void GraphPaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMove) onMove(event->position().toPoint());
}

void GraphPaintBox::mouseReleaseEvent(QMouseEvent*) {
    if (onRelease) onRelease();
}

// ---- The page ---------------------------------------------------------------

GraphPage::GraphPage(PageHost& form) : QObject(form.widget()), form_(form), graph_(form.console().show) {
    setObjectName("GraphPage");
    build(form.inputPage(PageHost::PageGraph));
    ReturnGrafikLabel();
    RepaintGrafik();
    form.onPageRefresh(PageHost::PageGraph, [this] {
        ReturnGrafikLabel();
        RepaintGrafik();
    });
}

void GraphPage::build(QWidget* page) {
    auto* area = new QWidget(page);
    area->setObjectName("GraphArea");
    auto* grid = new QGridLayout(area);
    grid->addWidget(
        makeLabel(area, "LabelGrafik", "Динамика изменения канала по выделенным сценам "), 0, 0, 1,
        4);
    PaintBoxGrafik = new GraphPaintBox(area);
    grid->addWidget(PaintBoxGrafik, 1, 0, 1, 3);
    PaintBoxGrafik->onPress = [this](Qt::MouseButton b, QPoint at) {
        PaintBoxGrafikMouseDown(b, at);
    };
    PaintBoxGrafik->onMove = [this](QPoint at) { PaintBoxGrafikMouseMove(at); };
    PaintBoxGrafik->onRelease = [this] { graph_.release(); };

    LabelScenaGrafik = makeLabel(area, "LabelScenaGrafik");
    LabelLevelNewGrafik = makeLabel(area, "LabelLevelNewGrafik");
    LabelLevelDmxGrafik = makeLabel(area, "LabelLevelDmxGrafik");
    auto* readouts = new QVBoxLayout;
    for (QLabel* l : {LabelScenaGrafik, LabelLevelNewGrafik, LabelLevelDmxGrafik})
        readouts->addWidget(l);
    grid->addLayout(readouts, 2, 0, 1, 2);

    // One slider a line, its readouts beside it.
    int line = 3;
    auto sliderLine = [&](QScrollBar* bar, std::initializer_list<QLabel*> labels) {
        auto* row = new QHBoxLayout;
        for (QLabel* l : labels) row->addWidget(l);
        row->addStretch(1);
        grid->addWidget(bar, line, 0);
        grid->addLayout(row, line++, 1, 1, 2);
    };
    ScrollBarChanellGrafik = makeBar(area, "ScrollBarChanellGrafik", 255, 10,
                                     "Устанавливает номер редактируемого канала");
    LabelNameChanel = makeLabel(area, "LabelNameChanel");
    sliderLine(ScrollBarChanellGrafik, {LabelNameChanel});
    connect(ScrollBarChanellGrafik, &QScrollBar::valueChanged, this,
            &GraphPage::ScrollBarChanellGrafikChange);

    ScrollBarGrafikZoom = makeBar(area, "ScrollBarGrafikZoom", 3, 2, "Масштаб сцен");
    LabelGrafZoom = makeLabel(area, "LabelGrafZoom");
    sliderLine(ScrollBarGrafikZoom, {LabelGrafZoom});
    connect(ScrollBarGrafikZoom, &QScrollBar::valueChanged, this,
            &GraphPage::ScrollBarGrafikZoomChange);

    ScrollBarGrafikArea = makeBar(area, "ScrollBarGrafikArea", 0, 10, "Блок редактируемых сцен");
    LabelScenaGrafikFrom = makeLabel(area, "LabelScenaGrafikFrom");
    LabelScenaGrafikLast = makeLabel(area, "LabelScenaGrafikLast");
    sliderLine(ScrollBarGrafikArea, {LabelScenaGrafikFrom, LabelScenaGrafikLast});
    connect(ScrollBarGrafikArea, &QScrollBar::valueChanged, this, [this] { changed(); });

    ScrollBarMaxScenaGrafic =
        makeBar(area, "ScrollBarMaxScenaGrafic", 255, 10, "Установка номера последней сцены");
    auto* maxLabel = makeLabel(area, "LabelMaxScenaGrafic", "Установить последнюю Сцену");
    maxLabel->setBuddy(ScrollBarMaxScenaGrafic);
    sliderLine(ScrollBarMaxScenaGrafic, {maxLabel});
    connect(ScrollBarMaxScenaGrafic, &QScrollBar::valueChanged, this,
            &GraphPage::ScrollBarMaxScenaGraficChange);

    auto* tools = new QButtonGroup(this);
    tools->setExclusive(true);
    auto* toolRow = new QHBoxLayout;
    auto tool = [&](const char* name, const QString& glyph, const char* hint,
                    lumetra::GraphTool t) {
        auto* b = new QToolButton(area);
        b->setObjectName(name);
        b->setText(glyph);
        b->setToolTip(QString::fromUtf8(hint));
        b->setCheckable(true);
        tools->addButton(b);
        toolRow->addWidget(b);
        connect(b, &QToolButton::toggled, this, [this, t](bool on) {
            if (on) graph_.tool = t;
        });
        return b;
    };
    SpeedButtonGrafArrow =
        tool("SpeedButtonGrafArrow", "↖", "Устанавливать значение только одного канала",
             lumetra::GraphTool::Arrow);
    SpeedButtonGrafPen =
        tool("SpeedButtonGrafPen", "✎", "Повторять значение текущего канала во всех рабочих сценах",
             lumetra::GraphTool::Pen);
    SpeedButtonGrafLine =
        tool("SpeedButtonGrafLine", "╱",
             "Интерполировать уровни каналов. Начало - левая кнопка, конец - правая.",
             lumetra::GraphTool::Line);
    SpeedButtonGrafArrow->setChecked(true);
    toolRow->addStretch(1);
    grid->addLayout(toolRow, 2, 2, Qt::AlignTop);
    grid->setColumnStretch(3, 1);

    // The page's memory and undo pair stands above, in the page's column.
    auto* column = qobject_cast<QBoxLayout*>(page->layout());
    if (!column) column = new QVBoxLayout(page);
    column->insertWidget(column->count() > 1 ? column->count() - 1 : column->count(), area);
}

lumetra::GraphView GraphPage::view() const {
    const GraphZoomSetting zoom = form_.graphZoom();
    return {ScrollBarChanellGrafik->value(), zoom.zoom, zoom.pageScenes,
            std::min(ScrollBarGrafikArea->value(), zoom.zoom - 1)};
}

int GraphPage::currentScene() const {
    // The green line marks the position of the scene slider.
    return form_.sceneSliderPosition();
}

void GraphPage::ReturnGrafikLabel() {
    const GraphZoomSetting zoom = form_.graphZoom();
    {
        const QSignalBlocker block(ScrollBarMaxScenaGrafic);
        ScrollBarMaxScenaGrafic->setValue(form_.console().show.lastScene());
    }
    {
        // The zoom may have been set by a new or opened show.
        const QSignalBlocker blockZoom(ScrollBarGrafikZoom);
        ScrollBarGrafikZoom->setValue(zoom.position);
        const QSignalBlocker blockArea(ScrollBarGrafikArea);
        ScrollBarGrafikArea->setMaximum(zoom.zoom - 1);
    }
    const lumetra::GraphLabels labels = lumetra::graphLabels(view());
    LabelNameChanel->setText(" Канал " + QString::number(view().channel()) + "  " +
                             channelNameText(form_.console().show, view().channel()));
    LabelScenaGrafikFrom->setText(qs(labels.sceneFrom));
    LabelScenaGrafikLast->setText(qs(labels.sceneLast));
    LabelGrafZoom->setText(qs(labels.zoom));
    ScrollBarGrafikArea->setEnabled(labels.pageSliderEnabled);
    PaintBoxGrafik->setAccessibleDescription(LabelNameChanel->text() + ", " + qs(labels.sceneFrom) +
                                             ", " + qs(labels.sceneLast));
}

void GraphPage::RepaintGrafik() {
    PaintBoxGrafik->setFills(
        lumetra::graphFills(form_.console().show, view(), currentScene(), graph_.anchorScene()));
}

void GraphPage::changed() {
    RepaintGrafik();
    ReturnGrafikLabel();
}

void GraphPage::ScrollBarChanellGrafikChange() {
    changed();
}

void GraphPage::ScrollBarGrafikZoomChange(int position) {
    form_.setGraphZoom(graphZoomAt(position));
    changed();
}

void GraphPage::ScrollBarMaxScenaGraficChange(int position) {
    form_.console().show.setCell(cell::kLastScene, static_cast<std::uint8_t>(position));
    form_.ReturnPageControlAll();
}

void GraphPage::showPointer(const lumetra::PointerLabels& labels) {
    LabelScenaGrafik->setText(qs(labels.scene));
    LabelLevelNewGrafik->setText(qs(labels.newLevel));
    LabelLevelDmxGrafik->setText(qs(labels.dmxLevel));
}

void GraphPage::PaintBoxGrafikMouseDown(Qt::MouseButton button, QPoint at) {
    const lumetra::GraphButton b = button == Qt::LeftButton    ? lumetra::GraphButton::Left
                                   : button == Qt::RightButton ? lumetra::GraphButton::Right
                                                               : lumetra::GraphButton::Other;
    showPointer(graph_.press(view(), b, at.x(), at.y()));
    form_.ReturnPageControlAll();  // repaints the graph
}

void GraphPage::PaintBoxGrafikMouseMove(QPoint at) {
    bool wrote = false;
    showPointer(graph_.move(view(), at.x(), at.y(), &wrote));
    if (wrote)
        form_.ReturnPageControlAll();  // repaints the graph
    else if (graph_.mouseDown())
        RepaintGrafik();
}

}  // namespace lumetra::ui
