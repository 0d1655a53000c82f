#include "Walk.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <typeinfo>

#include "app/TBaseForm.h"
#include "output/OutputControls.h"
#include "show/PatchFile.h"
#include "show/PathBytes.h"
#include "show/ShowFile.h"

namespace lumetra::soak {

namespace {

using ui::pathToBytes;

// Controls the walk leaves alone: the two that end the program and the
// about box, which is modal by design.
bool excluded(const QObject* o) {
    static const QStringList names = {"ExitItem", "AboutItem", "SpeedButtonABOUT"};
    return names.contains(o->objectName());
}

std::string describe(const QWidget* w) {
    QString name = w->objectName();
    if (name.isEmpty()) {
        name = w->metaObject()->className();
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            name += " \"" + b->text() + "\"";
        for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (!p->objectName().isEmpty()) {
                name += " in " + p->objectName();
                break;
            }
    }
    return name.toStdString();
}

// Texts an operator might type into a name field: Latin, Cyrillic, blanks,
// digits, and longer than a name holds.
QString randomText(std::mt19937& rng) {
    // Whole characters, some of them outside Windows-1251 (a name keeps
    // only what that code page holds).
    static const QStringList pieces =
        QString::fromUtf8("a b c X Y Z 0 1 9 - _ А Б В г д е ж з Ё ё Я я . , ! \" ' € № 漢 é ß 🎵 ∑")
            .split(' ');
    const int n = std::uniform_int_distribution<int>(0, 24)(rng);
    QString text;
    for (int i = 0; i < n; ++i) {
        const int k = std::uniform_int_distribution<int>(0, pieces.size())(rng);
        text += k == pieces.size() ? QString(" ") : pieces[k];
    }
    return text;
}

// Types text as key events; QTest::keyClicks knows only ASCII.
void typeInto(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond the basic plane comes as one event of two halves.
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QChar up = text[i].toUpper();
        const Qt::Key key = up.unicode() < 128 ? Qt::Key(up.unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, w, key, text.mid(i, n), Qt::NoModifier);
        i += n - 1;
    }
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

}  // namespace

Walk::Walk(const WalkConfig& config)
    : config_(config), rng_(config.seed), files_(config.root, rng_) {
    wire_ = std::make_unique<WireWatch>(pathToBytes(files_.fifo()));
    // Anything modal that does not go through the console's dialogs would
    // stop the walk: it is closed and reported.
    auto* guard = new QTimer(qApp);
    QObject::connect(guard, &QTimer::timeout, [this] { closeStrayModals(); });
    guard->start(50);
}

Walk::~Walk() = default;

void Walk::closeStrayModals() {
    while (QWidget* modal = QApplication::activeModalWidget()) {
        ++modalsClosed_;
        if (strayModal_.isEmpty())
            strayModal_ =
                QString(modal->metaObject()->className()) + " \"" + modal->windowTitle() + "\"";
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }
}

void Walk::startConsole() {
    Options options;
    options.interface = "virtual:" + pathToBytes(files_.fifo());
    options.audio = "file:" + pathToBytes(files_.clicks());
    auto dialogs = std::make_unique<SoakDialogs>(rng_, [this](const QString& suffix, bool saving) {
        return files_.candidates(suffix, saving);
    });
    dialogs_ = dialogs.get();
    form_ = std::make_unique<ui::TBaseForm>(options, io::DataFolder(pathToBytes(files_.home())),
                                            std::move(dialogs));
    form_->FormCreate();
    form_->show();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get())) fail("the main window never became active");
    lastTicks_ = form_->output().cycle().tickCount();
    lastTickChange_ = Clock::now();
    offline_ = false;
    waitForOutput();
}

void Walk::waitForOutput() {
    // The interface opens at the first poll (one second): wait for packets
    // before the silence counts.
    const std::uint64_t before = wire_->frames();
    const Clock::time_point start = Clock::now();
    while (wire_->frames() < before + 2) {
        if (Clock::now() - start > std::chrono::seconds(15))
            fail("no packet within 15 s of start-up");
        QTest::qWait(20);
    }
    wire_->resume();
}

