#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

#include "remote/RemoteConsole.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;

namespace lumetra::remote {
class RemoteHub;
}

namespace lumetra::ui {

class TBaseForm;

// The remote's view of the console, bound to the main window: it reads the
// state from the console and the window's controls, and carries out an
// operation as the operator's click on the same control would (so that
// every handler, mirror and hook runs exactly as for a click). The window
// has no change notification of its own yet, so the state is compared
// every 50 ms and the remote is told when it differs.
class RemoteBinding : public QObject, public remote::RemoteConsole {
    Q_OBJECT
  public:
    explicit RemoteBinding(TBaseForm& form);
    ~RemoteBinding() override;

    remote::RemoteState state() const override;
    void apply(const remote::Command& command) override;

  private:
    void poll();

    TBaseForm& form_;
    QTimer* poll_ = nullptr;
    remote::RemoteState last_;
    // The controls, found once by name.
    QPointer<QAbstractButton> play_, stop_, macro_, normal_, tap_;
    QPointer<QCheckBox> blackout_, onSound_, offline_;
    QPointer<QAbstractButton> byBeat_;
    std::array<QPointer<QCheckBox>, remote::kPictureCount> pictures_;
    std::array<QPointer<QAbstractButton>, remote::kSlotCount> slots_;
    std::array<QPointer<QAbstractButton>, 4> modes_;
    std::array<QPointer<QScrollBar>, 27> faders_;
    QPointer<QScrollBar> tempo_, step_;
    QPointer<QLabel> tempoText_, konveyr_, beatTempo_, beatHold_, status_;
};

// Starts the remote the options ask for, bound to the window; nothing when
// none is asked for. Tells the operator on the status line (and stderr)
// where it can be reached, or why it could not start.
std::unique_ptr<remote::RemoteHub> startRemote(TBaseForm& form, RemoteBinding& binding,
                                               QString& where);

}  // namespace lumetra::ui
