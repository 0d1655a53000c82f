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
#include <QToolButton>

#include "app/TBaseForm.h"
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

KonveyrGroup::KonveyrGroup(TBaseForm& form, SequencerPage& sequencer, QGroupBox* box)
    : QObject(&form), form_(form), sequencer_(sequencer) {
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
                [this, n](bool down) { konveyr_.setActive(n, down); });
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
    connect(SpeedButtonKonvHand, &QToolButton::clicked, this, [this] { sequencer_.ModeStop(); });
    connect(SpeedButtonKonvOff, &QToolButton::clicked, this, [this] { sequencer_.ModeStop(); });
    connect(SpeedButtonKonvSpis, &QToolButton::clicked, this, [this] {
        KonveyrJob();
        sequencer_.ModePlay();
    });
    connect(SpeedButtonKonvSpisBegin, &QToolButton::clicked, this, [this] {
        konveyr_.setPosition(1);
        KonveyrJob();
        sequencer_.ModePlay();
    });

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

    // The sequencer runs the job when the show wraps in an automatic mode.
    sequencer_.setConveyor([this] { return automaticMode(); }, [this] { KonveyrJob(); });
}

bool KonveyrGroup::automaticMode() const {
    return SpeedButtonKonvSpis->isChecked() || SpeedButtonKonvSpisBegin->isChecked();
}

bool KonveyrGroup::manualMode() const {
    return SpeedButtonKonvHand->isChecked();
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
    konveyr_.setBound(n, bound);
}

void KonveyrGroup::labelFromSettings() {
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) {
        const io::KonveyrCaption caption =
            io::KonveyrButtonCaption(n, bytesOf(form_.konveyorPath(n)));
        buttons_[n - 1]->setText(shown(caption.text));
        setBound(n, caption.bound);
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
    const auto chosen = form_.dialogs().openFile(&form_, {kShowFilter, "lum", QString()});
    if (!chosen) return;
    form_.setKonveyorPath(n, *chosen);
    setBound(n, true);
    const io::KonveyrCaption caption = io::KonveyrAssignedCaption(n, bytesOf(*chosen));
    buttons_[n - 1]->setText(shown(caption.text));
}

void KonveyrGroup::SpeedButtonJob(int n, bool fromKey) {
    if (!manualMode()) {
        // A click has toggled the slot (active or not); a key does nothing.
        return;
    }
    Q_UNUSED(fromKey);
    KonveyrButtonOff();
    buttons_[n - 1]->setChecked(true);
    if (konveyr_.bound(n)) {
        form_.setOpenFileName(form_.konveyorPath(n));
        ManualLoad();
    }
}

void KonveyrGroup::ManualLoad() {
    form_.BlocOpenFile();
    form_.console().show.setCell(cell::kCurrentScene, 0);
    showShortName(QString());
    form_.ReturnPageControlAll();
}

void KonveyrGroup::showShortName(const QString& prefix) {
    LabelKonveyr->setText(prefix + shown(io::ConvertorFileName(bytesOf(form_.openFileName()))));
}

void KonveyrGroup::KonveyrJob() {
    const lumetra::Konveyr::JobResult job = konveyr_.KonveyrJob([this](int slot) {
        form_.setOpenFileName(form_.konveyorPath(slot));
        form_.BlocOpenFile();
    });
    form_.console().show.setCell(cell::kCurrentScene, 0);
    if (job.showLabel) showShortName(QString::number(job.labelSlot) + " ");
}

void KonveyrGroup::KonveyrButtonOff() {
    for (QToolButton* b : buttons_) b->setChecked(false);
}

void KonveyrGroup::SpeedButtonKonvNewClick() {
    if (!form_.dialogs().confirmWarning(&form_, "Удалить все файлы конвейра ? ")) return;
    for (int n = 1; n <= lumetra::Konveyr::kSlots; ++n) {
        form_.setKonveyorPath(n, QString());
        setBound(n, false);
        buttons_[n - 1]->setChecked(false);
        const std::string letter = io::konveyrKeyPrefix(n);
        buttons_[n - 1]->setText(n < lumetra::Konveyr::kSlots
                                     ? QString::fromStdString(letter.substr(0, 1)) + " (пусто)"
                                     : QString("(пусто)"));
    }
}

}  // namespace lumetra::ui
