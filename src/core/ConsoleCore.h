#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/Console.h"
#include "core/Konveyr.h"
#include "core/Sequencer.h"
#include "show/FileIo.h"

namespace lumetra {

// The three output buttons of the fader page: the scene as it plays,
// blackout, and blackout with static picture "M" laid over it.
enum class OutputMode : std::uint8_t { Scene, Blackout, Macro };

// The conveyor's mode buttons: by hand, the automatic run from the current
// position or from the first active slot, and stopped for choosing slots.
enum class ConveyorMode : std::uint8_t { Hand, FromPosition, FromFirst, Off };

// What changed in the console. A front redraws what it shows of it, or
// (the headless player) tells it on a line of its own.
struct CoreEvent {
    enum class Kind {
        Playing,       // play or stop (index 1: playing)
        Tempo,         // the tempo cell or the interval it gives
        Scene,         // the sequencer stepped to another scene
        Output,        // blackout or the macro picture
        Picture,       // static picture `index` (0..15) on or off
        Offline,       // "Работа в DEMO режиме"
        SoundTrigger,  // "Работа от звука"
        Conveyor,      // conveyor mode, position or label
        ConveyorSlot,  // slot `index` (1..20) bound, freed, made active or not
        ShowLoaded,    // a show file was asked for: index 1 loaded, 0 refused (text says why)
        ShowCleared,   // the show was cleared to a new one
        Status,        // a message for the status line (text)
        Error,         // a failure the operator must see (text)
    };
    Kind kind;
    int index = 0;
    std::string text;
};

// The console's live state and operations, the same for every front: the
// window's pages, its keys, the headless player and remote control all call
// these, and all observers hear of every change whoever made it. Paths are
// the bytes the file system uses. One instance per console; tests make
// their own. Runs on one thread (the front's); the real-time tick reads only
// the shared tables of console().
class ConsoleCore {
  public:
    using Observer = std::function<void(const CoreEvent&)>;

    explicit ConsoleCore(std::string autosavePath = {});
    ConsoleCore(const ConsoleCore&) = delete;
    ConsoleCore& operator=(const ConsoleCore&) = delete;

    Console& console() { return console_; }
    const Console& console() const { return console_; }
    Sequencer& sequencer() { return sequencer_; }

    // Observers are told in the order they were added; the id removes one.
    int observe(Observer observer);
    void forget(int id);

    // --- Play and stop, tempo, the sequencer step.
    void play();
    void stop();
    void playFromStart();  // double click on Play
    bool playing() const { return console_.showRunning.get() == 1; }
    void setTempo(int value);  // the tempo slider's position (10..170)
    int intervalMs() const { return sequencer_.intervalMs(); }
    std::string tempoLabel();
    // One tick of the step timer (TimerSeqveser): steps when it may, runs
    // the conveyor when the show wraps in an automatic mode.
    SequencerStep step();
    // A beat of the music with the sound trigger on: one step at once.
    void beat();
    void setSoundTrigger(bool on);
    bool soundTrigger() const { return soundTrigger_; }

    // --- Blackout, the macro picture, static pictures, offline mode.
    // Any change of blackout stops the show (without the stop's clock reset:
    // the window's display timer finishes that stop).
    void setBlackout(bool on);
    bool blackout() const { return console_.controls.blackout.get() != 0; }
    void toggleBlackout();  // the 0 key: invert, and the show stops in any case
    void setOutputMode(OutputMode mode);
    OutputMode outputMode() const;
    void setPicture(int picture, bool on);
    bool picture(int picture) const { return console_.controls.pictureKeys.get(picture) != 0; }
    void setOffline(bool on);
    bool offline() const { return console_.controls.offline.get() != 0; }

