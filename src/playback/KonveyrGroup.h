#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "core/ConsoleCore.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QToolButton;

namespace lumetra::ui {

class SequencerPage;
class PageHost;

// The conveyor group "Конвейр потоков Шоу ": twenty slot buttons bound to
// show files, the four mode buttons, the clear button and the switch of
// the letter keys. The paths themselves are the frame's (the settings file
// reads and writes them). The slots, the mode and the position are the
// console core's; the buttons show them.
class KonveyrGroup : public QObject {
    Q_OBJECT

  public:
    KonveyrGroup(PageHost& form, SequencerPage& sequencer, QGroupBox* box);

    // The conveyor's letter keys go off (typing a name).
    void keysOff();

    // Start-up captions from the paths of the settings file (8 characters).
    void labelFromSettings();

    // A click on slot button n (1..20) or its letter key.
    void SpeedButtonJob(int n, bool fromKey);
    // One step of the automatic conveyor; also run by the sequencer at the
    // wrap of the show while an automatic mode is on.
    void KonveyrJob();
    void ManualLoad();
    void KonveyrButtonOff();
    void SpeedButtonKonvNewClick();
    // Right click on slot n: a file is bound to it without loading it.
    void assign(int n);

    bool automaticMode() const;
    bool manualMode() const;
    bool keysOn() const;
    // Slot n's caption (1..20), as its button shows it.
    QString caption(int n) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setBound(int n, bool bound);
    void coreChanged(const lumetra::CoreEvent& event);

    PageHost& form_;
    SequencerPage& sequencer_;
    lumetra::ConsoleCore& core_;
    std::array<QToolButton*, lumetra::Konveyr::kSlots> buttons_{};
    QToolButton* SpeedButtonKonvHand = nullptr;
    QToolButton* SpeedButtonKonvSpis = nullptr;
    QToolButton* SpeedButtonKonvSpisBegin = nullptr;
    QToolButton* SpeedButtonKonvOff = nullptr;
    QToolButton* SpeedButtonKonvNew = nullptr;
    QButtonGroup* modes_ = nullptr;
    QLabel* LabelKonveyr = nullptr;
    QCheckBox* CheckBoxKeyKonveyr = nullptr;
};

}  // namespace lumetra::ui
