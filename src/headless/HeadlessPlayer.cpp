#include "headless/HeadlessPlayer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "headless/QuitSignal.h"
#include "output/NoSigpipe.h"
#include "playback/StaticPictures.h"
#include "show/ShowReset.h"
#include "sound/BeatTracker.h"
#include "sound/SoundCapture.h"

namespace lumetra::front {

namespace {
const char* onOff(int on) {
    return on ? "вкл" : "выкл";
}
}  // namespace

HeadlessPlayer::HeadlessPlayer(const Options& options, io::DataFolder folder)
    : options_(options),
      folder_(std::move(folder)),
      core_(folder_.autosavePath()),
      outputs_(core_.console(), options_),
      analysis_(core_.console()) {
    core_.observe([this](const CoreEvent& event) { coreChanged(event); });
    step_.setTimerType(Qt::PreciseTimer);
    connect(&step_, &QTimer::timeout, this, [this] { core_.step(); });
    poll_.setInterval(1000);
    connect(&poll_, &QTimer::timeout, this, &HeadlessPlayer::pollOutputs);
    autosave_.setInterval(180000);
    connect(&autosave_, &QTimer::timeout, this, [this] { core_.autosave(); });
    audio_.setInterval(10);
    audio_.setTimerType(Qt::PreciseTimer);
    connect(&audio_, &QTimer::timeout, this, &HeadlessPlayer::audioTick);
    beatStep_.setSingleShot(true);
    beatStep_.setTimerType(Qt::PreciseTimer);
    connect(&beatStep_, &QTimer::timeout, this, [this] {
        beatSchedule_.stepped(beatDue_);
        core_.beat();
        armBeatStep();
    });
}

HeadlessPlayer::~HeadlessPlayer() {
    close();
}

void HeadlessPlayer::line(const std::string& text) {
    std::fprintf(stderr, "lumetra: %s\n", text.c_str());
    // What the status line would say, a remote's page says.
    if (remoteConsole_) remoteConsole_->setStatus(text);
}

void HeadlessPlayer::start() {
    // The interface driver lists the devices; the polls open it.
    outputs_.start();
    const OutputListing listing = outputs_.listing();
    line(listing.count + " " + listing.description + " " + listing.serial);
    // The fixed tables and a cleared show; the tick runs from here on.
    core_.console().resetPatch();
    StartupMemoryReset(core_.console().show);
    core_.clear();
    // The settings file: the conveyor's shows and the last show.
    const io::FileResult read = core_.readSettings(folder_.settingsPath());
    if (!read.ok() && !read.notFound()) line(read.message);
    started_ = true;
    startPlaying();
    // The interface opened first, so that the tick's first line, at once,
    // already carries the show.
    pollOutputs();
    outputs_.startTick();
    startSound();
    startRemote();
    step_.start(core_.intervalMs());
    poll_.start();
    autosave_.start();
}

void HeadlessPlayer::startPlaying() {
    const std::array<std::string, 3>& player = core_.playerSettings();
    const std::string conveyor = !options_.conveyor.empty() ? options_.conveyor : player[1];
    Options::Play play = options_.play;
    if (play == Options::Play::No && player[0] == "tempo") play = Options::Play::Tempo;
    if (play == Options::Play::No && player[0] == "sound") play = Options::Play::Sound;
    if (play == Options::Play::Sound) core_.setSoundTrigger(true);

    if (conveyor == "list" || conveyor == "first") {
        // Without buttons every bound slot plays. "list" carries on at the
        // slot of the show that played last, so that a restart resumes it.
        int from = 1;
        for (int n = Konveyr::kSlots; n >= 1; --n) {
            core_.setSlotActive(n, core_.slotBound(n));
            if (conveyor == "list" && core_.slotBound(n) &&
                core_.conveyorPath(n) == core_.openName())
                from = n;
        }
        core_.setConveyorPosition(from);
        core_.setConveyorMode(ConveyorMode::FromPosition);
        return;
    }
    if (!core_.openName().empty()) core_.open();
    if (play != Options::Play::No) core_.play();
}

void HeadlessPlayer::startSound() {
    if (options_.audio == "none") return;
    sound::OpenedCapture opened = sound::openSoundCapture(options_.audio);
    for (const sound::SoundFailure& failure : opened.failures)
        line((failure.caption.empty() ? "" : failure.caption + ": ") + failure.text);
    capture_ = std::move(opened.capture);
    // Without a source the level rests where it is: no timer at all.
    if (!capture_) return;
    startBeat();
    audio_.start();
}

void HeadlessPlayer::startBeat() {
    const std::array<std::string, 5>& ritm = core_.beatSettings();
    // Only a capture that keeps its whole sample stream can be followed.
    if (ritm[0] != "beat" || !capture_->stream()) return;
    tracker_ = std::make_unique<sound::BeatTracker>(*capture_->stream());
    beatSchedule_.setEvery(std::max(1, std::atoi(ritm[1].c_str())));
    // The level trigger goes on measuring, but the beat makes the steps.
    analysis_.settings().setsBeatFlag = false;
}

void HeadlessPlayer::armBeatStep() {
    const std::int64_t now = sound::monotonicNs();
    beatSchedule_.setPlaying(core_.soundTrigger() && core_.console().showRunning.get() == 1, now);
    const std::optional<std::int64_t> next = beatSchedule_.nextStepAt(tracker_->grid(now), now);
    if (!next) {
        beatStep_.stop();
        return;
    }
    if (beatStep_.isActive() && *next == beatDue_) return;
    beatDue_ = *next;
    beatStep_.start(static_cast<int>(std::max<std::int64_t>(0, (beatDue_ - now) / 1'000'000)));
}

void HeadlessPlayer::startRemote() {
    if (options_.remotePort == 0 && options_.oscPort == 0) return;
    remoteConsole_ = std::make_unique<remote::CoreRemote>(core_);
    // Without a window the output's state is told in words, and the lines
    // are the status line (line() hands each one on).
    remoteConsole_->front.fill = [this](remote::RemoteState& s) {
        s.output = remote::outputWords(outputs_.interfaceState(core_.offline()));
    };
    std::string whyOff;
    remote_ = remote::startRemote(*remoteConsole_, options_, folder_.showDir(), whyOff);
    if (!whyOff.empty()) line("the web remote is off: " + whyOff);
    if (!remote_) {
        remoteConsole_.reset();
        return;
    }
    QObject::connect(remote_.get(), &remote::RemoteHub::whereChanged, this,
                     [this](const QString& where) {
                         if (where.toStdString() != remoteWhere_) line(where.toStdString());
                         remoteWhere_ = where.toStdString();
                     });
    // At most once a second: what OSC took and what it threw away.
    QObject::connect(
        remote_.get(), &remote::RemoteHub::oscCounts, this, [](int received, int dropped) {
            std::fprintf(stderr, "lumetra: OSC: %d taken, %d ignored\n", received, dropped);
        });
}

void HeadlessPlayer::audioTick() {
    capture_->fillBlock(analysis_.block());
    analysis_.tick();
    if (tracker_) armBeatStep();
}

void HeadlessPlayer::pollOutputs() {
    outputs_.poll();
    const InterfaceState state = outputs_.interfaceState(core_.offline());
    const std::string text = state.open ? "Интерфейс открыт" : state.statusText;
    if (text != interfaceLine_ && !text.empty()) line(text);
    interfaceLine_ = text;
}

void HeadlessPlayer::writeSettings() {
    const io::FileResult result = core_.writeSettings(folder_.settingsPath());
    if (!result.ok()) line(ConsoleCore::settingsFailureText(result));
}

void HeadlessPlayer::close() {
    if (closed_) return;
    closed_ = true;
    step_.stop();
    poll_.stop();
    audio_.stop();
    beatStep_.stop();
    autosave_.stop();
    // Remotes first: nothing reaches the console while it closes.
    remote_.reset();
    remoteConsole_.reset();
    // The output stops for good, then the interface closes.
    outputs_.stopTick();
    outputs_.stop();
    tracker_.reset();
    capture_.reset();
    if (!started_) return;  // nothing was read, so nothing is written over
    const io::FileResult kept = core_.keepShow();
    if (!kept.ok()) line(kept.message);
    if (core_.playerSettings()[2] == "1" && core_.named()) core_.saveAs(core_.fileName());
    writeSettings();
    line("Остановлен");
}

void HeadlessPlayer::stateLine(CoreEvent::Kind kind, const std::string& text) {
    // A state is told when it changes, not each time it is set again (the
    // conveyor reloads a one-show list on every wrap).
    std::string& last = lastState_[static_cast<std::size_t>(kind)];
    if (text == last) return;
    last = text;
    line(text);
}

void HeadlessPlayer::coreChanged(const CoreEvent& event) {
    using Kind = CoreEvent::Kind;
    switch (event.kind) {
        case Kind::Playing:
            stateLine(event.kind, event.index ? "Шоу запущено" : "Шоу остановлено");
            return;
        case Kind::Tempo:
            if (step_.isActive() && step_.interval() != core_.intervalMs())
                step_.setInterval(core_.intervalMs());
            stateLine(event.kind, "Темп " + core_.tempoLabel());
            return;
        case Kind::Output: {
            static const char* modes[] = {"Сцена", "BlackOut", "Макро M"};
            stateLine(event.kind, modes[event.index]);
            return;
        }
        case Kind::Picture:
            line(std::string("Статическая картинка ") + kPictureCaptions[event.index] + " " +
                 onOff(core_.picture(event.index)));
            return;
        case Kind::Offline:
            stateLine(event.kind, std::string("Работа в DEMO режиме ") + onOff(event.index));
            return;
        case Kind::SoundTrigger:
            stateLine(event.kind, std::string("Работа от звука ") + onOff(event.index));
            return;
        case Kind::Conveyor:
            stateLine(event.kind, "Конвейр: " + core_.conveyorLabel());
            return;
        case Kind::ShowLoaded:
            if (!event.index) {
                // The reason names the file, except the window's own words
                // for one that is not there.
                const bool named = event.text.find(core_.openName()) != std::string::npos;
                line(named ? event.text : event.text + " " + core_.openName());
                return;
            }
            if (event.text != lastState_[static_cast<std::size_t>(Kind::ShowLoaded)])
                line("Шоу " + event.text);
            lastState_[static_cast<std::size_t>(Kind::ShowLoaded)] = event.text;
            // The settings name what plays, so that a restart after a crash
            // resumes it; written when that changes, not on every reload.
            if (started_ && core_.openName() != settingsShow_) {
                settingsShow_ = core_.openName();
                writeSettings();
            }
            return;
        case Kind::Status:
        case Kind::Error:
            line(event.text);
            return;
        case Kind::Scene:
        case Kind::ConveyorSlot:
        case Kind::ShowCleared:
            return;
    }
}

int runHeadless(const Options& options, int argc, char** argv) {
    // Outputs report a reader that went away as an error, not by a signal.
    io::ignoreSigpipe();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("lumetra");
    QCoreApplication::setApplicationVersion("5.4.1");

    io::DataFolder folder(io::DataFolder::resolve(options.home));
    const std::string folderError = folder.create();
    if (!folderError.empty()) std::fprintf(stderr, "lumetra: %s\n", folderError.c_str());

    HeadlessPlayer player(options, folder);
    QuitSignal quit([&player] {
        player.close();
        QCoreApplication::quit();
    });
    player.start();
    return app.exec();
}

}  // namespace lumetra::front
