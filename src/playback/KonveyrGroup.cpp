#include "playback/KonveyrGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>

#include "host/PageHost.h"
#include "playback/SequencerPage.h"
#include "show/PathBytes.h"
#include "show/SettingsFile.h"
#include "show/ShowMemory.h"

namespace lumetra::ui {

namespace {

const QColor kBoundText(0, 0, 128);
const QColor kFreeText(255, 0, 0);

std::string bytesOf(const QString& path) {
    return pathToBytes(path);
}
QString shown(const std::string& text) {
    return pathForDisplay(pathFromBytes(text));
}

// The small pictures of the mode buttons, drawn here: hand (stop and load
// by hand), play from the position, play from the first slot, stop.
QIcon modeIcon(int kind) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(0, 0, 128));
    switch (kind) {
        case 0:  // hand: a square stop with a pointer
            p.drawRect(3, 3, 8, 8);
            p.drawLine(11, 11, 16, 16);
            break;
        case 1: {  // play
            QPainterPath path;
            path.moveTo(5, 3), path.lineTo(15, 9), path.lineTo(5, 15), path.closeSubpath();
            p.drawPath(path);
            break;
        }
        case 2: {  // bar then play: from the first
            p.drawRect(2, 3, 2, 12);
            QPainterPath path;
            path.moveTo(7, 3), path.lineTo(16, 9), path.lineTo(7, 15), path.closeSubpath();
            p.drawPath(path);
            break;
        }
        default:  // stop
            p.setBrush(QColor(160, 0, 0));
            p.setPen(QColor(160, 0, 0));
            p.drawRect(4, 4, 10, 10);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

KonveyrGroup::KonveyrGroup(PageHost& form, SequencerPage& sequencer, QGroupBox* box)
    : QObject(form.widget()), form_(form), sequencer_(sequencer), core_(form.core()) {
    setObjectName("KonveyrGroup");
    auto* layout = new QGridLayout(box);
    layout->setSpacing(2);
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) {
        auto* button = new QToolButton(box);
        button->setObjectName(QString("SpeedButton%1").arg(n));
        button->setCheckable(true);
        button->setText("(пусто)");
        button->setToolTip("Имя введенного файла на кнопке  -  вводить Имя правой кнопкой");
        button->setMinimumWidth(90);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->installEventFilter(this);
        connect(button, &QToolButton::clicked, this, [this, n] { SpeedButtonJob(n, false); });
        connect(button, &QToolButton::toggled, this,
                [this, n](bool down) { core_.setSlotActive(n, down); });
        buttons_[n - 1] = button;
        layout->addWidget(button, (n - 1) / 4, (n - 1) % 4);
    }

    // The mode buttons show pictures only; the names below are what a
    // screen reader says (otherwise it would read the group's title).
    struct Mode {
        QToolButton** button;
        const char* name;
        const char* hint;
        int icon;
        const char* spoken;
    };
    modes_ = new QButtonGroup(this);
    modes_->setExclusive(true);
    auto* modeRow = new QHBoxLayout;
    for (const Mode& m :
         {Mode{&SpeedButtonKonvHand, "SpeedButtonKonvHand",
               "Остановить Шоу   и  разрешить проигрывание выбранного Шоу", 0, "Вручную"},
          Mode{&SpeedButtonKonvSpis, "SpeedButtonKonvSpis",
               "Запустить конвейр Шоу  с текущей позиции ", 1, "Конвейр с позиции"},
          Mode{&SpeedButtonKonvSpisBegin, "SpeedButtonKonvSpisBegin",
               "Запустить Конвейр Шоу  с первой активной кнопки", 2, "Конвейр с начала"},
          Mode{&SpeedButtonKonvOff, "SpeedButtonKonvOff",
               "Остановить конвейр и разрешить набор конвейра Шоу", 3, "Конвейр стоп"}}) {
        auto* b = new QToolButton(box);
        b->setObjectName(m.name);
        b->setToolTip(m.hint);
        b->setAccessibleName(m.spoken);
        b->setCheckable(true);
        b->setIcon(modeIcon(m.icon));
        b->setAutoRaise(false);
        modes_->addButton(b);
        modeRow->addWidget(b);
        *m.button = b;
    }
    SpeedButtonKonvHand->setChecked(true);
    const std::pair<QToolButton*, lumetra::ConveyorMode> modes[] = {
        {SpeedButtonKonvHand, lumetra::ConveyorMode::Hand},
        {SpeedButtonKonvSpis, lumetra::ConveyorMode::FromPosition},
        {SpeedButtonKonvSpisBegin, lumetra::ConveyorMode::FromFirst},
        {SpeedButtonKonvOff, lumetra::ConveyorMode::Off}};
    for (const auto& [button, mode] : modes)
        connect(button, &QToolButton::clicked, this,
                [this, m = mode] { core_.setConveyorMode(m); });

    SpeedButtonKonvNew = new QToolButton(box);
    SpeedButtonKonvNew->setObjectName("SpeedButtonKonvNew");
    SpeedButtonKonvNew->setToolTip("Очистить конвейр Шоу");
    SpeedButtonKonvNew->setText("X");
    connect(SpeedButtonKonvNew, &QToolButton::clicked, this,
            &KonveyrGroup::SpeedButtonKonvNewClick);
    modeRow->addWidget(SpeedButtonKonvNew);

    LabelKonveyr = new QLabel("No job", box);
    LabelKonveyr->setObjectName("LabelKonveyr");
    modeRow->addWidget(LabelKonveyr, 1);

    auto* keys = new QLabel("Клавиатура", box);
    keys->setObjectName("LabelKlaviatura");
    CheckBoxKeyKonveyr = new QCheckBox("Вкл", box);
    CheckBoxKeyKonveyr->setObjectName("CheckBoxKeyKonveyr");
    CheckBoxKeyKonveyr->setToolTip("Включить горячие кнопки клавиатуру");
    CheckBoxKeyKonveyr->setChecked(true);
    modeRow->addWidget(keys);
    modeRow->addWidget(CheckBoxKeyKonveyr);
    layout->addLayout(modeRow, 5, 0, 1, 4);

    core_.observe([this](const lumetra::CoreEvent& event) { coreChanged(event); });
}

void KonveyrGroup::coreChanged(const lumetra::CoreEvent& event) {
    using Kind = lumetra::CoreEvent::Kind;
    if (event.kind == Kind::Conveyor) {
        QToolButton* mode[] = {SpeedButtonKonvHand, SpeedButtonKonvSpis, SpeedButtonKonvSpisBegin,
                               SpeedButtonKonvOff};
        mode[static_cast<int>(core_.conveyorMode())]->setChecked(true);
        LabelKonveyr->setText(shown(core_.conveyorLabel()));
    } else if (event.kind == Kind::ConveyorSlot) {
        const int n = event.index;
        setBound(n, core_.slotBound(n));
        const QSignalBlocker block(buttons_[n - 1]);
        buttons_[n - 1]->setChecked(core_.slotActive(n));
    }
}

bool KonveyrGroup::automaticMode() const {
    return core_.conveyorAutomatic();
}

bool KonveyrGroup::manualMode() const {
    return core_.conveyorMode() == lumetra::ConveyorMode::Hand;
}

QString KonveyrGroup::caption(int n) const {
    return buttons_[n - 1]->text();
}

bool KonveyrGroup::keysOn() const {
    return CheckBoxKeyKonveyr->isChecked();
}

void KonveyrGroup::setBound(int n, bool bound) {
    QToolButton* button = buttons_[n - 1];
    QPalette p = button->palette();
    p.setColor(QPalette::ButtonText, bound ? kBoundText : kFreeText);
    button->setPalette(p);
    QFont f = button->font();
    f.setBold(bound);
    button->setFont(f);
}

void KonveyrGroup::labelFromSettings() {
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) {
        const io::KonveyrCaption caption =
            io::KonveyrButtonCaption(n, bytesOf(form_.konveyorPath(n)));
        buttons_[n - 1]->setText(shown(caption.text));
    }
}

