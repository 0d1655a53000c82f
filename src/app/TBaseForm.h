#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/Console.h"
#include "core/ConsoleCore.h"
#include "core/DataFolder.h"
#include "host/Dialogs.h"
#include "host/PageHost.h"
#include "core/Options.h"
#include "core/ShowClock.h"
#include "show/ColorEditFile.h"
#include "show/ShowReset.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollBar;
class QTabWidget;
class QTextBrowser;
class QTimer;
class QToolBar;
class QToolButton;

namespace lumetra::remote {
class CoreRemote;
class RemoteHub;
}

namespace lumetra::ui {

class SideWindows;
// scene list and patch
class SceneCommands;
class CopyPage;
class PatchPage;
class OutputControls;
// playback and faders
class SequencerPage;
class KeyControl;
class FaderPage;
class KonveyrGroup;
// chase generators and static pictures
class AvtomatPage;
class StaticEditMode;
// names, colours and the channel graph
class NamePage;
class GraphPage;
// beam editor
class BeamPage;
// sound
class SoundPage;
// 3D viewer
class DevicePlacement;

// The main window of the console. It owns the show and the engine state;
// every editor page works on them and ends a change with
// ReturnPageControlAll(), which refreshes the visible page from the show.
class TBaseForm : public QMainWindow, public PageHost {
    Q_OBJECT

  public:
    TBaseForm(const Options& options, io::DataFolder folder, std::unique_ptr<Dialogs> dialogs,
              QWidget* parent = nullptr);
    ~TBaseForm() override;

    // Start-up in its fixed order. Called once by the program entry (or a
    // test) right after construction. With DeviceStart::AfterShow the steps
    // that open devices or files or may wait for the operator (the interface
    // and its status, the settings file and the last show, the colour file,
    // the sound input, the manual, and their boxes) are left to FormShown,
    // which the program entry runs once the window is on screen: the window
    // never waits for a device, a disk or a box.
    enum class DeviceStart { WithForm, AfterShow };
    void FormCreate(DeviceStart devices = DeviceStart::WithForm);
    void FormShown();

    // The console's live state and operations, shared with every front.
    ConsoleCore& core() override { return core_; }
    Console& console() override { return console_; }
    const Options& options() const override { return options_; }
    // The web remote and OSC, when the command line asks for them: where
    // they can be reached (empty when off).
    QString remoteWhere() const { return remoteWhere_; }
    void stopRemote();
    const io::DataFolder& folder() const override { return folder_; }
    Dialogs& dialogs() override { return *dialogs_; }

    // Status line: a message stays for 2,000 ms.
    void OutStatus(const QString& text) override;
    QString statusText() const;

    // Refresh of the main window from the show.
    void ReturnPageControlAll() override;
    void ReturnDataSystem() override;
    void SetColorAll();

    // Show file commands.
    void NewItemClick();
    void OpenItemClick();
    void SaveItemClick();
    void SaveAsItemClick();
    bool BlocOpenFile();
    void SaveFile();
    // What became of a save: the dialog may be cancelled, the write may fail.
    enum class SaveOutcome { Cancelled, Saved, Failed };
    SaveOutcome SaveFileAs();
    void ClearAll();
    void TimerAvtoSaveTimer();
    // The image every save writes: the show as the operator owns it, with
    // what an editor has borrowed put back.
    ShowMemory::Image showImageToSave() const;

    // File state.
    QString currentFileName() const;
    QString openFileName() const;
    void setOpenFileName(const QString& name);
    bool isNamed() const { return core_.named(); }
    QString captionPrefix() const { return captionPrefix_; }
    void setCaptionPrefix(const QString& prefix) override { captionPrefix_ = prefix.left(255); }

    // Pages register what they refresh from the show: a page refresher runs
    // when its page of PageControlInput is the visible one, a system
    // refresher on every refresh (caption, tempo, scene slider).
    void onPageRefresh(InputPage page, std::function<void()> refresh) override {
        pageRefreshers_[page].push_back(std::move(refresh));
    }
    void onSystemRefresh(std::function<void()> refresh) override {
        systemRefreshers_.push_back(std::move(refresh));
    }
    void on(Hook hook, std::function<void()> fn) override {
        hooks_[static_cast<int>(hook)].push_back(std::move(fn));
    }
    void run(Hook hook) override {
        for (const auto& fn : hooks_[static_cast<int>(hook)]) fn();
    }
    GraphZoomSetting graphZoom() const override { return graphZoom_; }
    void setGraphZoom(GraphZoomSetting zoom) override { graphZoom_ = zoom; }
    QTabWidget* inputPages() const override { return PageControlInput; }
    QWidget* inputPage(InputPage page) const override;

