// The web remote and OSC on the window: the remote works on the console
// core like every other front; the window lends it what only the window
// has (the beat tracker, the fader rows and the scene slider, the slot
// captions, the status line and the interface's state) and tells it when
// those change.
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <cstdio>

#include "app/TBaseForm.h"
#include "edit/FaderPage.h"
#include "output/OutputControls.h"
#include "playback/KonveyrGroup.h"
#include "playback/SequencerPage.h"
#include "remote/CoreRemote.h"
#include "sound/BeatControls.h"
#include "sound/SoundPage.h"

namespace lumetra::ui {

void TBaseForm::startRemoteControl() {
    if (options_.remotePort == 0 && options_.oscPort == 0) return;
    remoteConsole_ = std::make_unique<remote::CoreRemote>(core_);
    lendRemote(*remoteConsole_);
    std::string whyOff;
    remote_ = remote::startRemote(*remoteConsole_, options_, folder_.showDir(), whyOff);
    QString where;
    if (!whyOff.empty()) {
        std::fprintf(stderr, "lumetra: the web remote is off: %s\n", whyOff.c_str());
        where = QStringLiteral("Пульт не запущен: нет пароля");
    }
    if (!remote_) {
        remoteConsole_.reset();
        showRemoteWhere(where);
        return;
    }
    connect(remote_.get(), &remote::RemoteHub::whereChanged, this, [this](const QString& text) {
        std::fprintf(stderr, "lumetra: %s\n", text.toUtf8().constData());
        showRemoteWhere(text);
    });
    // At most once a second: what OSC took and what it threw away.
    connect(remote_.get(), &remote::RemoteHub::oscCounts, this, [this](int received, int dropped) {
        std::fprintf(stderr, "lumetra: OSC: %d taken, %d ignored\n", received, dropped);
        if (LabelRemoteOptions)
            LabelRemoteOptions->setText(
                remoteWhere_ +
                QStringLiteral("\nOSC: принято %1, отброшено %2").arg(received).arg(dropped));
    });
    showRemoteWhere(where);
}

void TBaseForm::lendRemote(remote::CoreRemote& remote) {
    BeatControls& beat = soundPage_->beat();
    remote.front.fill = [this, &beat](remote::RemoteState& s) {
        for (int n = 1; n <= remote::kSlotCount; ++n)
            s.conveyor[n - 1].caption = konveyr_->caption(n).toStdString();
        s.byBeat = beat.byBeat();
        s.beatTempo = beat.tempoText().toStdString();
        s.beatHold = beat.holdText().toStdString();
        s.output = remote::outputWords(interfaceState());
        s.status = statusText().toStdString();
    };
    remote.front.apply = [this, &beat](const remote::Command& c) {
        using Op = remote::Command::Op;
        switch (c.op) {
            case Op::Play:
                // No play while the static pictures are edited, as the
                // window hides its Play then.
                return !playAllowed_;
            case Op::Slot:
                // As the slot's key in the hand mode (load and refresh); in
                // the other modes the core toggles the slot as a click does.
                if (!konveyr_->manualMode()) return false;
                konveyr_->SpeedButtonJob(c.n, true);
                return true;
            case Op::Fader:
                faderPage_->moveFader(c.n, c.value);
                return true;
            case Op::Scene:
                sequencerPage_->moveSceneSlider(c.n - 1);
                return true;
            case Op::Tap:
                beat.tap();
                return true;
            default:
                return false;
        }
    };
    // What the core does not tell: the window's own refresh (scenes added,
    // the slider moved, a show edited), the beat, the interface's poll.
    // The refresher stays when the remote stops: it asks for it each time.
    const auto tell = [this] { tellRemote(); };
    onSystemRefresh(tell);
    connect(&beat, &BeatControls::shownChanged, this, tell);
    connect(output_, &OutputControls::polled, this, tell);
}

void TBaseForm::tellRemote() {
    if (remoteConsole_) remoteConsole_->frontChanged();
}

void TBaseForm::showRemoteWhere(const QString& where) {
    if (where.isEmpty()) return;
    remoteWhere_ = where;
    // A panel of its own at the right of the status bar, beside the one
    // panel of messages, and a line on the options page.
    if (!LabelRemote) {
        LabelRemote = new QLabel(this);
        LabelRemote->setObjectName("LabelRemote");
        LabelRemote->setToolTip("Пульт с телефона и OSC: где их найти");
        statusBar()->addPermanentWidget(LabelRemote);
    }
    LabelRemote->setText(where);
    if (!LabelRemoteOptions) {
        auto* usb = slot(Slot::OptionsInterface);
        LabelRemoteOptions = new QLabel(usb);
        LabelRemoteOptions->setObjectName("LabelRemoteOptions");
        LabelRemoteOptions->setWordWrap(true);
        LabelRemoteOptions->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (usb && usb->layout()) usb->layout()->addWidget(LabelRemoteOptions);
    }
    LabelRemoteOptions->setText(where);
    OutStatus(where);
}

void TBaseForm::stopRemote() {
    remote_.reset();
    remoteConsole_.reset();
}

}  // namespace lumetra::ui
