#include "view/DevicePlacement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"
#include "output/OutputControls.h"
#include "view/View3dForm.h"

namespace lumetra::ui {

namespace {

QScrollBar* makeBar(QWidget* parent, const char* name, Qt::Orientation orientation, int min,
                    int max, int value, const char* hint = nullptr) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(value);
    if (hint) bar->setToolTip(QString::fromUtf8(hint));
    if (orientation == Qt::Vertical)
        bar->setMinimumHeight(110);
    else
        bar->setMinimumWidth(120);
    return bar;
}

QCheckBox* makeFixBox(QWidget* parent, const char* name) {
    auto* box = new QCheckBox("<Fix", parent);
    box->setObjectName(name);
    // Room for the longest caption, so the group does not jump as it grows.
    const int text = box->fontMetrics().horizontalAdvance("<Fix Z 255 ");
    box->setMinimumWidth(text + box->sizeHint().width() -
                         box->fontMetrics().horizontalAdvance("<Fix"));
    return box;
}

}  // namespace

DevicePlacement::DevicePlacement(PageHost& form, QWidget* page)
    : QObject(form.widget()), form_(form), devices_(form.channelColors()), feed_(devices_) {
    buildGroup(page);
    form_.output().cycle().setDeviceTable(&feed_);
}

DevicePlacement::~DevicePlacement() = default;

int DevicePlacement::device() const {
    return ScrollBarNomberDev->value();
}

bool DevicePlacement::recording() const {
    return CheckBoxEnableRecord->isChecked();
}

