// The console core driven directly, as every front drives it: the
// operations change the shared state and each change reaches the observers.
#include "core/ConsoleCore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "show/ShowFile.h"
#include "show/TempFolder.h"

namespace lumetra {
namespace {

using Kind = CoreEvent::Kind;

struct Heard {
    std::vector<CoreEvent> events;
    int count(Kind kind) const {
        int n = 0;
        for (const CoreEvent& e : events) n += e.kind == kind;
        return n;
    }
    const CoreEvent* last(Kind kind) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->kind == kind) return &*it;
        return nullptr;
    }
};

class ConsoleCoreTest : public ::testing::Test {
  protected:
    ConsoleCoreTest() : core(dir.file("ShouTemp.lum")) {
        core.observe([this](const CoreEvent& e) { heard.events.push_back(e); });
        core.clear();
        heard.events.clear();
    }
    // A show of `scenes` scenes whose scene s has level s+1 on channel 1.
    std::string writeShow(const std::string& name, int scenes) {
        ShowMemory show;
        show.setCell(cell::kLastScene, static_cast<std::uint8_t>(scenes - 1));
        show.setCell(cell::kTempo, 10);
        for (int s = 0; s < scenes; ++s) show.setLevel(s, 1, static_cast<std::uint8_t>(s + 1));
        const std::string path = dir.file(name);
        EXPECT_TRUE(io::saveShow(path, show).ok());
        return path;
    }
    TempFolder dir;
    ConsoleCore core;
    Heard heard;
};

TEST_F(ConsoleCoreTest, PlayStepsStopAndTempoAreToldToObservers) {
    core.setTempo(10);
    EXPECT_EQ(core.intervalMs(), 100);
    EXPECT_EQ(heard.count(Kind::Tempo), 1);
    core.setTempo(10);  // no change, nothing told
    EXPECT_EQ(heard.count(Kind::Tempo), 1);

    EXPECT_FALSE(core.step().advanced);  // stopped: only the indicator
    core.play();
    EXPECT_TRUE(core.playing());
    EXPECT_EQ(heard.last(Kind::Playing)->index, 1);
    EXPECT_TRUE(core.step().advanced);
    EXPECT_EQ(core.console().show.currentScene(), 1);
    EXPECT_EQ(heard.last(Kind::Scene)->index, 1);
    core.step();
    EXPECT_EQ(core.console().show.currentScene(), 0);  // two scenes wrap
    core.stop();
    EXPECT_FALSE(core.playing());
    EXPECT_EQ(heard.last(Kind::Playing)->index, 0);
}

TEST_F(ConsoleCoreTest, SoundTriggerStepsOnlyOnBeats) {
    core.setSoundTrigger(true);
    core.play();
    EXPECT_FALSE(core.step().advanced);
    core.beat();
    EXPECT_EQ(core.console().show.currentScene(), 1);
    core.setSoundTrigger(false);
    core.beat();  // ignored without the trigger
    EXPECT_EQ(core.console().show.currentScene(), 1);
    EXPECT_EQ(heard.count(Kind::SoundTrigger), 2);
}

TEST_F(ConsoleCoreTest, BlackoutMacroPicturesAndOfflineWriteTheMirrors) {
    const ControlMirror& m = core.console().controls;
    core.play();
    core.setBlackout(true);
    EXPECT_EQ(m.blackout.get(), 1);
    EXPECT_FALSE(core.playing());  // every blackout change stops the show
    EXPECT_EQ(core.outputMode(), OutputMode::Blackout);

    core.setOutputMode(OutputMode::Macro);
    EXPECT_EQ(m.macroOut.get(), 1);
    EXPECT_EQ(heard.last(Kind::Output)->index, static_cast<int>(OutputMode::Macro));
    core.toggleBlackout();  // the 0 key: blackout off, the macro picture stays chosen
    EXPECT_EQ(m.blackout.get(), 0);
    EXPECT_EQ(m.macroOut.get(), 1);
    core.setOutputMode(OutputMode::Scene);
    EXPECT_EQ(m.macroOut.get(), 0);
    EXPECT_EQ(m.blackout.get(), 0);

    core.setPicture(15, true);
    core.setPicture(15, true);
    EXPECT_EQ(m.pictureKeys.get(15), 1);
    EXPECT_EQ(heard.count(Kind::Picture), 1);
    core.setPicture(16, true);  // no such picture
    EXPECT_EQ(heard.count(Kind::Picture), 1);

    core.setOffline(true);
    EXPECT_EQ(m.offline.get(), 1);
    EXPECT_EQ(heard.last(Kind::Offline)->index, 1);
}