void Walk::stopConsole() {
    if (!form_) return;
    wire_->pause();
    if (offline_) offlineTotal_ += Clock::now() - offlineSince_;
    offline_ = false;
    if (const UsbDriver* driver = form_->output().driver()) {  // the soak runs the virtual one
        packetsSent_ += driver->packetsSent();
        writeFailures_ += driver->writeFailures();
        skippedBusy_ += driver->packetsSkippedBusy();
    }
    form_->close();  // the shutdown offers the save dialog: answered at random
    for (int n = 1; n <= 20; ++n) keptKonveyr_[n - 1] = form_->konveyorPath(n);
    keptLast_ = form_->currentFileName();
    form_.reset();
    dialogs_ = nullptr;
    QCoreApplication::processEvents();
}

QWidget* Walk::window() const {
    return form_.get();
}

template <typename T>
std::vector<T*> Walk::visible() const {
    std::vector<T*> out;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto* self = qobject_cast<T*>(top)) out.push_back(self);
        for (T* w : top->findChildren<T*>())
            if (w->isVisible() && w->isEnabled() && !excluded(w)) out.push_back(w);
    }
    return out;
}

bool Walk::trigger(const char* actionName) {
    auto* action = form_->findChild<QAction*>(actionName);
    if (!action || !action->isEnabled()) return false;
    action->trigger();
    return true;
}

ShowMemory::Image Walk::image() const {
    return form_->showImageToSave();
}

void Walk::compareFile(const QString& path, const ShowMemory::Image& want, const char* what) {
    const QByteArray bytes = readAll(path);
    if (bytes.size() < static_cast<qsizetype>(want.size()))
        fail(QString("%1: %2 holds %3 bytes").arg(what, path).arg(bytes.size()));
    if (!std::equal(want.begin(), want.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())))
        fail(QString("%1: %2 differs from the show").arg(what, path));
    ++exactChecks_;
}

// ---- the steps -------------------------------------------------------

std::string Walk::clickButton() {
    auto buttons = visible<QAbstractButton>();
    if (buttons.empty()) return switchTab();
    QAbstractButton* b =
        buttons[std::uniform_int_distribution<size_t>(0, buttons.size() - 1)(rng_)];
    const std::string what = describe(b);
    // One click in eight is a right click (the conveyor binds a file so).
    if (std::uniform_int_distribution<int>(0, 7)(rng_) == 0) {
        QTest::mouseClick(b, Qt::RightButton);
        return "right click " + what;
    }
    QTest::mouseClick(b, Qt::LeftButton, ctrlHeld_ ? Qt::ControlModifier : Qt::NoModifier);
    return "click " + what;
}