    // --- The conveyor: twenty slots (1..20) of show files.
    const std::string& conveyorPath(int slot) const { return conveyorPaths_[slot - 1]; }
    // Binds a file to a slot without loading it; an empty path frees it.
    void setConveyorPath(int slot, const std::string& path);
    void setSlotActive(int slot, bool active);
    bool slotActive(int slot) const { return konveyr_.active(slot); }
    bool slotBound(int slot) const { return konveyr_.bound(slot); }
    int conveyorPosition() const { return konveyr_.position(); }
    void setConveyorPosition(int slot);
    ConveyorMode conveyorMode() const { return conveyorMode_; }
    bool conveyorAutomatic() const;
    // A mode button: by hand and off stop the show; the automatic modes
    // load the next show (from slot 1 for FromFirst) and play.
    void setConveyorMode(ConveyorMode mode);
    // A click on slot n or its key: in the hand mode the slot alone goes
    // down and its show is loaded at its first scene.
    void slotJob(int slot);
    // ManualLoad: the open name is loaded at its first scene and named on
    // the conveyor's label.
    void manualLoad();
    // One step of the automatic conveyor (KonveyrJob).
    void konveyrJob();
    // Every slot freed and up; the position and the label stay.
    void clearConveyor();
    // LabelKonveyr: the short name of the show the conveyor loaded last.
    const std::string& conveyorLabel() const { return conveyorLabel_; }

    // --- The show file.
    // The name a save writes under ("Unit_001" until a show is named).
    const std::string& fileName() const { return saveName_; }
    const std::string& openName() const { return openName_; }
    void setOpenName(const std::string& path) { openName_ = path; }
    bool named() const { return named_; }
    // BlocOpenFile: loads the open name; on success it becomes the file
    // name and the show is named. A refusal leaves the show as it was.
    bool open();
    bool open(const std::string& path);
    // ClearAll: a new show (the channel names stay); playback stops.
    void clear();
    // Writes the show under `path` with a fresh signature. The path becomes
    // the file name; the show is named once the write succeeded.
    io::FileResult saveAs(const std::string& path);
    // The three-minute autosave: tells the file name on the status line,
    // writes the image as it stands, and tells a failure there too (a
    // running show is never held up by a box).
    void autosave();
    // The show kept in the autosave file, silently (a quit without asking,
    // a save that failed at shutdown); the caller reports a failure.
    io::FileResult keepShow() const;
    const std::string& autosavePath() const { return autosavePath_; }
    // What every save writes: the show with what an editor has borrowed
    // put back (the static pictures editor lends scene 0).
    using ImageFilter = std::function<void(ShowMemory::Image&)>;
    void setImageFilter(ImageFilter filter) { imageFilter_ = std::move(filter); }
    ShowMemory::Image imageToSave() const;

    // --- The settings file: the conveyor's paths, the last show (which
    // becomes the open name) and the beat section kept as read.
    io::FileResult readSettings(const std::string& path);
    io::FileResult writeSettings(const std::string& path) const;
    const std::array<std::string, 5>& beatSettings() const { return ritm_; }
    void setBeatSettings(const std::array<std::string, 5>& ritm) { ritm_ = ritm; }
    // The [Player] section (how the headless player starts), kept as read.
    const std::array<std::string, 3>& playerSettings() const { return player_; }
    // The settings file's own text names the file; the reason follows in
    // Russian.
    static std::string settingsFailureText(const io::FileResult& result);

  private:
    void tell(CoreEvent::Kind kind, int index = 0, std::string text = {});
    void conveyorLoad(int slot);

    Console console_;
    Sequencer sequencer_{console_};
    Konveyr konveyr_;
    std::array<std::string, Konveyr::kSlots> conveyorPaths_;
    ConveyorMode conveyorMode_ = ConveyorMode::Hand;
    std::string conveyorLabel_ = "No job";
    bool soundTrigger_ = false;

    std::string autosavePath_;
    std::string saveName_ = "Unit_001";
    std::string openName_;
    bool named_ = false;
    ImageFilter imageFilter_;
    std::array<std::string, 5> ritm_;
    std::array<std::string, 3> player_;

    struct Entry {
        int id;
        Observer observer;
    };
    std::vector<Entry> observers_;
    int nextId_ = 1;
};

}  // namespace lumetra
