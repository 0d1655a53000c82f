#include "edit/FaderPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/SteadyText.h"
#include "host/PageHost.h"
#include "edit/GoboPictures.h"
#include "edit/RateScale.h"
#include "playback/SequencerPage.h"

namespace lumetra::ui {

namespace {

constexpr int kRowHeight = 20;

QToolButton* makeTool(QWidget* parent, const char* name, const QString& text, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(QString::fromUtf8(hint));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(44);
    return button;
}

// A fader that moves with every step of a playing show: the style draws
// each look once (position, size, state), later paints copy it. A bar under
// the mouse or held is drawn by the style each time, as any other.
class FaderBar final : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

  protected:
    void paintEvent(QPaintEvent* event) override {
        // Hovered or held, the style shows the part under the mouse.
        if (underMouse() || isSliderDown()) {
            QScrollBar::paintEvent(event);
            return;
        }
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        opt.subControls = QStyle::SC_All;  // as QScrollBar paints itself
        const qreal ratio = devicePixelRatioF();
        const QString key = QStringLiteral("lumetra-fader-%1-%2-%3-%4-%5-%6-%7-%8-%9")
                                .arg(opt.sliderPosition)
                                .arg(opt.minimum)
                                .arg(opt.maximum)
                                .arg(opt.pageStep)
                                .arg(width())
                                .arg(height())
                                .arg(int(opt.state) | int(opt.orientation) << 24)
                                .arg(opt.palette.cacheKey())
                                .arg(ratio);
        QPixmap look;
        if (!QPixmapCache::find(key, &look)) {
            look = QPixmap(size() * ratio);
            look.setDevicePixelRatio(ratio);
            look.fill(Qt::transparent);
            QPainter painter(&look);
            style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &painter, this);
            painter.end();
            QPixmapCache::insert(key, look);
        }
        QPainter(this).drawPixmap(0, 0, look);
    }
};

QScrollBar* makeBar(QWidget* parent, const QString& name, Qt::Orientation orientation, int max,
                    int value, int pageStep, const char* hint, bool fader = false) {
    QScrollBar* bar = fader ? new FaderBar(orientation, parent) : new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(0, max);
    bar->setValue(value);
    bar->setPageStep(pageStep);
    bar->setToolTip(QString::fromUtf8(hint));
    return bar;
}

}  // namespace

FaderPage::FaderPage(PageHost& form, SequencerPage& sequencer)
    : QObject(form.widget()), form_(form), sequencer_(sequencer), tools_(form.console()) {
    setObjectName("FaderPage");
    build(form.inputPage(PageHost::PageFaders));
    buildRateGroup(form.slot(PageHost::Slot::RateGroup));
    buildLevelGroup(form.slot(PageHost::Slot::LevelsFaders));

    TimerDataDmxToDsp = new QTimer(this);
    TimerDataDmxToDsp->setObjectName("TimerDataDmxToDsp");
    TimerDataDmxToDsp->setInterval(100);
    connect(TimerDataDmxToDsp, &QTimer::timeout, this, &FaderPage::TimerDataDmxToDspTimer);
    TimerDataDmxToDsp->start();

    form.onPageRefresh(PageHost::PageFaders, [this] { refreshPage(); });
    form.on(PageHost::Hook::ClearAll, [this] { ClearAll(); });
}

void FaderPage::build(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    LabelOpis = new QLabel(
        "Канал             Уровень             Выход    Тип   Границы   Имя  канала              "
        "Время изменения     Выбор",
        page);
    LabelOpis->setObjectName("LabelOpis");
    layout->addWidget(LabelOpis);

    auto* body = new QHBoxLayout;
    body->addWidget(buildRows(page), 1);
    ScrolbarVertPos =
        makeBar(page, "ScrolbarVertPos", Qt::Vertical, lumetra::kMaxBankOffset, 0, 20, "");
    connect(ScrolbarVertPos, &QScrollBar::valueChanged, this, &FaderPage::ScrolbarVertPosChange);
    body->addWidget(ScrolbarVertPos);
    body->addWidget(buildTools(page));
    layout->addLayout(body, 1);
}

