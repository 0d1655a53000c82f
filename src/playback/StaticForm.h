#pragma once

#include <QObject>
#include <QWidget>
#include <array>

#include "playback/StaticPictures.h"

class QAction;
class QButtonGroup;
class QLabel;
class QScrollBar;
class QToolButton;

namespace lumetra::ui {

class FaderPage;
class StaticEditMode;
class PageHost;

// The static pictures editor window "Статические картинки": read and write
// buttons for the sixteen pictures, the scene selector and the deletes. It
// has no faders of its own: the main window's faders and "Выбор" boxes edit
// the surface that the edit mode has borrowed. It is created hidden at
// start and works once the main window's edit mode has attached it.
class TStaticForm : public QWidget {
    Q_OBJECT

  public:
    TStaticForm();

    void attach(StaticEditMode& mode) { mode_ = &mode; }
    // Shown beside the main window, never blocking it; the undo of an
    // earlier session is gone.
    void openEditor();

    // Handlers, public so that a test can drive them like clicks.
    void ReadChaser(int picture);
    void SaveChaser(int picture);
    void ScrollBar1Change(int position);
    void SpeedButtonDel1Click();
    void SpeedButtonDelAllClick();
    void SpeedButtonUndoStClick();
    // The undo copy belongs to another show once a show is loaded or cleared.
    void forgetUndo();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the editor as it closes any dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormClose();
    void releaseButtons();
    void refreshSurface();
    // Both deletes: ask, keep the undo copy, erase, show the empty surface.
    void deleteAfterQuestion(const QString& question,
                             void (lumetra::StaticPictureEditor::*erase)());

    StaticEditMode* mode_ = nullptr;
    QButtonGroup* buttons_ = nullptr;
    std::array<QToolButton*, 2> released_{};  // the two invisible buttons of the group
    QScrollBar* ScrollBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* SpeedButtonDel1 = nullptr;
    QToolButton* SpeedButtonDelAll = nullptr;
    QToolButton* SpeedButtonUndoSt = nullptr;
};

// The main window's half of the editor: the menu item and the tool button
// that enter edit mode (ChaserItemClick), giving everything back when the
// window closes, and the show image a save writes meanwhile.
class StaticEditMode : public QObject {
    Q_OBJECT

  public:
    StaticEditMode(PageHost& form, FaderPage& faders);

    void ChaserItemClick();
    // FormClose of the editor window.
    void leave();
    bool editing() const { return editor_.editing(); }
    lumetra::StaticPictureEditor& editor() { return editor_; }
    PageHost& form() { return form_; }

    // The fader page's check boxes into the selection flags, and the page
    // back from the show after the surface changed.
    void CheckBoxToMemory();
    void refreshSurface();

    // While editing, the borrowed scene 0, rates, current scene and
    // selection go into the image instead of the surface.
    void imageToSave(lumetra::ShowMemory::Image& image) const { editor_.imageToSave(image); }

  private:
    void showReplaced();
    void setPlayButtonVisible(bool visible);

    PageHost& form_;
    FaderPage& faders_;
    lumetra::StaticPictureEditor editor_;
    QAction* ChaserItem = nullptr;
    QToolButton* SpeedButtonRECORD = nullptr;
};

}  // namespace lumetra::ui