void DevicePlacement::buildGroup(QWidget* page) {
    auto* panel = new QWidget(page);
    panel->setObjectName("Panel3D");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    SpeedButton3Don = new QToolButton(panel);
    SpeedButton3Don->setObjectName("SpeedButton3Don");
    SpeedButton3Don->setText("показать 3D (demo version) ");
    connect(SpeedButton3Don, &QToolButton::clicked, this, &DevicePlacement::SpeedButton3DonClick);
    column->addWidget(SpeedButton3Don);

    auto* group = new QGroupBox("Позиционирование приборов ", panel);
    group->setObjectName("GroupBoxPosDevice");
    auto* grid = new QGridLayout(group);
    column->addWidget(group);
    column->addStretch(1);

    LabelNomberPosDevice = new QLabel("Device: 1", group);
    LabelNomberPosDevice->setObjectName("LabelNomberPosDevice");
    ScrollBarNomberDev =
        makeBar(group, "ScrollBarNomberDev", Qt::Horizontal, 1, 32, 1, "Номер прибора ");
    grid->addWidget(LabelNomberPosDevice, 0, 0);
    grid->addWidget(ScrollBarNomberDev, 0, 1, 1, 3);
    connect(ScrollBarNomberDev, &QScrollBar::valueChanged, this,
            &DevicePlacement::ScrollBarNomberDevChange);

    // X runs across; Y (its top is the top of the stage) and Z stand up.
    ScrollBarXdev = makeBar(group, "ScrollBarXdev", Qt::Horizontal, 20, 235, 127, "Позиция по X");
    CheckBoxFixX = makeFixBox(group, "CheckBoxFixX");
    grid->addWidget(CheckBoxFixX, 1, 0);
    grid->addWidget(ScrollBarXdev, 1, 1, 1, 3);
    connect(ScrollBarXdev, &QScrollBar::valueChanged, this, [this](int p) {
        if (recording()) devices_.DeviceX.set(device(), static_cast<std::uint8_t>(p));
        CheckBoxFixX->setText(QString("<Fix X %1").arg(p));
    });

    ScrollBarYdev = makeBar(group, "ScrollBarYdev", Qt::Vertical, 20, 235, 120, "Позиция по Y");
    CheckBoxFixY = makeFixBox(group, "CheckBoxFixY");
    connect(ScrollBarYdev, &QScrollBar::valueChanged, this, [this](int p) {
        if (recording()) devices_.DeviceY.set(device(), static_cast<std::uint8_t>(255 - p));
        CheckBoxFixY->setText(QString("<Fix Y %1").arg(255 - p));
    });
    ScrollBarZdev = makeBar(group, "ScrollBarZdev", Qt::Vertical, 0, 255, 127, "Позиция по Z");
    CheckBoxFixZ = makeFixBox(group, "CheckBoxFixZ");
    connect(ScrollBarZdev, &QScrollBar::valueChanged, this, [this](int p) {
        if (recording()) devices_.DeviceZ.set(device(), static_cast<std::uint8_t>(p));
        CheckBoxFixZ->setText(QString("<Fix Z %1").arg(p));
    });
    auto* fixes = new QVBoxLayout;
    fixes->addWidget(CheckBoxFixY);
    fixes->addWidget(CheckBoxFixZ);
    fixes->addStretch(1);
    grid->addLayout(fixes, 2, 0);
    grid->addWidget(ScrollBarYdev, 2, 1);
    grid->addWidget(ScrollBarZdev, 2, 2);

    // Pan, tilt and beam width of a PAR, which no channel moves.
    auto* beam = new QVBoxLayout;
    const char* beamNames[] = {"ScrollBarRotatx", "ScrollBaRotaty", "ScrollBarWide"};
    io::DeviceTable* beamTables[] = {&devices_.DevicePan, &devices_.DeviceTilt,
                                     &devices_.DeviceBeamWidth};
    for (int i = 0; i < 3; ++i) {
        QScrollBar* bar = makeBar(group, beamNames[i], Qt::Horizontal, 0, 255, 127);
        io::DeviceTable* table = beamTables[i];
        connect(bar, &QScrollBar::valueChanged, this,
                [this, table](int p) { setParBeam(*table, p); });
        beam->addWidget(bar);
    }
    beam->addStretch(1);
    grid->addLayout(beam, 2, 3);

    auto* types = new QHBoxLayout;
    struct TypeButton {
        const char* name;
        const char* caption;
        std::uint8_t type;
    };
    static const TypeButton typeButtons[] = {{"SpeedButtonDev3D", "HEAD", 1},
                                             {"SpeedButtonscan", "SCAN", 2},
                                             {"SpeedButtonpar", "PAR", 3},
                                             {"SpeedButtonDevoff", "OFF", 0}};
    for (const TypeButton& def : typeButtons) {
        auto* button = new QToolButton(group);
        button->setObjectName(def.name);
        button->setText(def.caption);
        const std::uint8_t type = def.type;
        connect(button, &QToolButton::clicked, this, [this, type] { setType(type); });
        types->addWidget(button);
    }
    types->addStretch(1);
    grid->addLayout(types, 3, 0, 1, 4);

    CheckBoxEnableRecord = new QCheckBox("Enable Record", group);
    CheckBoxEnableRecord->setObjectName("CheckBoxEnableRecord");
    grid->addWidget(CheckBoxEnableRecord, 4, 0, 1, 4);

    // Beside the page's other groups, in the column left free for it.
    if (auto* pageGrid = qobject_cast<QGridLayout*>(page->layout()))
        pageGrid->addWidget(panel, 0, 2, 3, 1, Qt::AlignTop | Qt::AlignLeft);
    else if (page->layout())
        page->layout()->addWidget(panel);
}

void DevicePlacement::ScrollBarNomberDevChange(int number) {
    LabelNomberPosDevice->setText(QString("Device: %1").arg(number));
    // A fixed axis keeps its slider, so several devices can share it.
    if (!CheckBoxFixX->isChecked()) ScrollBarXdev->setValue(devices_.DeviceX[number]);
    if (!CheckBoxFixY->isChecked()) ScrollBarYdev->setValue(255 - devices_.DeviceY[number]);
    if (!CheckBoxFixZ->isChecked()) ScrollBarZdev->setValue(devices_.DeviceZ[number]);
}

void DevicePlacement::setType(std::uint8_t type) {
    if (recording()) devices_.DeviceType.set(device(), type);
}

void DevicePlacement::setParBeam(io::DeviceTable& table, int position) {
    if (recording() && devices_.DeviceType[device()] == 3)
        table.set(device(), static_cast<std::uint8_t>(position));
}

void DevicePlacement::SpeedButton3DonClick() {
    Tform3Dlumi& view = form_.view3dWindow();
    if (view.feed() != &feed_) view.bind(feed_);
    view.show();
    view.raise();
}

}  // namespace lumetra::ui