QWidget* FaderPage::buildRows(QWidget* page) {
    auto* area = new QWidget(page);
    area->setObjectName("FaderRows");
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);

    for (int n = 1; n <= lumetra::kFaderRows; ++n) {
        Row& row = rows_[n - 1];
        const int line = n - 1;

        row.number = new QLabel(QString("%1").arg(n, 2, 10, QChar('0')), area);
        row.number->setObjectName(QString("Label%1c").arg(n, 2, 10, QChar('0')));
        row.number->setToolTip("Номер канала в строке DMX");
        row.number->setMinimumWidth(26);

        row.fader = makeBar(area, QString("ScrollBar%1").arg(n), Qt::Horizontal, 255, 0, 10,
                            "Уровень канала DMX высттавленный пользователем в текущем шаге", true);
        row.fader->setFixedHeight(kRowHeight - 4);
        row.fader->setMinimumWidth(160);
        connect(row.fader, &QScrollBar::valueChanged, this,
                [this, n](int v) { ScrollBarChange(n, v); });

        row.output = new QLabel("255", area);
        row.output->setObjectName(QString("Label%1").arg(n));
        row.output->setToolTip("Реальный уровень канала DMX на выходе");
        row.output->setMinimumWidth(30);
        row.output->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        row.image = new GoboImage(area);
        row.image->setObjectName(QString("Image%1").arg(n));
        row.shape = new ColorShape(area, kRowHeight - 4);
        row.shape->setObjectName(QString("Shape%1").arg(n));

        // The names room gives the field its behaviour (NamePage).
        row.name = new QLineEdit(area);
        row.name->setObjectName(QString("Edit%1").arg(n));
        row.name->setMaxLength(16);
        row.name->setFixedHeight(kRowHeight);
        row.name->setMinimumWidth(120);

        row.rate =
            makeBar(area, QString("ScrollBarRate%1").arg(n, 2, 10, QChar('0')), Qt::Horizontal,
                    lumetra::kRatePositions - 1, 5, 2, "Время изменения уровня DMX канала");
        row.rate->setFixedHeight(kRowHeight - 4);
        row.rate->setMinimumWidth(80);
        connect(row.rate, &QScrollBar::valueChanged, this,
                [this, n](int v) { ScrollBarRateChange(n, v); });

        row.check = new QCheckBox(area);
        row.check->setObjectName(QString("CheckBox%1").arg(n));
        row.check->setToolTip(
            n == 1 ? "Индивидуальный выбор канала для режимов и блоков: Флэш, Ручной, Уровни, Время"
                   : "Индивидуальный выбор канала ");
        connect(row.check, &QCheckBox::toggled, this, [this, n](bool on) { CheckBoxClick(n, on); });

        grid->addWidget(row.number, line, 0);
        grid->addWidget(row.fader, line, 1);
        grid->addWidget(row.output, line, 2);
        grid->addWidget(row.image, line, 3);
        grid->addWidget(row.shape, line, 4);
        grid->addWidget(row.name, line, 5);
        grid->addWidget(row.rate, line, 6);
        grid->addWidget(row.check, line, 7);
        grid->setRowMinimumHeight(line, kRowHeight);
    }

    // An invert button beside each block of five rows; rows 26 and 27 have
    // none.
    for (int first : {1, 6, 11, 16, 21}) {
        auto* invert = makeTool(area, qPrintable(QString("SpeedButtonInv%1").arg(first)), "±",
                                "Инвертирует состояние флажков в поле  Выбор ");
        invert->setMinimumWidth(20);
        connect(invert, &QToolButton::clicked, this,
                [this, first] { showChecks(tools_.SpeedButtonInvClick(first, checkStates())); });
        grid->addWidget(invert, first - 1, 8, 5, 1, Qt::AlignVCenter);
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(5, 1);
    grid->setColumnStretch(6, 1);
    return area;
}