std::string Walk::moveSlider() {
    auto sliders = visible<QAbstractSlider>();
    if (sliders.empty()) return switchTab();
    QAbstractSlider* s =
        sliders[std::uniform_int_distribution<size_t>(0, sliders.size() - 1)(rng_)];
    const std::string what = describe(s);
    if (std::uniform_int_distribution<int>(0, 2)(rng_) == 0) {
        static const QAbstractSlider::SliderAction actions[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
            QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
        const auto a = actions[std::uniform_int_distribution<int>(0, 5)(rng_)];
        s->triggerAction(a);
        return "slider " + what + " action " + std::to_string(a);
    }
    const int v = std::uniform_int_distribution<int>(s->minimum(), s->maximum())(rng_);
    // Dragged like a hand does: press, moves, release.
    s->setSliderDown(true);
    s->setSliderPosition(v);
    s->setSliderDown(false);
    return "slider " + what + " = " + std::to_string(v);
}

std::string Walk::changeSpin() {
    auto spins = visible<QSpinBox>();
    if (spins.empty()) return switchTab();
    QSpinBox* s = spins[std::uniform_int_distribution<size_t>(0, spins.size() - 1)(rng_)];
    if (std::uniform_int_distribution<int>(0, 1)(rng_) == 0) {
        const int by = std::uniform_int_distribution<int>(-10, 10)(rng_);
        s->stepBy(by);
        return "spin " + describe(s) + " by " + std::to_string(by);
    }
    const int v = std::uniform_int_distribution<int>(s->minimum(), s->maximum())(rng_);
    s->setValue(v);
    return "spin " + describe(s) + " = " + std::to_string(v);
}

std::string Walk::typeText() {
    std::vector<QLineEdit*> edits;
    for (QLineEdit* e : visible<QLineEdit>())
        if (!e->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(e->parentWidget()))
            edits.push_back(e);
    if (edits.empty()) return switchTab();
    QLineEdit* e = edits[std::uniform_int_distribution<size_t>(0, edits.size() - 1)(rng_)];
    const QString text = randomText(rng_);
    e->setFocus(Qt::MouseFocusReason);
    e->selectAll();
    typeInto(e, text);
    // Leave the field with Enter or by focusing the window.
    if (std::uniform_int_distribution<int>(0, 1)(rng_) == 0)
        QTest::keyClick(e, Qt::Key_Return);
    else
        form_->setFocus(Qt::MouseFocusReason);
    return "type \"" + text.toStdString() + "\" into " + describe(e);
}

std::string Walk::switchTab() {
    auto tabs = visible<QTabWidget>();
    if (tabs.empty()) return "no tabs";
    QTabWidget* t = tabs[std::uniform_int_distribution<size_t>(0, tabs.size() - 1)(rng_)];
    const int i = std::uniform_int_distribution<int>(0, t->count() - 1)(rng_);
    t->setCurrentIndex(i);
    return "tab " + describe(t) + " -> " + t->tabText(i).toStdString();
}

std::string Walk::triggerMenu() {
    std::vector<QAction*> actions;
    for (QAction* top : form_->menuBar()->actions())
        if (QMenu* menu = top->menu())
            for (QAction* a : menu->actions())
                if (!a->isSeparator() && a->isEnabled() && !a->menu() && !excluded(a))
                    actions.push_back(a);
    if (actions.empty()) return "no menu item";
    QAction* a = actions[std::uniform_int_distribution<size_t>(0, actions.size() - 1)(rng_)];
    const std::string what =
        a->objectName().isEmpty() ? a->text().toStdString() : a->objectName().toStdString();
    a->trigger();
    return "menu " + what;
}

std::string Walk::pressKey() {
    // Picture keys, conveyor letters, Ctrl (held across steps: it latches
    // the pictures), plus and minus, blank, keypad, arrows and the menu
    // shortcuts (Ctrl+Q, the exit, excepted).
    static const Qt::Key keys[] = {
        Qt::Key_0,        Qt::Key_1,      Qt::Key_2,     Qt::Key_3,      Qt::Key_4,
        Qt::Key_5,        Qt::Key_6,      Qt::Key_7,     Qt::Key_8,      Qt::Key_9,
        Qt::Key_Q,        Qt::Key_W,      Qt::Key_E,     Qt::Key_R,      Qt::Key_T,
        Qt::Key_Y,        Qt::Key_U,      Qt::Key_I,     Qt::Key_O,      Qt::Key_P,
        Qt::Key_A,        Qt::Key_S,      Qt::Key_D,     Qt::Key_F,      Qt::Key_G,
        Qt::Key_H,        Qt::Key_J,      Qt::Key_K,     Qt::Key_L,      Qt::Key_Z,
        Qt::Key_X,        Qt::Key_C,      Qt::Key_V,     Qt::Key_B,      Qt::Key_N,
        Qt::Key_M,        Qt::Key_Space,  Qt::Key_Equal, Qt::Key_Minus,  Qt::Key_Plus,
        Qt::Key_Left,     Qt::Key_Right,  Qt::Key_Up,    Qt::Key_Down,   Qt::Key_PageUp,
        Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,   Qt::Key_Insert, Qt::Key_Delete,
        Qt::Key_Return,   Qt::Key_Escape, Qt::Key_F1,    Qt::Key_F5,     Qt::Key_Backspace,
    };
    QWidget* target = QApplication::focusWidget();
    if (!target) target = form_.get();
    const int pick = std::uniform_int_distribution<int>(0, std::size(keys) + 1)(rng_);
    if (pick >= static_cast<int>(std::size(keys))) {
        // Ctrl down or up.
        if (ctrlHeld_)
            QTest::keyRelease(target, Qt::Key_Control, Qt::NoModifier);
        else
            QTest::keyPress(target, Qt::Key_Control, Qt::ControlModifier);
        ctrlHeld_ = !ctrlHeld_;
        return ctrlHeld_ ? "key Ctrl down" : "key Ctrl up";
    }
    const Qt::Key key = keys[pick];
    Qt::KeyboardModifiers mods = ctrlHeld_ ? Qt::ControlModifier : Qt::NoModifier;
    if (std::uniform_int_distribution<int>(0, 5)(rng_) == 0) mods |= Qt::KeypadModifier;
    if (std::uniform_int_distribution<int>(0, 9)(rng_) == 0) mods |= Qt::ShiftModifier;
    if (key == Qt::Key_Q && (mods & Qt::ControlModifier)) return "skip Ctrl+Q";
    const bool held = std::uniform_int_distribution<int>(0, 4)(rng_) == 0;
    QTest::keyPress(target, key, mods);
    if (held) QTest::keyPress(target, key, mods);  // QTest has no auto-repeat flag: twice
    QTest::keyRelease(target, key, mods);
    return "key " + QKeySequence(key | mods).toString().toStdString() + " to " + describe(target);
}

std::string Walk::dragMouse() {
    // The painted controls: graph, XY area, scanner field, colour squares,
    // pictures. Other leaf widgets now and then.
    std::vector<QWidget*> painted, others;
    for (QWidget* w : visible<QWidget>()) {
        if (!w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) continue;
        const std::string type = typeid(*w).name();
        (type.find("lumetra") != std::string::npos ? painted : others).push_back(w);
    }
    auto& from =
        !painted.empty() && std::uniform_int_distribution<int>(0, 4)(rng_) != 0 ? painted : others;
    if (from.empty()) return "no painted control";
    QWidget* w = from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng_)];
    auto point = [&] {
        // A little outside the control too: drags leave the area.
        return QPoint(std::uniform_int_distribution<int>(-8, w->width() + 8)(rng_),
                      std::uniform_int_distribution<int>(-8, w->height() + 8)(rng_));
    };
    const Qt::MouseButton button =
        std::uniform_int_distribution<int>(0, 3)(rng_) == 0 ? Qt::RightButton : Qt::LeftButton;
    const Qt::KeyboardModifiers mods = ctrlHeld_ ? Qt::ControlModifier : Qt::NoModifier;
    const QPoint at = point();
    if (std::uniform_int_distribution<int>(0, 7)(rng_) == 0) {
        QTest::mouseDClick(w, button, mods, at);
        return "double click " + describe(w);
    }
    QTest::mousePress(w, button, mods, at);
    const int moves = std::uniform_int_distribution<int>(0, 6)(rng_);
    for (int i = 0; i < moves; ++i) QTest::mouseMove(w, point());
    QTest::mouseRelease(w, button, mods, point());
    return "drag " + describe(w) + " with " + std::to_string(moves) + " moves";
}

