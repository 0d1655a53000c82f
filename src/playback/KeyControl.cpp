#include "playback/KeyControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QWidget>

#include "app/TBaseForm.h"
#include "playback/SequencerPage.h"

namespace lumetra::ui {

namespace {

constexpr int kKeyZero = 48;
constexpr int kKeyPlus = 187;
constexpr int kKeyMinus = 189;

int keypadCode(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return 110;
        case Qt::Key_Slash:
            return 111;
        case Qt::Key_Enter:
            return 13;
        default:
            return -1;
    }
}

}  // namespace

int consoleKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        const int code = keypadCode(key);
        if (code >= 0) return code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return kKeyPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return kKeyMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 222;
        default:
            return key & 0xffff;
    }
}

MenuShortcutsFirst::MenuShortcutsFirst(QWidget& window) : QObject(&window), window_(window) {
    qApp->installEventFilter(this);
}

MenuShortcutsFirst::~MenuShortcutsFirst() {
    qApp->removeEventFilter(this);
}

bool MenuShortcutsFirst::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : window_.findChildren<QAction*>()) {
        if (!action->isEnabled() || action->shortcutContext() == Qt::WidgetShortcut) continue;
        // Kept from the control, the event stays unaccepted and the window's
        // shortcut runs the menu command.
        if (action->shortcuts().contains(pressed)) return true;
    }
    return false;
}

KeyControl::KeyControl(TBaseForm& form, SequencerPage& sequencer, QWidget* area)
    : QObject(&form), form_(form), sequencer_(sequencer) {
    setObjectName("KeyControl");
    new MenuShortcutsFirst(form);
    CheckBoxFlashOn = new QCheckBox("Включить клавиатуру", area);
    CheckBoxFlashOn->setObjectName("CheckBoxFlashOn");
    CheckBoxFlashOn->setToolTip("Включить / Выключить флэш - кнопки клавиатуры");
    LabelKeySp = new QLabel("Клавиатура ?", area);
    LabelKeySp->setObjectName("LabelKeySp");
    if (QLayout* layout = area->layout()) {
        layout->addWidget(CheckBoxFlashOn);
        layout->addWidget(LabelKeySp);
    }
    // Also an uncheck made by another control (typing a channel name)
    // switches the preview off.
    connect(CheckBoxFlashOn, &QCheckBox::toggled, this, &KeyControl::CheckBoxFlashOnClick);
    CheckBoxFlashOn->setChecked(true);
}

KeyControl::~KeyControl() {
    if (installed_) qApp->removeEventFilter(this);
}

void KeyControl::CheckBoxFlashOnClick(bool on) {
    if (on == installed_) return;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    installed_ = on;
}

bool KeyControl::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease) {
        currentPress_ = nullptr;
        return false;
    }
    if (type != QEvent::KeyPress) return false;
    // The window system hands the press to the window first and then to the
    // focused widget; only widgets of the main window count, so keys typed
    // into a dialog or another window stay theirs.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &form_) return false;
    // The same press travels up the parents of the focused widget.
    if (event == currentPress_) return false;
    currentPress_ = event;
    // A new press may reuse the address of the last one; once the event
    // loop turns, the last press has finished its way.
    QTimer::singleShot(0, this, [this, event] {
        if (currentPress_ == event) currentPress_ = nullptr;
    });
    const auto* key = static_cast<QKeyEvent*>(event);
    FormKeyDown(consoleKeyCode(*key));
    // The focused control gets the key as well.
    return false;
}

void KeyControl::FormKeyDown(int code) {
    // Every press counts, the window system's auto-repeat of a held key
    // included: holding 0 keeps switching blackout, as operators know it.
    LabelKeySp->setText(QStringLiteral("NomberKey is ") + QString::number(code));
    switch (code) {
        case kKeyZero:
            form_.toggleBlackoutFromKey();
            form_.console().showRunning.set(0);
            break;
        case kKeyPlus:
            sequencer_.ModeStop();
            break;
        case kKeyMinus:
            sequencer_.ModePlay();
            break;
        default:
            break;
    }
}

}  // namespace lumetra::ui
