#pragma once

#include <QObject>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QWidget;

namespace lumetra::ui {

class SequencerPage;
class TBaseForm;

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

// The hot keys of the main window. While "Включить клавиатуру" is ticked
// an application event filter sees every key meant for the main window
// before the focused control does (the control still gets it): minus plays,
// plus stops, 0 switches blackout and stops the show.
class KeyControl : public QObject {
    Q_OBJECT

  public:
    // Places its check box and key label into `area`.
    KeyControl(TBaseForm& form, SequencerPage& sequencer, QWidget* area);
    ~KeyControl() override;

    bool previewOn() const { return installed_; }

    // One key press meant for the main window.
    void FormKeyDown(int code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CheckBoxFlashOnClick(bool on);

    TBaseForm& form_;
    SequencerPage& sequencer_;
    QCheckBox* CheckBoxFlashOn = nullptr;
    QLabel* LabelKeySp = nullptr;
    bool installed_ = false;
    // The press being handled: one press reaches the filter once for every
    // widget it passes on its way up; it is acted on at the first.
    const QEvent* currentPress_ = nullptr;
};

}  // namespace lumetra::ui