TEST_F(ConsoleCoreTest, OpenSaveAutosaveAndRefusals) {
    const std::string path = writeShow("three.lum", 3);
    EXPECT_TRUE(core.open(path));
    EXPECT_EQ(core.fileName(), path);
    EXPECT_TRUE(core.named());
    EXPECT_EQ(core.intervalMs(), 100);  // the loaded tempo
    EXPECT_EQ(heard.last(Kind::ShowLoaded)->index, 1);

    EXPECT_FALSE(core.open(dir.file("gone.lum")));
    EXPECT_EQ(heard.last(Kind::ShowLoaded)->text, "Файл не существует !");
    EXPECT_EQ(core.fileName(), path);  // a refusal keeps the show and its name
    EXPECT_EQ(core.console().show.lastScene(), 2);

    const std::string copy = dir.file("copy.lum");
    EXPECT_TRUE(core.saveAs(copy).ok());
    ShowMemory back;
    ASSERT_TRUE(io::loadShow(copy, back).ok());
    EXPECT_EQ(back.level(2, 1), 3);
    EXPECT_EQ(back.get(0), core.console().show.get(0));  // the signature

    EXPECT_FALSE(core.saveAs(dir.file("no/such/folder.lum")).ok());
    EXPECT_EQ(heard.count(Kind::Error), 1);

    core.autosave();
    EXPECT_EQ(heard.last(Kind::Status)->text, "Автосохранение файла folder.lum");
    ASSERT_TRUE(io::loadShow(core.autosavePath(), back).ok());
    EXPECT_EQ(back.lastScene(), 2);

    core.clear();
    EXPECT_FALSE(core.named());
    EXPECT_EQ(core.console().show.lastScene(), 1);
    EXPECT_EQ(heard.count(Kind::ShowCleared), 1);
}

TEST_F(ConsoleCoreTest, ConveyorRunsActiveBoundSlotsAtEveryWrap) {
    core.setConveyorPath(2, writeShow("two.lum", 2));
    core.setConveyorPath(5, writeShow("fiveshow.lum", 3));
    core.setConveyorPath(7, writeShow("seven.lum", 2));  // bound but not active
    core.setSlotActive(2, true);
    core.setSlotActive(5, true);
    core.setSlotActive(9, true);  // active but free

    core.setConveyorMode(ConveyorMode::FromFirst);
    EXPECT_TRUE(core.playing());
    EXPECT_EQ(core.fileName(), core.conveyorPath(2));
    EXPECT_EQ(core.conveyorLabel(), "2 two");
    EXPECT_EQ(core.conveyorPosition(), 3);

    core.step();  // scene 1
    core.step();  // wraps: the next show
    EXPECT_EQ(core.fileName(), core.conveyorPath(5));
    EXPECT_EQ(core.conveyorLabel(), "5 fivesho");
    EXPECT_EQ(core.console().show.currentScene(), 0);

    core.setConveyorMode(ConveyorMode::Hand);
    EXPECT_FALSE(core.playing());
    core.slotJob(7);  // by hand: slot 7 alone goes down and is loaded
    EXPECT_EQ(core.fileName(), core.conveyorPath(7));
    EXPECT_TRUE(core.slotActive(7));
    EXPECT_FALSE(core.slotActive(2));

    core.clearConveyor();
    EXPECT_FALSE(core.slotBound(7));
    EXPECT_TRUE(core.conveyorPath(5).empty());
}

TEST_F(ConsoleCoreTest, SettingsKeepConveyorLastShowAndBeatSection) {
    core.setConveyorPath(3, "/shows/club.lum");
    const std::string show = writeShow("last.lum", 2);
    ASSERT_TRUE(core.open(show));
    core.setBeatSettings({"beat", "2", "1", "0", "1"});
    const std::string ini = dir.file("Lumy.ini");
    ASSERT_TRUE(core.writeSettings(ini).ok());

    ConsoleCore other;
    EXPECT_TRUE(other.readSettings(ini).ok());
    EXPECT_EQ(other.conveyorPath(3), "/shows/club.lum");
    EXPECT_TRUE(other.slotBound(3));
    EXPECT_EQ(other.openName(), show);
    EXPECT_EQ(other.beatSettings()[0], "beat");

    const io::FileResult refused = core.writeSettings(dir.file("none/Lumy.ini"));
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(ConsoleCore::settingsFailureText(refused).find("Причина: "), std::string::npos);
}

}  // namespace
}  // namespace lumetra
