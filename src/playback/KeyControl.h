#pragma once

#include <QObject>
#include <QPointer>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QWidget;

namespace lumetra::ui {

class SequencerPage;
class PageHost;

// Windows-style code of a key as the console shows and uses it: letters are
// their capitals, the main keyboard's digits 48..57, its minus key 189 and
// its plus key (= and +) 187; keypad keys have codes of their own.
int consoleKeyCode(const QKeyEvent& event);

// Menu shortcuts of the main window act before the focused control: a spin
// box or a text field would otherwise take Ctrl+C, Ctrl+V or Ctrl+Ins for
// itself. Installed on the application for the console's whole life.
class MenuShortcutsFirst : public QObject {
    Q_OBJECT
  public:
    explicit MenuShortcutsFirst(QWidget& window);
    ~MenuShortcutsFirst() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
};

// The hot keys and the wheel of the main window (FormKeyDown, FormKeyUp,
// FormMouseWheel). One application event filter sees every key and wheel
// event meant for the main window before the control under the focus or
// the pointer does. Keys act only while "Включить клавиатуру" is ticked
// (key preview) and the focused control still gets them; the wheel always
// acts by the visible page's table and no slider takes it for itself.
class KeyControl : public QObject {
    Q_OBJECT

  public:
    // Places its check box and key label into `area`.
    KeyControl(PageHost& form, SequencerPage& sequencer, QWidget* area);

    // The hot keys go off (typing a name).
    void keysOff();
    ~KeyControl() override;

    bool previewOn() const { return previewOn_; }

  signals:
    // The tap-tempo key (the key left of 1, "Ё") was pressed.
    void tapKey();

  public:
    // One key press or auto-repeat (code as consoleKeyCode gives it), and one
    // release.
    void FormKeyDown(int code);
    void FormKeyUp(int code);
    // One wheel movement: a multiple of 120 per notch, positive away from
    // the operator.
    void FormMouseWheel(int delta);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CheckBoxFlashOnClick(bool on);
    // The static picture (0..15) of a key, or -1.
    static int pictureIndex(int code);
    bool isMenuShortcut(const QKeyEvent& key) const;
    struct Sighting {
        const QEvent* event = nullptr;
        QPointer<QWidget> widget;
    };
    bool firstSight(const QEvent* event, QWidget* widget, Sighting& last);

    PageHost& form_;
    SequencerPage& sequencer_;
    QCheckBox* CheckBoxFlashOn = nullptr;
    QLabel* LabelKeySp = nullptr;
    bool previewOn_ = false;
    bool ctrl_ = false;  // Ctrl held: picture keys latch
    // The key event being handled: one event reaches the filter once for
    // every widget it passes on its way up; it is acted on at the first.
    Sighting press_;
    Sighting release_;
};

}  // namespace lumetra::ui