QWidget* FaderPage::buildTools(QWidget* page) {
    auto* tools = new QWidget(page);
    tools->setObjectName("FaderTools");
    auto* column = new QVBoxLayout(tools);
    column->setContentsMargins(0, 0, 0, 0);

    auto* vis0 =
        makeTool(tools, "SpeedButtonVis0", "0", "Установить уровни видимых каналов в '0' ");
    auto* vis127 =
        makeTool(tools, "SpeedButtonVis127", "127", "Установить уровни видимых каналов в '127' ");
    auto* vis255 =
        makeTool(tools, "SpeedButtonVis255", "255", "Установить уровни видимых каналов в '255' ");
    auto* all0 =
        makeTool(tools, "SpeedButtonAllScrl0", "0 ∀", "Установить уровни все каналов сцены  в '0'");
    connect(vis0, &QToolButton::clicked, this,
            [this] { levelTool(&lumetra::FaderTools::SpeedButtonVis0Click); });
    connect(vis127, &QToolButton::clicked, this,
            [this] { levelTool(&lumetra::FaderTools::SpeedButtonVis127Click); });
    connect(vis255, &QToolButton::clicked, this,
            [this] { levelTool(&lumetra::FaderTools::SpeedButtonVis255Click); });
    connect(all0, &QToolButton::clicked, this,
            [this] { levelTool(&lumetra::FaderTools::SpeedButtonAllScrl0Click); });
    for (QToolButton* b : {vis0, vis127, vis255, all0}) column->addWidget(b);
    column->addSpacing(8);

    auto* offVis = makeTool(tools, "SpeedButtonOffVisCheck", "☐",
                            "Сбросить все видимые флажки в столбце Выбор ");
    auto* onVis = makeTool(tools, "SpeedButtonOnVisCheck", "☑",
                           "Включить все видимые флажки в столбце Выбор ");
    auto* offAll =
        makeTool(tools, "SpeedButtonOffAllCheck", "☐ ∀", "Сбросить все флажки в столбце Выбор ");
    connect(offVis, &QToolButton::clicked, this,
            [this] { showChecks(tools_.ButtonResetFlagVyborClick()); });
    connect(onVis, &QToolButton::clicked, this,
            [this] { showChecks(tools_.SpeedButtonOnVisCheckClick()); });
    connect(offAll, &QToolButton::clicked, this, [this] {
        form_.OutStatus(QString::fromUtf8(lumetra::FaderTools::kAllFlagsCleared.data(),
                                          lumetra::FaderTools::kAllFlagsCleared.size()));
        showChecks(tools_.SpeedButtonOffAllCheckClick());
    });
    for (QToolButton* b : {offVis, onVis, offAll}) column->addWidget(b);
    column->addSpacing(8);

    SpeedButtonOutLevel255 =
        makeTool(tools, "SpeedButtonOutLevel255", "DMX", "Уровень в стандарте DMX512  0-255");
    SpeedButtonOutLevel100 = makeTool(tools, "SpeedButtonOutLevel100", "%", "Уровень в процентах");
    auto* outputMode = new QButtonGroup(this);
    outputMode->setExclusive(true);
    for (QToolButton* b : {SpeedButtonOutLevel255, SpeedButtonOutLevel100}) {
        b->setCheckable(true);
        outputMode->addButton(b);
        column->addWidget(b);
    }
    SpeedButtonOutLevel255->setChecked(true);
    SpeedButtonLevel255 =
        makeTool(tools, "SpeedButtonLevel255", ">>", "Скорость презаписи данных на мониторе");
    SpeedButtonLevel255->setCheckable(true);
    SpeedButtonLevel255->setChecked(true);
    column->addWidget(SpeedButtonLevel255);
    column->addSpacing(8);

    column->addWidget(form_.slot(PageHost::Slot::FaderOutputButtons));
    column->addWidget(form_.slot(PageHost::Slot::FaderUndo));
    column->addStretch(1);
    return tools;
}

void FaderPage::buildRateGroup(QWidget* slot) {
    auto* row = new QHBoxLayout;
    ScrollBarRateLeuel =
        makeBar(slot, "ScrollBarRateLeuel", Qt::Horizontal, lumetra::kRatePositions - 1,
                lumetra::kRatePositions - 1, 10, "Время изменения уровня выбранных каналов DMX ");
    ScrollBarRateLeuel->setMinimumWidth(120);
    LabelRate = new QLabel("2 sec", slot);
    LabelRate->setObjectName("LabelRate");
    LabelRate->setToolTip("Время изменения уровня всех каналов DMX  в секундах");
    LabelRate->setMinimumWidth(40);
    connect(ScrollBarRateLeuel, &QScrollBar::valueChanged, this,
            &FaderPage::ScrollBarRateLeuelChange);
    row->addWidget(ScrollBarRateLeuel, 1);
    row->addWidget(LabelRate);
    static_cast<QVBoxLayout*>(slot->layout())->addLayout(row);
}

void FaderPage::buildLevelGroup(QWidget* slot) {
    ScrollBarLevelAll = makeBar(slot, "ScrollBarLevelAll", Qt::Horizontal, 255, 127, 16,
                                "Общий абсолютный уровень каналов");
    ScrollBarLevelAll->setMinimumWidth(160);
    connect(ScrollBarLevelAll, &QScrollBar::valueChanged, this,
            &FaderPage::ScrollBarLevelAllChange);
    slot->layout()->addWidget(ScrollBarLevelAll);
}

// ---- Refresh from the show ----------------------------------------------

lumetra::CheckStates FaderPage::checkStates() const {
    lumetra::CheckStates states{};
    for (int i = 0; i < lumetra::kFaderRows; ++i) states[i] = rows_[i].check->isChecked();
    return states;
}

void FaderPage::moveFader(int row, int level) {
    rows_[row - 1].fader->setValue(level);
}

lumetra::FaderPositions FaderPage::faderPositions() const {
    lumetra::FaderPositions positions{};
    for (int i = 0; i < lumetra::kFaderRows; ++i)
        positions[i] = static_cast<std::uint8_t>(rows_[i].fader->value());
    return positions;
}