std::string Walk::turnWheel() {
    auto widgets = visible<QWidget>();
    QWidget* w = widgets[std::uniform_int_distribution<size_t>(0, widgets.size() - 1)(rng_)];
    const int notches = std::uniform_int_distribution<int>(-3, 3)(rng_);
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent wheel(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      ctrlHeld_ ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    return "wheel " + std::to_string(notches) + " over " + describe(w);
}

std::string Walk::idle() {
    const int ms = std::uniform_int_distribution<int>(10, 400)(rng_);
    QTest::qWait(ms);
    return "idle " + std::to_string(ms) + " ms";
}

std::string Walk::saveByName() {
    if (!form_->isNamed()) return "save: show has no name";
    dialogs_->clearStep();
    const QString path = form_->currentFileName();
    if (!trigger("SaveItem")) return "save: disabled";
    if (!dialogs_->errors.isEmpty()) return "save " + path.toStdString() + " failed";
    compareFile(path, image(), "save");
    return "save " + path.toStdString();
}

std::string Walk::saveAs() {
    const QStringList targets = files_.candidates("lum", true);
    const QString path =
        targets[std::uniform_int_distribution<qsizetype>(0, targets.size() - 1)(rng_)];
    const bool colorShift = form_->findChild<QCheckBox*>("CheckBoxColorAvto")->isChecked();
    dialogs_->force(path);
    dialogs_->clearStep();
    trigger("SaveAsItem");
    // The colour shift of "save as" comes after the write.
    if (dialogs_->errors.isEmpty() && !colorShift) compareFile(path, image(), "save as");
    return "save as " + path.toStdString() +
           (dialogs_->errors.isEmpty()
                ? ""
                : " (refused: " + dialogs_->errors.join(" ").toStdString() + ")");
}

std::string Walk::openGood() {
    QStringList shows = files_.goodShows();
    shows << files_.bad() + "/noise.lum" << files_.bad() + "/long.lum";
    const QString path = shows[std::uniform_int_distribution<qsizetype>(0, shows.size() - 1)(rng_)];
    const QByteArray bytes = readAll(path);
    dialogs_->force(path);
    dialogs_->clearStep();
    trigger("OpenItem");
    if (!dialogs_->errors.isEmpty())
        fail("open " + path + " refused: " + dialogs_->errors.join(" "));
    // The show is what the file holds, also after the pages were refreshed.
    ShowMemory::Image want{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.data()), want.size(), want.begin());
    if (image() != want) fail("open " + path + ": the show differs from the file");
    ++exactChecks_;
    return "open " + path.toStdString();
}

