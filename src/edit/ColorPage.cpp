#include "edit/ColorPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

#include "host/PageHost.h"
#include "edit/ChannelNames.h"
#include "edit/GoboPictures.h"
#include "playback/SequencerPage.h"

namespace lumetra::ui {

namespace {
QScrollBar* makeBar(QWidget* parent, const char* name, int min, int max, int value,
                    const char* hint) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(value);
    bar->setToolTip(QString::fromUtf8(hint));
    bar->setMinimumWidth(140);
    return bar;
}

QToolButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(QString::fromUtf8(hint));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

constexpr int kNameColorDefault = 196;
}  // namespace

ColorPage::ColorPage(PageHost& form, std::function<void(int)> repaintField)
    : QObject(form.widget()), form_(form), repaintField_(std::move(repaintField)) {
    setObjectName("ColorPage");
    QTabWidget* tabs = form.sceneTabs();
    QWidget* page = tabs->findChild<QWidget*>("TabSheetColor");
    const QString hint = "Для установки цвета канала двойной клик на поле измения";
    page->setToolTip(hint);
    tabs->setTabToolTip(tabs->indexOf(page), hint);
    build(page);
}

void ColorPage::build(QWidget* page) {
    auto* grid = new QGridLayout(page);
    const char* nameHint = "Цвет пля для ввода имени канала ";
    ScrollBar31 = makeBar(page, "ScrollBar31", 128, 255, kNameColorDefault, nameHint);
    ScrollBar32 = makeBar(page, "ScrollBar32", 128, 255, kNameColorDefault, nameHint);
    ScrollBar33 = makeBar(page, "ScrollBar33", 128, 255, kNameColorDefault, nameHint);
    int component = 0;
    for (QScrollBar* bar : {ScrollBar31, ScrollBar32, ScrollBar33}) {
        connect(bar, &QScrollBar::valueChanged, this,
                [this, component](int v) { colorSliderChange(component, v); });
        grid->addWidget(bar, component++, 0, 1, 2);
    }
    ShapeCltrey = new ColorShape(page, 40);
    ShapeCltrey->setObjectName("ShapeCltrey");
    grid->addWidget(ShapeCltrey, 0, 2, 3, 1);
    SpeedButton21 = makeButton(page, "SpeedButton21", "OFF", "Выключить изменение цвета");
    connect(SpeedButton21, &QToolButton::clicked, this, &ColorPage::SpeedButton21Click);
    grid->addWidget(SpeedButton21, 0, 3);

    LabelEditColor = new QLabel(QString::number(selected_), page);
    LabelEditColor->setObjectName("LabelEditColor");
    grid->addWidget(LabelEditColor, 3, 0, 1, 4);

    ScrollBar35 = makeBar(page, "ScrollBar35", 1, 255, 1, "Выбор канала для графической подсказки");
    ScrollBar36 = makeBar(page, "ScrollBar36", 0, 255, 0,
                          "Установка типа изображения сопоставимого с типом регулировки прибора");
    connect(ScrollBar35, &QScrollBar::valueChanged, this, [this] { goboLabel(); });
    connect(ScrollBar36, &QScrollBar::valueChanged, this, &ColorPage::ScrollBar36Change);
    grid->addWidget(ScrollBar35, 4, 0, 1, 2);
    grid->addWidget(ScrollBar36, 5, 0, 1, 2);
    ImageGobo = new GoboImage(page);
    ImageGobo->setObjectName("ImageGobo");
    ImageGobo->setPicture(ScrollBar36->value());
    grid->addWidget(ImageGobo, 5, 2);
    SpeedButton22 =
        makeButton(page, "SpeedButton22", "setColor", "Устанвить выбранный Цвет группы");
    connect(SpeedButton22, &QToolButton::clicked, this, &ColorPage::SpeedButton22Click);
    grid->addWidget(SpeedButton22, 4, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    showPreview();
}

void ColorPage::showPreview() {
    ShapeCltrey->setColor(QColor(ScrollBar31->value(), ScrollBar32->value(), ScrollBar33->value()));
}

void ColorPage::UpdateScrollRGBtxt(int channel) {
    if (channel < 0 || channel >= io::kColorChannels) return;
    selected_ = channel;
    const io::ChannelColors& c = form_.channelColors();
    // Showing a channel's colour does not change it (a slider clamps
    // values below 128).
    for (auto [bar, v] : {std::pair{ScrollBar31, c.NameRed[channel]},
                          {ScrollBar32, c.NameGreen[channel]},
                          {ScrollBar33, c.NameBlue[channel]}}) {
        const QSignalBlocker block(bar);
        bar->setValue(v);
    }
    showPreview();
    LabelEditColor->setText(QString::number(selected_));
}

void ColorPage::colorSliderChange(int component, int position) {
    showPreview();
    if (selected_ == lumetra::kNoColorChannel) return;
    io::ChannelColors& c = form_.channelColors();
    io::ChannelColors::ChannelTable* tables[] = {&c.NameRed, &c.NameGreen, &c.NameBlue};
    (*tables[component])[selected_] = static_cast<std::uint8_t>(position);
    repaintField_(selected_);
    form_.ReturnPageControlAll();
}

void ColorPage::SpeedButton21Click() {
    selected_ = lumetra::kNoColorChannel;
    LabelEditColor->setText("Нет выбора");
}

void ColorPage::goboLabel() {
    LabelEditColor->setText(
        QString("Канал: %1 - N: %2").arg(ScrollBar35->value()).arg(ScrollBar36->value()));
    ImageGobo->setPicture(ScrollBar36->value());
}

void ColorPage::ScrollBar36Change(int position) {
    goboLabel();
    form_.channelColors().GoboType[ScrollBar35->value()] = static_cast<std::uint8_t>(position);
    form_.ReturnPageControlAll();
}

void ColorPage::SpeedButton22Click() {
    io::ChannelColors& c = form_.channelColors();
    const int channel = ScrollBar35->value();
    c.SplitRed[channel] = static_cast<std::uint8_t>(ScrollBar31->value());
    c.SplitGreen[channel] = static_cast<std::uint8_t>(ScrollBar32->value());
    c.SplitBlue[channel] = static_cast<std::uint8_t>(ScrollBar33->value());
    form_.ReturnPageControlAll();
}

}  // namespace lumetra::ui