void FaderPage::ReturnScrollBars() {
    const bool manual = form_.console().controls.manual.get() != 0;
    const lumetra::FaderPositions positions =
        tools_.ReturnScrollBars(faderPositions(), checkStates(), manual);
    for (int i = 0; i < lumetra::kFaderRows; ++i) {
        const QSignalBlocker block(rows_[i].fader);
        rows_[i].fader->setValue(positions[i]);
    }
}

void FaderPage::ReturnRate() {
    // A stored step between the canonical ones stays as loaded: the sliders
    // only show it.
    const std::array<int, lumetra::kFaderRows> positions = lumetra::ReturnRate(form_.console());
    for (int i = 0; i < lumetra::kFaderRows; ++i) {
        const QSignalBlocker block(rows_[i].rate);
        rows_[i].rate->setValue(positions[i]);
    }
}

void FaderPage::showChecks(const lumetra::CheckStates& states) {
    for (int i = 0; i < lumetra::kFaderRows; ++i) {
        const QSignalBlocker block(rows_[i].check);
        rows_[i].check->setChecked(states[i]);
    }
}

void FaderPage::CheckBoxFromMemory() {
    showChecks(tools_.CheckBoxFromMemory());
}

void FaderPage::NamberDmx() {
    const auto numbers = tools_.NamberDmx();
    for (int i = 0; i < lumetra::kFaderRows; ++i)
        setSteadyText(rows_[i].number, QString::fromStdString(numbers[i]));
}

void FaderPage::showPicturesAndMarkers() {
    const io::ChannelColors& colors = form_.channelColors();
    const int bank = lumetra::bankOffset(form_.console());
    for (int n = 1; n <= lumetra::kFaderRows; ++n) {
        const int c = bank + n;
        rows_[n - 1].image->setPicture(colors.GoboType[c]);
        rows_[n - 1].shape->setColor(
            QColor(colors.SplitRed[c], colors.SplitGreen[c], colors.SplitBlue[c]));
    }
}

void FaderPage::refreshPage() {
    showPicturesAndMarkers();
    ReturnScrollBars();
    ReturnRate();
    CheckBoxFromMemory();
    NamberDmx();
}

void FaderPage::ClearAll() {
    {
        const QSignalBlocker block(ScrolbarVertPos);
        ScrolbarVertPos->setValue(0);
    }
    tools_.ScrolbarVertPosChange(0);
    NamberDmx();
    CheckBoxFromMemory();
}

// ---- Handlers -------------------------------------------------------------

void FaderPage::ScrollBarChange(int row, int position) {
    tools_.ScrollBarChange(row, position);
}

void FaderPage::CheckBoxClick(int row, bool ticked) {
    tools_.CheckBoxClick(row, ticked);
}

void FaderPage::ScrollBarRateChange(int row, int position) {
    const std::string_view label = lumetra::ScrollBarRateChange(form_.console(), row, position);
    setSteadyText(LabelRate, QString::fromUtf8(label.data(), static_cast<int>(label.size())));
}

void FaderPage::ScrollBarRateLeuelChange(int position) {
    const std::string_view label =
        lumetra::ScrollBarRateLeuelChange(form_.console(), position, checkStates());
    setSteadyText(LabelRate, QString::fromUtf8(label.data(), static_cast<int>(label.size())));
    ReturnRate();
}

void FaderPage::ScrollBarLevelAllChange(int position) {
    tools_.ScrollBarLevelAllChange(position, checkStates());
    ReturnScrollBars();
}

void FaderPage::ScrolbarVertPosChange(int position) {
    tools_.ScrolbarVertPosChange(position);
    form_.ReturnPageControlAll();
    // The rows follow the bank even when another page is in front, so that
    // the mirrors the output reads never belong to the old bank.
    if (form_.inputPages()->currentIndex() != PageHost::PageFaders) refreshPage();
    NamberDmx();
}

void FaderPage::levelTool(lumetra::ToolResult (lumetra::FaderTools::*tool)()) {
    // While the show plays the tools leave the scene alone, without a word.
    const lumetra::ToolResult result = (tools_.*tool)();
    if (!result.applied) return;
    form_.OutStatus(
        QString::fromUtf8(result.status.data(), static_cast<int>(result.status.size())));
    ReturnScrollBars();
}

void FaderPage::TimerDataDmxToDspTimer() {
    const lumetra::Console& console = form_.console();
    if (console.showRunning.get() == 0) sequencer_.showStopped();
    if (form_.inputPages()->currentIndex() != PageHost::PageFaders) return;
    showPicturesAndMarkers();
    const auto labels =
        tools_.outputLabels(SpeedButtonLevel255->isChecked(), SpeedButtonOutLevel100->isChecked());
    for (const lumetra::OutputLabel& label : labels)
        setSteadyText(rows_[label.row - 1].output, QString::fromStdString(label.text));
}

}  // namespace lumetra::ui
