#include "remote/CoreRemote.h"

#include <QFile>
#include <algorithm>

#include "show/PathBytes.h"
#include "show/SettingsFile.h"

namespace lumetra::remote {

CoreRemote::CoreRemote(ConsoleCore& core) : core_(core) {
    observer_ = core_.observe([this](const CoreEvent& event) {
        if (event.kind == CoreEvent::Kind::Status || event.kind == CoreEvent::Kind::Error)
            status_ = event.text;
        tellChanged();
    });
}

CoreRemote::~CoreRemote() {
    core_.forget(observer_);
}

void CoreRemote::tellChanged() const {
    if (changed) changed();
}

void CoreRemote::frontChanged() const {
    tellChanged();
}

void CoreRemote::setStatus(std::string text) {
    status_ = std::move(text);
    tellChanged();
}

RemoteState CoreRemote::state() const {
    RemoteState s;
    const Console& console = core_.console();
    s.playing = core_.playing();
    s.tempo = console.show.cell(cell::kTempo);
    s.tempoText = core_.tempoLabel();
    s.blackout = core_.blackout();
    s.macro = core_.outputMode() == OutputMode::Macro;
    for (int k = 0; k < kPictureCount; ++k) s.pictures[k] = core_.picture(k);
    for (int n = 1; n <= kSlotCount; ++n) {
        RemoteState::Slot& slot = s.conveyor[n - 1];
        // A name that is not UTF-8 shows as the window shows it.
        slot.caption =
            ui::pathForDisplay(
                ui::pathFromBytes(io::KonveyrButtonCaption(n, core_.conveyorPath(n)).text))
                .toStdString();
        slot.bound = core_.slotBound(n);
        slot.active = core_.slotActive(n);
    }
    s.mode = static_cast<int>(core_.conveyorMode());
    s.konveyrLabel = core_.conveyorLabel();
    s.scene = console.show.currentScene() + 1;
    s.lastScene = console.show.lastScene() + 1;
    s.onSound = core_.soundTrigger();
    // Without a window the steps follow the level trigger.
    s.byBeat = false;
    s.offline = core_.offline();
    s.status = status_;
    if (front.fill) front.fill(s);
    return s;
}

void CoreRemote::apply(const Command& c) {
    using Op = Command::Op;
    Console& console = core_.console();
    if (front.apply && front.apply(c)) {
        tellChanged();
        return;
    }
    switch (c.op) {
        case Op::Play:
            core_.play();
            break;
        case Op::Stop:
            core_.stop();
            break;
        case Op::Blackout:
            core_.setBlackout(c.value != 0);
            break;
        case Op::Macro:
            if (c.value != 0)
                core_.setOutputMode(OutputMode::Macro);
            else if (core_.outputMode() == OutputMode::Macro)
                core_.setOutputMode(OutputMode::Scene);
            break;
        case Op::Picture:
            core_.setPicture(c.n - 1, c.value != 0);
            break;
        case Op::Slot:
            // As a click on the slot's button: in the hand mode it loads the
            // slot's show, in the others it marks the slot for the run or not.
            if (core_.conveyorMode() == ConveyorMode::Hand)
                core_.slotJob(c.n);
            else
                core_.setSlotActive(c.n, !core_.slotActive(c.n));
            break;
        case Op::Mode:
            core_.setConveyorMode(static_cast<ConveyorMode>(c.n));
            break;
        case Op::Tempo:
            core_.setTempo(c.value);
            break;
        case Op::Fader:
            // Without a fader page row n is channel n of the scene shown.
            console.show.setLevel(console.show.currentScene(), c.n,
                                  static_cast<std::uint8_t>(c.value));
            break;
        case Op::Scene:
            // Without a scene slider: up to the show's last scene, and not
            // while the show plays.
            if (!core_.playing())
                console.show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(std::min(
                                                              c.n - 1, console.show.lastScene())));
            break;
        case Op::Tap:
            // No tap tempo without a beat tracker.
            break;
    }
    tellChanged();
}

std::string outputWords(const InterfaceState& state) {
    if (state.offline) return "DEMO режим: ничего не отправляется";
    if (state.open) return "Интерфейс работает";
    return state.statusText.empty() ? "Интерфейс не открыт" : state.statusText;
}

RemoteConfig remoteConfig(const Options& o, const std::string& showDir, std::string& whyOff) {
    RemoteConfig config;
    config.oscAddress = QString::fromStdString(o.oscAddress);
    config.oscPort = o.oscPort;
    if (o.remotePort == 0) return config;
    QByteArray password = QByteArray::fromStdString(o.remotePassword);
    if (password.isEmpty()) {
        std::string file = o.remotePasswordFile;
        if (file.empty()) {
            const std::string fallback = showDir + "/remote-password";
            if (QFile::exists(QString::fromStdString(fallback))) file = fallback;
        }
        if (!file.empty())
            password = passwordFromFile(file, whyOff);
        else
            whyOff = "no password: give --remote-password-file=PATH (or --remote-password)";
    }
    // No password, no web remote: there is no default one.
    if (password.isEmpty()) return config;
    config.httpAddress = QString::fromStdString(o.remoteAddress);
    config.httpPort = o.remotePort;
    config.password = password;
    return config;
}

std::unique_ptr<RemoteHub> startRemote(RemoteConsole& console, const Options& options,
                                       const std::string& showDir, std::string& whyOff) {
    if (options.remotePort == 0 && options.oscPort == 0) return nullptr;
    const RemoteConfig config = remoteConfig(options, showDir, whyOff);
    if (config.httpPort != 0) whyOff.clear();
    if (config.httpPort == 0 && config.oscPort == 0) return nullptr;
    return std::make_unique<RemoteHub>(console, config);
}

}  // namespace lumetra::remote
