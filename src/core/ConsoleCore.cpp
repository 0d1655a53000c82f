#include "core/ConsoleCore.h"

#include <algorithm>

#include "show/SettingsFile.h"
#include "show/ShowFile.h"
#include "show/ShowReset.h"
#include "show/SystemErrorText.h"

namespace lumetra {

using Kind = CoreEvent::Kind;

ConsoleCore::ConsoleCore(std::string autosavePath) : autosavePath_(std::move(autosavePath)) {}

int ConsoleCore::observe(Observer observer) {
    observers_.push_back({nextId_, std::move(observer)});
    return nextId_++;
}

void ConsoleCore::forget(int id) {
    std::erase_if(observers_, [id](const Entry& e) { return e.id == id; });
}

void ConsoleCore::tell(Kind kind, int index, std::string text) {
    const CoreEvent event{kind, index, std::move(text)};
    // An observer may add or remove observers while it is told.
    const std::vector<Entry> now = observers_;
    for (const Entry& e : now) e.observer(event);
}

// --- Play and stop.

void ConsoleCore::play() {
    sequencer_.ModePlay();
    tell(Kind::Playing, 1);
}

void ConsoleCore::stop() {
    sequencer_.ModeStop();
    tell(Kind::Playing, 0);
}

void ConsoleCore::playFromStart() {
    sequencer_.SpeedButtonPlayDblClick();
    tell(Kind::Playing, 1);
    tell(Kind::Scene, 0);
}

void ConsoleCore::setTempo(int value) {
    const int before = sequencer_.intervalMs();
    const std::uint8_t cellBefore = console_.show.cell(cell::kTempo);
    sequencer_.ScrollBarTempChange(value);
    if (sequencer_.intervalMs() != before || console_.show.cell(cell::kTempo) != cellBefore)
        tell(Kind::Tempo);
}

std::string ConsoleCore::tempoLabel() {
    const int before = sequencer_.intervalMs();
    std::string label = sequencer_.TempStatus().label;
    if (sequencer_.intervalMs() != before) tell(Kind::Tempo);
    return label;
}

SequencerStep ConsoleCore::step() {
    const SequencerStep result = sequencer_.TimerSeqveserTimer(soundTrigger_, conveyorAutomatic(),
                                                               [this] { konveyrJob(); });
    if (result.advanced) tell(Kind::Scene, console_.show.currentScene());
    return result;
}

void ConsoleCore::beat() {
    if (!soundTrigger_) return;
    console_.beatFlag.set(1);
    step();
}

void ConsoleCore::setSoundTrigger(bool on) {
    if (soundTrigger_ == on) return;
    soundTrigger_ = on;
    tell(Kind::SoundTrigger, on ? 1 : 0);
}

// --- Blackout, pictures, offline mode.

void ConsoleCore::setBlackout(bool on) {
    if (blackout() == on) return;
    console_.controls.blackout.set(on ? 1 : 0);
    console_.showRunning.set(0);
    tell(Kind::Output, static_cast<int>(outputMode()));
}

void ConsoleCore::toggleBlackout() {
    setBlackout(!blackout());
    console_.showRunning.set(0);
}

void ConsoleCore::setOutputMode(OutputMode mode) {
    const bool macro = mode == OutputMode::Macro;
    const bool changed = (console_.controls.macroOut.get() != 0) != macro;
    console_.controls.macroOut.set(macro ? 1 : 0);
    if (blackout() != (mode != OutputMode::Scene))
        setBlackout(mode != OutputMode::Scene);
    else if (changed)
        tell(Kind::Output, static_cast<int>(outputMode()));
}

OutputMode ConsoleCore::outputMode() const {
    if (console_.controls.macroOut.get()) return OutputMode::Macro;
    return blackout() ? OutputMode::Blackout : OutputMode::Scene;
}

void ConsoleCore::setPicture(int picture, bool on) {
    if (picture < 0 || picture >= layout::kPictureCount || this->picture(picture) == on) return;
    console_.controls.pictureKeys.set(picture, on ? 1 : 0);
    tell(Kind::Picture, picture);
}

void ConsoleCore::setOffline(bool on) {
    if (offline() == on) return;
    console_.controls.offline.set(on ? 1 : 0);
    tell(Kind::Offline, on ? 1 : 0);
}

// --- The conveyor.

void ConsoleCore::setConveyorPath(int slot, const std::string& path) {
    conveyorPaths_[slot - 1] = path;
    konveyr_.setBound(slot, !path.empty());
    tell(Kind::ConveyorSlot, slot);
}

void ConsoleCore::setSlotActive(int slot, bool active) {
    if (konveyr_.active(slot) == active) return;
    konveyr_.setActive(slot, active);
    tell(Kind::ConveyorSlot, slot);
}

void ConsoleCore::setConveyorPosition(int slot) {
    konveyr_.setPosition(std::clamp(slot, 1, Konveyr::kSlots));
    tell(Kind::Conveyor);
}

bool ConsoleCore::conveyorAutomatic() const {
    return conveyorMode_ == ConveyorMode::FromPosition || conveyorMode_ == ConveyorMode::FromFirst;
}

void ConsoleCore::setConveyorMode(ConveyorMode mode) {
    conveyorMode_ = mode;
    tell(Kind::Conveyor);
    switch (mode) {
        case ConveyorMode::Hand:
        case ConveyorMode::Off:
            stop();
            break;
        case ConveyorMode::FromFirst:
            konveyr_.setPosition(1);
            [[fallthrough]];
        case ConveyorMode::FromPosition:
            konveyrJob();
            play();
            break;
    }
}

void ConsoleCore::slotJob(int slot) {
    // In the other modes a click has only toggled the slot; a key does nothing.
    if (conveyorMode_ != ConveyorMode::Hand) return;
    for (int n = 1; n <= Konveyr::kSlots; ++n) setSlotActive(n, n == slot);
    if (!konveyr_.bound(slot)) return;
    openName_ = conveyorPaths_[slot - 1];
    manualLoad();
}

void ConsoleCore::manualLoad() {
    open();
    console_.show.setCell(cell::kCurrentScene, 0);
    conveyorLabel_ = io::ConvertorFileName(openName_);
    tell(Kind::Conveyor);
}

void ConsoleCore::conveyorLoad(int slot) {
    openName_ = conveyorPaths_[slot - 1];
    open();
}

void ConsoleCore::konveyrJob() {
    const Konveyr::JobResult job = konveyr_.KonveyrJob([this](int slot) { conveyorLoad(slot); });
    console_.show.setCell(cell::kCurrentScene, 0);
    if (job.showLabel)
        conveyorLabel_ = std::to_string(job.labelSlot) + " " + io::ConvertorFileName(openName_);
    tell(Kind::Conveyor);
}

void ConsoleCore::clearConveyor() {
    for (int n = 1; n <= Konveyr::kSlots; ++n) {
        conveyorPaths_[n - 1].clear();
        konveyr_.setBound(n, false);
        konveyr_.setActive(n, false);
        tell(Kind::ConveyorSlot, n);
    }
}

// --- The show file.

bool ConsoleCore::open(const std::string& path) {
    openName_ = path;
    return open();
}

bool ConsoleCore::open() {
    const io::FileResult result = io::loadShow(openName_, console_.show);
    if (!result.ok()) {
        // Nothing was changed: the show, its name and the caption stay.
        tell(Kind::ShowLoaded, 0, result.notFound() ? "Файл не существует !" : result.message);
        return false;
    }
    saveName_ = openName_;
    named_ = true;
    sequencer_.TempStatus();
    tell(Kind::ShowLoaded, 1, openName_);
    tell(Kind::Tempo);
    return true;
}

void ConsoleCore::clear() {
    ClearAllMemory(console_);
    named_ = false;
    sequencer_.TempStatus();
    tell(Kind::ShowCleared);
    tell(Kind::Tempo);
}

io::FileResult ConsoleCore::saveAs(const std::string& path) {
    // The name is taken before the write; a failed write leaves the named
    // flag as it was, so a later Save asks again.
    saveName_ = path;
    console_.show.writeSignature();
    const io::FileResult result = io::saveShow(path, imageToSave());
    if (!result.ok()) {
        tell(Kind::Error, 0, result.message);
        return result;
    }
    named_ = true;
    return result;
}

ShowMemory::Image ConsoleCore::imageToSave() const {
    ShowMemory::Image image;
    console_.show.snapshot(image);
    if (imageFilter_) imageFilter_(image);
    return image;
}

void ConsoleCore::autosave() {
    if (!saveName_.empty())
        tell(Kind::Status, 0,
             "Автосохранение файла " + saveName_.substr(saveName_.find_last_of('/') + 1));
    const io::FileResult result = keepShow();
    if (!result.ok()) tell(Kind::Status, 0, result.message);
}

io::FileResult ConsoleCore::keepShow() const {
    return io::autosaveShow(autosavePath_, imageToSave());
}

// --- The settings file.

io::FileResult ConsoleCore::readSettings(const std::string& path) {
    const io::SettingsReadResult read = io::ReadIniFile(path);
    for (int n = 1; n <= Konveyr::kSlots; ++n) {
        conveyorPaths_[n - 1] = read.settings.konveyr[n - 1];
        konveyr_.setBound(n, !conveyorPaths_[n - 1].empty());
    }
    openName_ = io::resolveInWorkingFolder(read.settings.lastPath);
    ritm_ = read.settings.ritm;
    player_ = read.settings.player;
    for (int n = 1; n <= Konveyr::kSlots; ++n) tell(Kind::ConveyorSlot, n);
    return read.file;
}

io::FileResult ConsoleCore::writeSettings(const std::string& path) const {
    io::Settings settings;
    settings.konveyr = conveyorPaths_;
    settings.lastPath = saveName_;
    settings.ritm = ritm_;
    settings.player = player_;
    return io::WriteIniFile(path, settings);
}

std::string ConsoleCore::settingsFailureText(const io::FileResult& result) {
    std::string text = result.message;
    if (result.systemError != 0) text += "\nПричина: " + io::systemErrorText(result.systemError);
    return text;
}

}  // namespace lumetra