    QWidget* slot(Slot s) const override;
    QTabWidget* sceneTabs() const override { return PageControlTemp; }
    QTabWidget* settingsTabs() const override { return PageControlUst; }
    QMenu* editMenu() const override { return EditItem; }
    QMenu* setupMenu() const override { return SetupItem; }
    QMenu* optionsMenu() const override { return OptionsMenu; }
    // Adds a scene command button to the tool bar, after the file commands.
    void addSceneToolButton(QToolButton* button) override;
    void registerUndoButton(int index, QToolButton* button) override { undoButtons_[index] = button; }

    // The conveyor's twenty show files (slot 1..20; empty = free), kept in
    // the settings file, and the conveyor group that plays them.
    QString konveyorPath(int slot) const override;
    void setKonveyorPath(int slot, const QString& path) override;
    KonveyrGroup& konveyr() override { return *konveyr_; }

    // The auto-add switch of the scene list (menu "Опции").
    bool autoAddScenes() const override { return autoAddScenes_; }
    void setAutoAddScenes(bool on) override { autoAddScenes_ = on; }

    // The blackout hot key: inverts the blackout check box and stops the show.
    void toggleBlackoutFromKey();

    // What the show clock shows of the interface once a second: offline
    // mode, whether the interface is open, and its last error text.
    InterfaceState interfaceState() const override;

    // Undo buttons of the four editor pages.
    void setUndoEnabled(bool enabled) override;

    void AboutItemClick();
    void HelpItemClick();
    void ExitItemClick();

    // The manual scanner, static pictures and 3D windows.
    SideWindows& sideWindows() { return *side_; }

    // The live output: tick, interface driver and their controls.
    OutputControls& output() override { return *output_; }

    // Colours and pictures of the channels (kept in the colour file).
    io::ChannelColors& channelColors() override { return colors_; }

    // What pages ask of the window (PageHost).
    QWidget* widget() override { return this; }
    void showSteadyStatus(const QString& text) override;
    int sceneSliderPosition() const override;
    void keysOffForTyping() override;
    void windowColor(int& red, int& green, int& blue) const override;
    QScrollBar* wheelSlider(InputPage page) const override;
    void showInterfaceListing(const QString& count, const QString& description,
                              const QString& serial) override;
    void sceneSnapshotTaken() override;
    QWidget* nameCopyPlace() const override;
    void crossfadeOff() override;
    void setPlayAllowed(bool allowed) override;
    TStaticForm& staticPicturesWindow() override;
    Tform3Dlumi& view3dWindow() override;

