#include "playback/KeyControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <string_view>

#include "host/SteadyText.h"
#include "host/PageHost.h"
#include "playback/KonveyrGroup.h"
#include "playback/SequencerPage.h"

namespace lumetra::ui {

namespace {

constexpr int kKeyCtrl = 17;
constexpr int kKeySpace = 32;
constexpr int kKeyZero = 48;
// Conveyor slots 1..19, in the order of the top two letter rows.
constexpr char kKonveyrLetters[] = "QWERTYUIOPASDFGHJKL";
constexpr int kKeyPlus = 187;
constexpr int kKeyMinus = 189;
constexpr int kKeyTap = 192;  // the key left of 1 ("Ё"), free of every other use

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

// The physical keys of a PC keyboard as X11 numbers them (evdev), for the
// keys whose code must not depend on the layout or on Shift: the digits
// (Shift+1 is '!'), the letters (a Russian layout gives Cyrillic letters on
// the same keys) and the plus and minus keys.
int x11KeyCode(quint32 scan) {
    static constexpr char kRowQ[] = "QWERTYUIOP";  // 24..33
    static constexpr char kRowA[] = "ASDFGHJKL";   // 38..46
    static constexpr char kRowZ[] = "ZXCVBNM";     // 52..58
    if (scan >= 10 && scan <= 18) return '1' + static_cast<int>(scan - 10);
    if (scan == 19) return '0';
    if (scan == 20) return kKeyMinus;
    if (scan == 21) return kKeyPlus;
    if (scan >= 24 && scan <= 33) return kRowQ[scan - 24];
    if (scan >= 38 && scan <= 46) return kRowA[scan - 38];
    if (scan >= 52 && scan <= 58) return kRowZ[scan - 52];
    if (scan == 65) return kKeySpace;
    if (scan == 37 || scan == 105) return kKeyCtrl;
    return -1;
}

int consoleKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (x11 && event.nativeScanCode() != 0 && !(event.modifiers() & Qt::KeypadModifier)) {
        const int code = x11KeyCode(event.nativeScanCode());
        if (code >= 0) return code;
    }
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

// Whether a key combination is the shortcut of a command of the window
// (only of an enabled one when asked).
static bool menuShortcut(const QWidget& window, const QKeySequence& pressed, bool enabledOnly) {
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (enabledOnly && !action->isEnabled()) continue;
        if (action->shortcutContext() == Qt::WidgetShortcut) continue;
        if (action->shortcuts().contains(pressed)) return true;
    }
    return false;
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
    // Kept from the control, the event stays unaccepted and the window's
    // shortcut runs the menu command.
    return menuShortcut(window_, pressed, true);
}

KeyControl::KeyControl(PageHost& form, SequencerPage& sequencer, QWidget* area)
    : QObject(form.widget()), form_(form), sequencer_(sequencer) {
    setObjectName("KeyControl");
    new MenuShortcutsFirst(*form.widget());
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
    qApp->installEventFilter(this);
}

KeyControl::~KeyControl() {
    qApp->removeEventFilter(this);
}

void KeyControl::CheckBoxFlashOnClick(bool on) {
    previewOn_ = on;
}

bool KeyControl::firstSight(const QEvent* event, QWidget* widget, Sighting& last) {
    // The same event travels up the parents of the focused widget: seen
    // again at an ancestor of the widget it was first seen at, it is the
    // same press. A new event may reuse the address of the last one, so the
    // address alone does not tell.
    if (event == last.event && last.widget && widget != last.widget &&
        widget->isAncestorOf(last.widget))
        return false;
    last.event = event;
    last.widget = widget;
    return true;
}

bool KeyControl::isMenuShortcut(const QKeyEvent& key) const {
    if (!(key.modifiers() & Qt::ControlModifier) || key.key() == Qt::Key_Control) return false;
    return menuShortcut(*form_.widget(), QKeySequence(key.keyCombination()), false);
}

bool KeyControl::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::Wheel)
        return false;
    // Only widgets of the main window count: keys typed into a dialog or
    // another window stay theirs.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != form_.widget()) return false;

    if (type == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        FormMouseWheel(wheel->angleDelta().y());
        return true;  // no slider under the pointer moves by itself
    }
    if (!previewOn_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // A Ctrl combination that is a menu shortcut runs only the menu command.
    if (isMenuShortcut(*key)) return false;
    if (type == QEvent::KeyPress) {
        if (firstSight(event, widget, press_)) FormKeyDown(consoleKeyCode(*key));
    } else if (!key->isAutoRepeat()) {
        // The window system ends every auto-repeat with a release of its
        // own; only the real release counts.
        if (firstSight(event, widget, release_)) FormKeyUp(consoleKeyCode(*key));
    }
    // The focused control gets the key as well.
    return false;
}

int KeyControl::pictureIndex(int code) {
    // The pictures in their order: 1..8, the space bar, Z X C V B N M.
    if (code >= '1' && code <= '8') return code - '1';
    if (code == kKeySpace) return 8;
    if (code <= 0 || code >= 128) return -1;
    const auto at = std::string_view("ZXCVBNM").find(static_cast<char>(code));
    return at == std::string_view::npos ? -1 : 9 + static_cast<int>(at);
}

void KeyControl::FormKeyDown(int code) {
    // Every press counts, the window system's auto-repeat of a held key
    // included: holding 0 keeps switching blackout, as operators know it.
    setSteadyText(LabelKeySp, QStringLiteral("NomberKey is ") + QString::number(code));
    if (code == kKeyCtrl) {
        ctrl_ = true;
    } else if (code == kKeyZero) {
        form_.core().toggleBlackout();
    } else if (code == kKeyPlus) {
        form_.core().stop();
    } else if (code == kKeyMinus) {
        form_.core().play();
    } else if (code == kKeyTap) {
        emit tapKey();
    } else if (pictureIndex(code) >= 0) {
        form_.core().setPicture(pictureIndex(code), true);
    }
    KonveyrGroup& konveyr = form_.konveyr();
    if (!konveyr.keysOn()) return;
    const int slot =
        static_cast<int>(std::string_view(kKonveyrLetters).find(static_cast<char>(code)));
    if (code > 0 && code < 128 && slot >= 0) konveyr.SpeedButtonJob(slot + 1, true);
}

void KeyControl::FormKeyUp(int code) {
    if (!ctrl_ && pictureIndex(code) >= 0) form_.core().setPicture(pictureIndex(code), false);
    if (code == kKeyCtrl) ctrl_ = false;
}

void KeyControl::FormMouseWheel(int delta) {
    const auto page = static_cast<PageHost::InputPage>(form_.inputPages()->currentIndex());
    // The group level of the faders jumps to its ends on a fast turn.
    const bool jumps = page == PageHost::PageFaders;
    QScrollBar* bar = form_.wheelSlider(page);
    if (!bar || delta == 0) return;
    // setValue clamps to the range and runs the slider's change handler.
    bar->setValue(bar->value() + (delta > 0 ? 1 : -1));
    if (jumps && delta > 250) bar->setValue(bar->maximum());
    if (jumps && delta < -250) bar->setValue(bar->minimum());
}

void KeyControl::keysOff() {
    CheckBoxFlashOn->setChecked(false);
}

}  // namespace lumetra::ui