bool KonveyrGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n)
                if (watched == buttons_[n - 1]) {
                    assign(n);
                    return true;  // an assignment neither loads nor toggles
                }
        }
    }
    return QObject::eventFilter(watched, event);
}

void KonveyrGroup::assign(int n) {
    const auto chosen = form_.dialogs().openFile(form_.widget(), {kShowFilter, "lum", QString()});
    if (!chosen) return;
    form_.setKonveyorPath(n, *chosen);
    const io::KonveyrCaption caption = io::KonveyrAssignedCaption(n, bytesOf(*chosen));
    buttons_[n - 1]->setText(shown(caption.text));
}

void KonveyrGroup::SpeedButtonJob(int n, bool fromKey) {
    // Outside the hand mode a click has toggled the slot (active or not);
    // a key does nothing.
    Q_UNUSED(fromKey);
    if (!manualMode()) return;
    const bool load = core_.slotBound(n);
    core_.slotJob(n);
    if (load) form_.ReturnPageControlAll();
}

void KonveyrGroup::ManualLoad() {
    core_.manualLoad();
    form_.ReturnPageControlAll();
}

void KonveyrGroup::KonveyrJob() {
    core_.konveyrJob();
}

void KonveyrGroup::KonveyrButtonOff() {
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) core_.setSlotActive(n, false);
}

void KonveyrGroup::SpeedButtonKonvNewClick() {
    if (!form_.dialogs().confirmWarning(form_.widget(), "Удалить все файлы конвейра ? ")) return;
    core_.clearConveyor();
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) {
        const std::string letter = io::konveyrKeyPrefix(n);
        buttons_[n - 1]->setText(n < lumetra::Konveyr::kSlots
                                     ? QString::fromStdString(letter.substr(0, 1)) + " (пусто)"
                                     : QString("(пусто)"));
    }
}

void KonveyrGroup::keysOff() {
    CheckBoxKeyKonveyr->setChecked(false);
}

}  // namespace lumetra::ui
