#pragma once

#include <QString>
#include <functional>

#include "core/Console.h"
#include "core/ConsoleCore.h"
#include "core/DataFolder.h"
#include "core/Options.h"
#include "core/ShowClock.h"
#include "host/Dialogs.h"
#include "show/ColorEditFile.h"
#include "show/ShowReset.h"

class QMenu;
class QScrollBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class KonveyrGroup;
class OutputControls;
class TStaticForm;
class Tform3Dlumi;

// What a page of the main window may ask of the window that holds it: the
// console, the status line, the refresh after a change, the dialogs, and
// the places where a page lays out its controls. A page talks to another
// page only through the console or through an operation named here, never
// by finding the other page's widgets.
class PageHost {
  public:
    // Pages of PageControlInput, in order.
    enum InputPage {
        PageFaders = 0,
        PageGraph,
        PageBeam,
        PageCopy,
        PageAvtomats,
        PageOptions,
        PagePatch
    };

    // Window work that other rooms attach to the frame's fixed operations:
    // clearing the show (check boxes, bank slider), showing the channel
    // names, painting the name fields, showing the patch table.
    enum class Hook {
        ClearAll,
        ReturnName,
        UpdateColorEditAll,
        UpDateDmxCoder,
        ModePlay,    // playback started (scene editing controls go off)
        ModeStop,    // playback stopped
        ShowLoaded,  // a show file replaced the show
        Count
    };

    // Places on the window where one room lays out controls that another
    // room's page shows. Each is an empty widget until its owner fills it.
    enum class Slot {
        SequencerSceneButtons,  // scene list buttons on the sequencer page
        FaderOutputButtons,     // normal / blackout / macro buttons on the fader page
        FaderUndo,              // memory and undo pair of the fader page
        RateMode,               // crossfade mode group on "Плавность"
        RateGroup,              // group rate slider on "Плавность"
        LevelsOutput,           // blackout and manual control on "Уровни"
        LevelsFaders,           // group level slider on "Уровни"
        OptionsInterface,       // the interface group on "Опции"
        Count
    };

    virtual ~PageHost() = default;

    // The window itself: the parent of a page's dialogs.
    virtual QWidget* widget() = 0;

    // The console's live state and operations, and what the window keeps
    // beside them.
    virtual ConsoleCore& core() = 0;
    virtual Console& console() = 0;
    virtual const Options& options() const = 0;
    virtual const io::DataFolder& folder() const = 0;
    virtual io::ChannelColors& channelColors() = 0;
    virtual Dialogs& dialogs() = 0;
    virtual OutputControls& output() = 0;
    virtual KonveyrGroup& konveyr() = 0;
    virtual InterfaceState interfaceState() const = 0;

    // Status line: a message stays for 2,000 ms.
    virtual void OutStatus(const QString& text) = 0;
    // The steady text of the status panel (the interface's state), never
    // over a message still within its two seconds.
    virtual void showSteadyStatus(const QString& text) = 0;

    // Refresh of the window from the show, and what the pages attach to it:
    // a page refresher runs when its page is the visible one, a system
    // refresher on every refresh.
    virtual void ReturnPageControlAll() = 0;
    virtual void ReturnDataSystem() = 0;
    virtual void onPageRefresh(InputPage page, std::function<void()> refresh) = 0;
    virtual void onSystemRefresh(std::function<void()> refresh) = 0;
    virtual void on(Hook hook, std::function<void()> fn) = 0;
    virtual void run(Hook hook) = 0;

    // Where pages lay out their controls.
    virtual QTabWidget* inputPages() const = 0;
    virtual QWidget* inputPage(InputPage page) const = 0;
    virtual QWidget* slot(Slot s) const = 0;
    virtual QTabWidget* sceneTabs() const = 0;
    virtual QTabWidget* settingsTabs() const = 0;
    virtual QMenu* editMenu() const = 0;
    virtual QMenu* setupMenu() const = 0;
    virtual QMenu* optionsMenu() const = 0;
    virtual void addSceneToolButton(QToolButton* button) = 0;
    virtual void registerUndoButton(int index, QToolButton* button) = 0;
    virtual void setUndoEnabled(bool enabled) = 0;

    // Operations one page offers the others.
    // The scene the scene slider stands on.
    virtual int sceneSliderPosition() const = 0;
    // Typing text: the hot keys and the conveyor's letters go off.
    virtual void keysOffForTyping() = 0;
    // The window colour sliders of "Опции" (red, green, blue).
    virtual void windowColor(int& red, int& green, int& blue) const = 0;
    // The slider of `page` that the mouse wheel and the arrow keys move
    // (fader group level, graph channel, beam channel), or none.
    virtual QScrollBar* wheelSlider(InputPage page) const = 0;
    // The listing of the interfaces on "Опции".
    virtual void showInterfaceListing(const QString& count, const QString& description,
                                      const QString& serial) = 0;
    // The frame of the scene list: a copy of names is a change it can undo.
    virtual void sceneSnapshotTaken() = 0;
    // The group on "Копирование" where the copy of names lays out its fields.
    virtual QWidget* nameCopyPlace() const = 0;
    // The crossfade mode "без плавности" (the output follows at once).
    virtual void crossfadeOff() = 0;
    // Whether the sequencer's Play may be pressed (not while the static
    // pictures are edited).
    virtual void setPlayAllowed(bool allowed) = 0;

    // File state and window settings kept by the frame.
    virtual QString konveyorPath(int slot) const = 0;
    virtual void setKonveyorPath(int slot, const QString& path) = 0;
    virtual void setCaptionPrefix(const QString& prefix) = 0;
    virtual bool autoAddScenes() const = 0;
    virtual void setAutoAddScenes(bool on) = 0;
    virtual GraphZoomSetting graphZoom() const = 0;
    virtual void setGraphZoom(GraphZoomSetting zoom) = 0;
    virtual bool isQuitting() const = 0;

    // The side windows.
    virtual TStaticForm& staticPicturesWindow() = 0;
    virtual Tform3Dlumi& view3dWindow() = 0;
};

}  // namespace lumetra::ui