std::string Walk::openBad() {
    const QStringList bad = files_.badShows();
    const QString path = bad[std::uniform_int_distribution<qsizetype>(0, bad.size() - 1)(rng_)];
    const ShowMemory::Image before = image();
    dialogs_->force(path);
    dialogs_->clearStep();
    trigger("OpenItem");
    if (dialogs_->errors.isEmpty()) fail("open " + path + " was taken without a word");
    if (image() != before) fail("open " + path + " changed the show");
    ++exactChecks_;
    return "open bad " + path.toStdString() + ": " + dialogs_->errors.join(" ").toStdString();
}

std::string Walk::newShow() {
    trigger("NewItem");
    return "new show";
}

std::string Walk::autosave() {
    form_->TimerAvtoSaveTimer();
    compareFile(QString::fromStdString(form_->folder().autosavePath()), image(), "autosave");
    return "autosave";
}

std::string Walk::bindConveyor() {
    const int slot = std::uniform_int_distribution<int>(1, 20)(rng_);
    auto* button = form_->findChild<QAbstractButton*>(QString("SpeedButton%1").arg(slot));
    if (!button || !button->isVisible() || !button->isEnabled()) return "conveyor slot hidden";
    QStringList shows = files_.goodShows();
    shows << files_.badShows();
    const QString path = shows[std::uniform_int_distribution<qsizetype>(0, shows.size() - 1)(rng_)];
    dialogs_->force(path);
    QTest::mouseClick(button, Qt::RightButton);
    QTest::mouseClick(button, Qt::LeftButton);
    return "conveyor slot " + std::to_string(slot) + " <- " + path.toStdString();
}

std::string Walk::restart() {
    stopConsole();
    files_.shutdownDone();
    if (QString p = files_.checkDisk(); !p.isEmpty()) fail("after shutdown: " + p);
    // Every other start-up meets a broken file of its own.
    std::string planted;
    if (std::uniform_int_distribution<int>(0, 1)(rng_) == 0)
        planted = " with " + files_.plantStartupFile();
    startConsole();
    ++restarts_;
    // Nothing of the settings is lost across a restart (unless the walk
    // broke the file on purpose).
    if (planted.empty() || planted.find("colour") != std::string::npos) {
        for (int n = 1; n <= 20; ++n)
            if (form_->konveyorPath(n) != keptKonveyr_[n - 1])
                fail(QString("conveyor slot %1 was \"%2\" before the restart, \"%3\" after")
                         .arg(n)
                         .arg(keptKonveyr_[n - 1], form_->konveyorPath(n)));
        // A bare name (the "Unit_001" of a new show) is read against the
        // working folder.
        const QString last =
            QFileInfo(keptLast_).isRelative() ? QDir::currentPath() + "/" + keptLast_ : keptLast_;
        if (form_->openFileName() != last)
            fail("the last show was \"" + last + "\", the start-up opened \"" +
                 form_->openFileName() + "\"");
    }
    return "restart" + planted;
}

std::string Walk::patchFile() {
    // The patch page's open and save buttons, each followed by a check
    // that the table and the file agree.
    form_->inputPages()->setCurrentIndex(ui::TBaseForm::PagePatch);
    const bool save = std::uniform_int_distribution<int>(0, 1)(rng_) == 0;
    const QStringList paths = files_.candidates("lmd", save);
    const QString path = paths[std::uniform_int_distribution<qsizetype>(0, paths.size() - 1)(rng_)];
    const io::PatchImage before = io::encodePatch(form_->console().patchTable);
    dialogs_->force(path);
    dialogs_->clearStep();
    auto* button = form_->findChild<QAbstractButton*>(save ? "SpeedButtonSaveCoderTab"
                                                           : "SpeedButtonOpenCoderTab");
    QTest::mouseClick(button, Qt::LeftButton);
    const bool refused = !dialogs_->errors.isEmpty();
    const io::PatchImage now = io::encodePatch(form_->console().patchTable);
    if (refused) {
        if (now != before) fail("a refused patch file " + path + " changed the patch");
    } else {
        const QByteArray bytes = readAll(path);
        if (bytes.size() < static_cast<qsizetype>(now.size()) ||
            !std::equal(now.begin(), now.end(),
                        reinterpret_cast<const std::uint8_t*>(bytes.data())))
            fail("patch file " + path + " and the patch differ after " + (save ? "save" : "open"));
        ++exactChecks_;
    }
    return std::string(save ? "patch save " : "patch open ") + path.toStdString() +
           (refused ? " (refused)" : "");
}

