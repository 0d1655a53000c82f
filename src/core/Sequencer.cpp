#include "core/Sequencer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lumetra {

TempoStatus Sequencer::TempStatus() {
    // The interval is v·v taken as a signed 16-bit number, so every cell up
    // to 181 (32,761 ms) keeps its own interval. Only a product that would
    // be zero (cell 0) or negative (182 and up) is bounded to the slider's
    // range first.
    int v = console_.show.cell(cell::kTempo);
    const auto product = static_cast<std::int16_t>(v * v);
    if (product <= 0) v = std::clamp(v, kMinTempo, kMaxTempo);
    intervalMs_ = v * v;
    return {intervalMs_, std::to_string(60000 / intervalMs_) + "  Сцен/мин "};
}

TempoStatus Sequencer::ScrollBarTempChange(int position) {
    console_.show.setCell(cell::kTempo, clampLevel(position));
    return TempStatus();
}

SequencerStep Sequencer::TimerSeqveserTimer(bool soundTrigger, bool conveyorMode,
                                            const std::function<void()>& konveyrJob) {
    SequencerStep step;
    // The indicator flashes on every tick, also while stopped; the macro
    // picture wins over blackout.
    const auto& controls = console_.controls;
    step.indicator = controls.blackout.get() ? TempoIndicator::Black : TempoIndicator::Green;
    if (controls.macroOut.get()) step.indicator = TempoIndicator::Red;

    if (soundTrigger && console_.beatFlag.get() != 1) {
        step.waitingForBeat = true;
        return step;
    }
    // A beat heard while stopped stays set, so the first tick after Play steps.
    if (console_.showRunning.get() == 0) {
        step.stopped = true;
        return step;
    }
    console_.beatFlag.set(0);

    ShowMemory& show = console_.show;
    const int current = show.currentScene();
    if (current < show.lastScene()) {
        show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(current + 1));
    } else {
        show.setCell(cell::kCurrentScene, 0);
        step.wrapped = true;
        step.conveyorDue = conveyorMode;
        if (conveyorMode && konveyrJob) konveyrJob();
    }
    computeTempoSteps();
    step.advanced = true;
    return step;
}

void Sequencer::computeTempoSteps() {
    const ShowMemory& show = console_.show;
    const int a = std::clamp(intervalMs_ / kTickMs, 1, 255);
    const int scene = show.currentScene();
    const int previous = scene > 0 ? scene - 1 : show.lastScene();
    for (int c = 1; c <= layout::kChannels; ++c) {
        const int diff = std::abs(show.level(scene, c) - show.level(previous, c));
        console_.tempoSteps.set(c - 1, static_cast<std::uint8_t>(std::max(diff / a, 1)));
    }
}

void Sequencer::ModePlay() {
    console_.showRunning.set(1);
    clock_.reset();
}

void Sequencer::ModeStop() {
    console_.showRunning.set(0);
    clock_.reset();
}

void Sequencer::SpeedButtonPlayDblClick() {
    ModePlay();
    console_.show.setCell(cell::kCurrentScene, 0);
}

ClockTick Sequencer::TimerShouClockTimer(const InterfaceState& iface) {
    ClockTick result;
    result.caption = interfaceCaption(iface);
    clock_.tick();
    result.playing = console_.showRunning.get() == 1;
    result.text = result.playing ? clock_.showText() : clock_.pauseText();
    return result;
}

std::string Sequencer::presetSceneLabel(int position) {
    return "Уст " + std::to_string(position + 1);
}

}  // namespace lumetra
