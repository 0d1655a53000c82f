#include "app/RemoteBinding.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>

#include "app/TBaseForm.h"
#include "playback/KonveyrGroup.h"
#include "remote/CoreRemote.h"
#include "remote/RemoteHub.h"

namespace lumetra::ui {

namespace {
constexpr const char* kPictureNames[remote::kPictureCount] = {
    "CheckBoxChs1", "CheckBoxChs2", "CheckBoxChs3", "CheckBoxChs4",
    "CheckBoxChs5", "CheckBoxChs6", "CheckBoxChs7", "CheckBoxChs8",
    "CheckBoxChsSpace", "CheckBoxChsZ", "CheckBoxChsX", "CheckBoxChsC",
    "CheckBoxChsV", "CheckBoxChsB", "CheckBoxChsN", "CheckBoxChsM"};
constexpr const char* kModeNames[4] = {"SpeedButtonKonvHand", "SpeedButtonKonvSpis",
                                       "SpeedButtonKonvSpisBegin", "SpeedButtonKonvOff"};

template <typename T>
T* named(QObject* within, const QString& name) {
    return within ? within->findChild<T*>(name) : nullptr;
}

std::string utf8(const QPointer<QLabel>& label) {
    return label ? label->text().toStdString() : std::string();
}
bool on(const QPointer<QAbstractButton>& b) {
    return b && b->isChecked();
}
bool on(const QPointer<QCheckBox>& b) {
    return b && b->isChecked();
}
}  // namespace

RemoteBinding::RemoteBinding(TBaseForm& form) : QObject(&form), form_(form) {
    // Names repeat between windows (the static pictures window has its own
    // SpeedButton1 and ScrollBar1): each control is looked for in its room.
    QWidget* conveyor = form.findChild<QGroupBox*>("GroupBoxKonveyr");
    QWidget* faders = form.inputPage(TBaseForm::PageFaders);
    QWidget* scenes = form.sceneTabs();
    play_ = named<QAbstractButton>(scenes, "SpeedButtonPlay");
    stop_ = named<QAbstractButton>(scenes, "SpeedButtonStop");
    tempo_ = named<QScrollBar>(scenes, "ScrollBarTemp");
    step_ = named<QScrollBar>(scenes, "ScrollBarStep");
    tempoText_ = named<QLabel>(scenes, "LabelTemp");
    onSound_ = named<QCheckBox>(scenes, "CheckBoxAudio1");
    byBeat_ = named<QAbstractButton>(scenes, "RadioButtonByBeat");
    beatTempo_ = named<QLabel>(scenes, "LabelBeatTempo");
    beatHold_ = named<QLabel>(scenes, "LabelBeatHold");
    tap_ = named<QAbstractButton>(scenes, "SpeedButtonTap");
    macro_ = named<QAbstractButton>(&form, "SpeedButtonMacrosOut");
    normal_ = named<QAbstractButton>(&form, "SpeedButtonOnScena");
    blackout_ = named<QCheckBox>(&form, "CheckBoxBlackOut");
    offline_ = named<QCheckBox>(&form, "CheckBoxNoUSBconnect");
    status_ = named<QLabel>(&form, "StatusPanel");
    konveyr_ = named<QLabel>(conveyor, "LabelKonveyr");
    for (int k = 0; k < remote::kPictureCount; ++k)
        pictures_[k] = named<QCheckBox>(form.settingsTabs(), kPictureNames[k]);
    for (int n = 1; n <= remote::kSlotCount; ++n)
        slots_[n - 1] = named<QAbstractButton>(conveyor, QStringLiteral("SpeedButton%1").arg(n));
    for (int m = 0; m < 4; ++m) modes_[m] = named<QAbstractButton>(conveyor, kModeNames[m]);
    for (int row = 1; row <= 27; ++row)
        faders_[row - 1] = named<QScrollBar>(faders, QStringLiteral("ScrollBar%1").arg(row));

    poll_ = new QTimer(this);
    poll_->setObjectName("TimerRemotePoll");
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, &RemoteBinding::poll);
    poll_->start();
}

RemoteBinding::~RemoteBinding() = default;

void RemoteBinding::poll() {
    remote::RemoteState now = state();
    if (now == last_) return;
    last_ = std::move(now);
    if (changed) changed();
}