std::string Walk::unplug() {
    // The cable is pulled for a moment: the packets stop on purpose, and
    // must come back once the interface is there again (the poll reopens
    // it within a second or two).
    if (offline_) return "unplug: offline";
    const std::string marker = pathToBytes(files_.fifo()) + ".unplugged";
    wire_->pause();
    QFile(QString::fromStdString(marker)).open(QIODevice::WriteOnly);
    const int ms = std::uniform_int_distribution<int>(50, 2500)(rng_);
    QTest::qWait(ms);
    QFile::remove(QString::fromStdString(marker));
    const std::uint64_t before = wire_->frames();
    const Clock::time_point replugged = Clock::now();
    while (wire_->frames() < before + 2) {
        if (Clock::now() - replugged > std::chrono::seconds(5))
            fail("no packet within 5 s of plugging the interface in again");
        QTest::qWait(20);
    }
    wire_->resume();
    ++unplugs_;
    return "unplugged for " + std::to_string(ms) + " ms";
}

std::string Walk::step() {
    struct Kind {
        int weight;
        std::string (Walk::*run)();
    };
    static const Kind kinds[] = {
        {24, &Walk::clickButton}, {20, &Walk::moveSlider},  {6, &Walk::changeSpin},
        {4, &Walk::typeText},     {10, &Walk::switchTab},   {6, &Walk::triggerMenu},
        {12, &Walk::pressKey},    {8, &Walk::dragMouse},    {3, &Walk::turnWheel},
        {4, &Walk::idle},         {2, &Walk::saveByName},   {2, &Walk::saveAs},
        {2, &Walk::openGood},     {2, &Walk::openBad},      {1, &Walk::newShow},
        {1, &Walk::autosave},     {2, &Walk::bindConveyor}, {1, &Walk::patchFile},
    };
    // A restart (shutdown and start-up in the same data folder) about once
    // in 800 steps: it costs a second or two.
    if (std::uniform_int_distribution<int>(0, 799)(rng_) == 0) return restart();
    if (std::uniform_int_distribution<int>(0, 599)(rng_) == 0) return unplug();
    int total = 0;
    for (const Kind& k : kinds) total += k.weight;
    int pick = std::uniform_int_distribution<int>(0, total - 1)(rng_);
    for (const Kind& k : kinds) {
        if (pick < k.weight) return (this->*k.run)();
        pick -= k.weight;
    }
    return "nothing";
}

// ---- checks ------------------------------------------------------------

void Walk::tidyShows() {
    // The walk keeps the pool small; the console never deletes a show.
    QStringList shows = files_.goodShows();
    while (shows.size() > 24)
        QFile::remove(
            shows.takeAt(std::uniform_int_distribution<qsizetype>(0, shows.size() - 1)(rng_)));
    files_.layBadFiles();
}

void Walk::checkAfterStep(const std::string& what, Clock::duration took) {
    QCoreApplication::processEvents();
    if (took > worstStep_) {
        worstStep_ = took;
        worstStepWhat_ = what;
    }
    if (!strayModal_.isEmpty())
        fail("a modal window outside the console's dialogs: " + strayModal_);

    // Offline mode stops the packets on purpose; the tick goes on.
    // An operator does not leave it on for long: after 15 s the walk
    // unticks it, so that most of the run watches the wire.
    const bool offline = form_->console().controls.offline.get() != 0;
    if (offline != offline_) {
        offline_ = offline;
        if (offline) {
            wire_->pause();
            offlineSince_ = Clock::now();
        } else {
            wire_->resume();
            offlineTotal_ += Clock::now() - offlineSince_;
        }
    } else if (offline && Clock::now() - offlineSince_ > std::chrono::seconds(15)) {
        form_->findChild<QCheckBox*>("CheckBoxNoUSBconnect")->setChecked(false);
    }
    const auto silence = wire_->silence();
    if (silence > config_.maxSilence)
        fail(QString("no packet for %1 ms")
                 .arg(std::chrono::duration_cast<std::chrono::milliseconds>(silence).count()));
    if (wire_->dropped() != 0)
        fail(QString("%1 torn or malformed packets on the wire").arg(wire_->dropped()));
    const std::uint64_t ticks = form_->output().cycle().tickCount();
    const Clock::time_point now = Clock::now();
    if (ticks != lastTicks_) {
        lastTicks_ = ticks;
        lastTickChange_ = now;
    } else if (now - lastTickChange_ > config_.maxSilence) {
        fail("the tick stopped");
    }

    tidyShows();
    if (QString p = files_.checkDisk(); !p.isEmpty()) fail(p);
}

