#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "show/SceneList.h"

class QAction;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class PageHost;

// The scene-list commands of the main window: the "Сцены" menu, their tool
// bar buttons, the scene buttons of the sequencer page, the auto-add switch
// and the four memory/undo pairs of the editor pages. The show work is done
// by the engine; this class turns its outcome into status texts, enabled
// states and the page refresh.
class SceneCommands : public QObject {
    Q_OBJECT

  public:
    explicit SceneCommands(PageHost& form);

    // The memory/undo pair of an editor page (index 0: faders, 1: channel
    // graph, 2: beam editor, 3: block copies), laid out side by side in a
    // widget of its own. The copy page places pair 3 itself.
    QWidget* undoPair(int index) const { return undoPairs_[index]; }

    // Click handlers, also called by the menu items and shortcuts.
    void InsertScenaItemClick();
    void DeleteScenaItemClick();
    void ClearScenaItemClick();
    void CopyPredScenaClick();
    void CopyToBufferItemClick();
    void SpeedButtonNewScenaPasteClick();
    void PasteFromBufferItemClick();
    void AvtoDobScenaItemClick(bool on);
    void SpeedButtonMemClick();
    void SpeedButtonUndo1Click();

    // Status and undo buttons after an undo copy was taken; also used by the
    // block copies of the copy page.
    void snapshotTaken();

  private:
    void buildMenu();
    void buildToolButtons();
    void buildSequencerButtons();
    void buildUndoPairs();
    std::array<QAction*, 7> menuItems() const;
    void ModePlay();
    void ModeStop();
    // Status and refresh after one of the engine's scene commands.
    void finish(SceneCommand result);

    PageHost& form_;

    // Menu "Сцены", in menu order.
    QAction* CopyPredScena = nullptr;
    QAction* CopyToBufferItem = nullptr;
    QAction* NewPasteItem = nullptr;
    QAction* PasteFromBufferItem = nullptr;
    QAction* ClearScenaItem = nullptr;
    QAction* DeleteScenaItem = nullptr;
    QAction* InsertScenaItem = nullptr;
    QAction* AvtoDobScenaItem = nullptr;
    // Enabled states of the menu items kept over a playback.
    std::array<bool, 7> menuStateBeforePlay_{};
    bool playing_ = false;

    QToolButton* SpeedButtonAVTOPLUS = nullptr;

    // Sequencer page.
    QToolButton* SpeedButtonNewScena = nullptr;
    QToolButton* SpeedButtonScenaCopy = nullptr;
    QToolButton* SpeedButtonNewScenaPaste = nullptr;
    QToolButton* ButtonScenaPaste = nullptr;
    QToolButton* SpeedButtonScenaDelete = nullptr;

    std::array<QWidget*, 4> undoPairs_{};
};

}  // namespace lumetra::ui