remote::RemoteState RemoteBinding::state() const {
    remote::RemoteState s;
    const Console& console = form_.console();
    s.playing = console.showRunning.get() == 1;
    s.tempo = tempo_ ? tempo_->value() : console.show.cell(cell::kTempo);
    s.tempoText = utf8(tempoText_);
    s.blackout = on(blackout_);
    s.macro = on(macro_);
    for (int k = 0; k < remote::kPictureCount; ++k) s.pictures[k] = on(pictures_[k]);
    for (int n = 1; n <= remote::kSlotCount; ++n) {
        remote::RemoteState::Slot& slot = s.conveyor[n - 1];
        if (QAbstractButton* b = slots_[n - 1]) {
            slot.caption = b->text().toStdString();
            slot.active = b->isChecked();
        }
        slot.bound = form_.core().slotBound(n);
    }
    for (int m = 0; m < 4; ++m)
        if (on(modes_[m])) s.mode = m;
    s.konveyrLabel = utf8(konveyr_);
    s.scene = console.show.currentScene() + 1;
    s.lastScene = console.show.lastScene() + 1;
    s.onSound = on(onSound_);
    s.byBeat = on(byBeat_);
    s.beatTempo = utf8(beatTempo_);
    s.beatHold = utf8(beatHold_);
    const InterfaceState out = form_.interfaceState();
    s.offline = out.offline;
    s.output = out.offline ? "DEMO режим: ничего не отправляется"
               : out.open  ? "Интерфейс работает"
                           : (out.statusText.empty() ? "Интерфейс не открыт" : out.statusText);
    s.status = utf8(status_);
    return s;
}

void RemoteBinding::apply(const remote::Command& c) {
    using Op = remote::Command::Op;
    auto click = [](QAbstractButton* b) {
        if (b && b->isEnabled() && !b->isHidden()) b->click();
    };
    switch (c.op) {
        case Op::Play:
            // Hidden while the static pictures are edited: no play then.
            click(play_);
            break;
        case Op::Stop:
            if (stop_) stop_->click();
            break;
        case Op::Blackout:
            if (blackout_ && blackout_->isChecked() != (c.value != 0))
                blackout_->setChecked(c.value != 0);
            break;
        case Op::Macro:
            if (c.value != 0) {
                if (macro_) macro_->click();
            } else if (on(macro_) && normal_) {
                normal_->click();
            }
            break;
        case Op::Picture:
            if (QCheckBox* box = pictures_[c.n - 1]) box->setChecked(c.value != 0);
            break;
        case Op::Slot:
            if (QAbstractButton* b = slots_[c.n - 1]) b->click();
            break;
        case Op::Mode:
            if (QAbstractButton* b = modes_[c.n]) b->click();
            break;
        case Op::Tempo:
            if (tempo_) tempo_->setValue(c.value);
            break;
        case Op::Fader:
            if (QScrollBar* f = faders_[c.n - 1]) f->setValue(c.value);
            break;
        case Op::Scene:
            // As the scene slider: the show's end bounds it, and while the
            // show plays the scene stays.
            if (step_) step_->setValue(c.n - 1);
            break;
        case Op::Tap:
            if (tap_) tap_->click();
            break;
    }
    poll();
}

std::unique_ptr<remote::RemoteHub> startRemote(TBaseForm& form, RemoteBinding& binding,
                                               QString& where) {
    const Options& o = form.options();
    if (o.remotePort == 0 && o.oscPort == 0) return nullptr;
    std::string error;
    const remote::RemoteConfig config = remote::remoteConfig(o, form.folder().showDir(), error);
    if (o.remotePort != 0 && config.httpPort == 0) {
        std::fprintf(stderr, "lumetra: the web remote is off: %s\n", error.c_str());
        where = QStringLiteral("Пульт не запущен: нет пароля");
    }
    if (config.httpPort == 0 && config.oscPort == 0) return nullptr;
    auto hub = std::make_unique<remote::RemoteHub>(binding, config);
    QObject::connect(hub.get(), &remote::RemoteHub::whereChanged, &form,
                     [](const QString& text) {
                         std::fprintf(stderr, "lumetra: %s\n", text.toUtf8().constData());
                     });
    return hub;
}

}  // namespace lumetra::ui