void Walk::fail(const QString& why) {
    std::fprintf(stderr, "\nSOAK FAILURE (seed %u, step %llu): %s\nlast steps:\n", config_.seed,
                 static_cast<unsigned long long>(steps_), why.toLocal8Bit().constData());
    for (const std::string& s : recent_) std::fprintf(stderr, "  %s\n", s.c_str());
    std::fprintf(stderr, "rerun: lumetra_soak --seed=%u --seconds=%g\nscratch kept: %s\n",
                 config_.seed, config_.seconds, qPrintable(config_.root));
    std::fflush(stderr);
    std::_Exit(1);
}

int Walk::run() {
    std::printf("soak: seed %u, %g s, scratch %s\n", config_.seed, config_.seconds,
                qPrintable(config_.root));
    std::fflush(stdout);
    startConsole();
    const Clock::time_point start = Clock::now();
    const auto length = std::chrono::duration<double>(config_.seconds);
    Clock::time_point report = start;
    while (Clock::now() - start < length) {
        ++steps_;
        if (dialogs_) dialogs_->clearStep();
        const Clock::time_point t0 = Clock::now();
        const std::string what = step();
        const Clock::duration took = Clock::now() - t0;
        recent_.push_back(std::to_string(steps_) + ": " + what);
        if (recent_.size() > 30) recent_.pop_front();
        if (config_.trace)
            std::fprintf(stderr, "%llu: %s\n", (unsigned long long)steps_, what.c_str());
        if (config_.trace && dialogs_)
            for (const QString& e : dialogs_->errors + dialogs_->warnings + dialogs_->messages)
                std::fprintf(stderr, "    box: %s\n", qPrintable(e));
        checkAfterStep(what, took);
        if (Clock::now() - report > std::chrono::seconds(10)) {
            report = Clock::now();
            std::printf("soak: %llu steps, %llu packets, worst gap %lld ms\n",
                        static_cast<unsigned long long>(steps_),
                        static_cast<unsigned long long>(wire_->frames()),
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::milliseconds>(wire_->worstGap())
                                .count()));
            std::fflush(stdout);
        }
    }
    const int errorsSeen = dialogs_ ? dialogs_->totalErrors : 0;
    stopConsole();
    files_.shutdownDone();
    if (QString p = files_.checkDisk(); !p.isEmpty()) fail("after shutdown: " + p);

    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    std::printf(
        "soak passed: seed %u, %llu steps in %.0f s, %d restarts, %d unplugs\n"
        "  packets %llu (sent %llu, write failures %llu, skipped busy %llu), torn 0\n"
        "  worst gap between packets %lld ms; slowest step %lld ms (%s); offline mode %.0f s\n"
        "  exact file and show checks %d; error boxes of the last console %d; stray modals %d\n",
        config_.seed, static_cast<unsigned long long>(steps_),
        std::chrono::duration<double>(Clock::now() - start).count(), restarts_, unplugs_,
        static_cast<unsigned long long>(wire_->frames()),
        static_cast<unsigned long long>(packetsSent_),
        static_cast<unsigned long long>(writeFailures_),
        static_cast<unsigned long long>(skippedBusy_),
        static_cast<long long>(duration_cast<milliseconds>(wire_->worstGap()).count()),
        static_cast<long long>(duration_cast<milliseconds>(worstStep_).count()),
        worstStepWhat_.c_str(), std::chrono::duration<double>(offlineTotal_).count(), exactChecks_,
        errorsSeen, modalsClosed_);
    return 0;
}

}  // namespace lumetra::soak