    // Quits without asking anything (on a termination signal): the show is
    // kept in the autosave file instead of offering the save dialog.
    void shutdownQuietly();
    bool isQuitting() const override { return quietShutdown_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    // Tightens the layout on a short screen and keeps every window on its
    // screen.
    void fitToScreen(QWidget* central);
    void buildMenus();
    void buildToolBar();
    void buildSceneGroup(QGroupBox* box);
    void buildSettingsGroup(QGroupBox* box);
    void buildInputPages();
    void buildOptionsPage(QWidget* page);
    void buildStatusBar();
    void startRemoteControl();
    void showRemoteWhere(const QString& where);
    // What the remote takes from the window beside the core.
    void lendRemote(remote::CoreRemote& remote);
    // What the window lends the remote changed (the status line, the
    // beat, the interface, a refresh): the remote's pages follow it.
    void tellRemote();

    void FormClose();
    void startInterface();
    void stopInterface();
    void startRealTimeTick();
    void stopRealTimeTick();
    QString interfaceStatusText() const;
    void startSoundInput();
    void reportError(const QString& text);
    void setCaption(const QString& name);
    void fillDiskLabels();
    void installManual();
    void reopenLastShow();
    void loadColorsAtStart();
    void applyWindowColor(bool on, int r, int g, int b);
    void ReadIniFile();
    void WriteIniFile();
    // The section of the beat settings: read into the tab "Звук" and the
    // chase generators, and the values to write back.
    void readBeatSettings(const std::array<std::string, 5>& ritm);
    std::array<std::string, 5> beatSettingsToWrite() const;
    void LoadColorEdit(const QString& path);
    void SaveColorEdit(const QString& path);

    ConsoleCore core_;
    Console& console_ = core_.console();
    Options options_;
    io::DataFolder folder_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<SideWindows> side_;
    // scene list and patch
    SceneCommands* sceneCommands_ = nullptr;
    CopyPage* copyPage_ = nullptr;
    PatchPage* patchPage_ = nullptr;
    OutputControls* output_ = nullptr;
    // playback and faders
    SequencerPage* sequencerPage_ = nullptr;
    KeyControl* keyControl_ = nullptr;
    FaderPage* faderPage_ = nullptr;
    KonveyrGroup* konveyr_ = nullptr;
    // chase generators and static pictures
    AvtomatPage* avtomatPage_ = nullptr;
    StaticEditMode* staticEditMode_ = nullptr;
    // names, colours and the channel graph
    NamePage* namePage_ = nullptr;
    GraphPage* graphPage_ = nullptr;
    // beam editor
    BeamPage* beamPage_ = nullptr;
    // sound
    SoundPage* soundPage_ = nullptr;
    // 3D viewer
    DevicePlacement* devicePlacement_ = nullptr;

    void coreChanged(const CoreEvent& event);

    QString captionPrefix_ = QStringLiteral(" Initalization ");
    bool closing_ = false;
    bool quietShutdown_ = false;
    bool beatInFile_ = false;  // the settings file had the beat section
    bool created_ = false;
    // FormCreate(AfterShow) left steps to FormShown that have not run yet.
    bool shownStepsPending_ = false;
    io::ChannelColors colors_;

    std::array<std::vector<std::function<void()>>, 7> pageRefreshers_;
    std::vector<std::function<void()>> systemRefreshers_;
    std::array<std::vector<std::function<void()>>, static_cast<int>(Hook::Count)> hooks_;
    GraphZoomSetting graphZoom_ = clearedGraphZoom();

    // Regions.
    QTabWidget* PageControlTemp = nullptr;
    QTabWidget* PageControlUst = nullptr;
    QTabWidget* PageControlInput = nullptr;
    QLabel* statusPanel_ = nullptr;
    QMenu* EditItem = nullptr;
    QMenu* SetupItem = nullptr;
    QMenu* OptionsMenu = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* sceneToolAnchor_ = nullptr;
    QGroupBox* conveyorBox_ = nullptr;
    std::array<QToolButton*, 4> undoButtons_{};
    std::array<QWidget*, static_cast<int>(Slot::Count)> slots_{};
    QGroupBox* usbBox_ = nullptr;  // Slot::OptionsInterface
    bool autoAddScenes_ = false;

    // Options page.
    QLabel* LabelKolvoUSB = nullptr;
    QLabel* LabelTipFtdi = nullptr;
    QLabel* LabelUSBnomber = nullptr;
    QLabel* LabelDiskFree = nullptr;
    QLabel* LabelDiskSize = nullptr;
    QGroupBox* GroupBoxColor = nullptr;
    QScrollBar* ScrollBarRed = nullptr;
    QScrollBar* ScrollBarGreen = nullptr;
    QScrollBar* ScrollBarBlue = nullptr;
    QCheckBox* CheckBoxColorZamok = nullptr;
    QCheckBox* CheckBoxColorAvto = nullptr;

    std::unique_ptr<remote::CoreRemote> remoteConsole_;
    std::unique_ptr<remote::RemoteHub> remote_;
    bool playAllowed_ = true;
    QString remoteWhere_;
    QLabel* LabelRemote = nullptr;         // status bar, right
    QLabel* LabelRemoteOptions = nullptr;  // options page

    QTextBrowser* helpWindow_ = nullptr;
    QTimer* TimerStatus = nullptr;
    QTimer* TimerAvtoSave = nullptr;
};

}  // namespace lumetra::ui
