// The scene-list commands driven through the main window: menu items,
// shortcuts, tool bar and sequencer buttons, the clipboard, undo, auto-add,
// and what playback switches off.
#include <QAction>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "UiHarness.h"
#include "show/SceneList.h"

using lumetra::testing::Desk;
using lumetra::ui::TBaseForm;

namespace {
const QString kSnapshot = "  данные сохранены ";
const QString kUndone = " данные возвращены ";

// Scenes 0..last, channel 1 of scene s holds 10·(s + 1), channel 2 holds s.
void makeShow(Desk& desk, int last, int current) {
    lumetra::ShowMemory& show = desk.state().show;
    for (int s = 0; s <= last; ++s) {
        show.setLevel(s, 1, static_cast<std::uint8_t>(10 * (s + 1)));
        show.setLevel(s, 2, static_cast<std::uint8_t>(s));
    }
    show.setCell(lumetra::cell::kLastScene, static_cast<std::uint8_t>(last));
    show.setCell(lumetra::cell::kCurrentScene, static_cast<std::uint8_t>(current));
}

int mark(Desk& desk, int scene) {
    return desk.state().show.level(scene, 1);
}

QAction* action(Desk& desk, const char* name) {
    return desk.find<QAction>(name);
}

bool undoEnabled(Desk& desk, bool expected) {
    for (const char* name :
         {"SpeedButtonUndo1", "SpeedButtonUndo3", "SpeedButtonUndo4", "SpeedButtonUndo5"}) {
        auto* b = desk.find<QToolButton>(name);
        if (!b || b->isEnabled() != expected) return false;
    }
    return true;
}

void play(Desk& desk) {
    desk.state().showRunning.set(1);
    desk.form->run(TBaseForm::Hook::ModePlay);
}

void stop(Desk& desk) {
    desk.state().showRunning.set(0);
    desk.form->run(TBaseForm::Hook::ModeStop);
}
}  // namespace

class SceneCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void menuHoldsTheSevenCommandsWithTheirShortcuts() {
        Desk desk;
        struct Item {
            const char* name;
            QString text;
            QKeySequence key;
            bool enabled;
        };
        const Item items[] = {
            {"CopyPredScena", "Копировать предыдущую сцену", QKeySequence("Ctrl+P"), true},
            {"CopyToBufferItem", "Копировать сцену в буфер", QKeySequence("Ctrl+C"), true},
            {"NewPasteItem", "Создать новую и заменить сценой из буфера", QKeySequence("Ctrl+V"),
             false},
            {"PasteFromBufferItem", "Заменить сценой  из буфера", QKeySequence(), false},
            {"ClearScenaItem", "Очистить Сцену", QKeySequence("Ctrl+E"), true},
            {"DeleteScenaItem", "Удалить Сцену из Шоу ", QKeySequence(Qt::CTRL | Qt::Key_Delete),
             true},
            {"InsertScenaItem", "Создать новую Сцену", QKeySequence(Qt::CTRL | Qt::Key_Insert),
             true},
        };
        QList<QAction*> inMenu = desk.form->editMenu()->actions();
        inMenu.removeIf([](QAction* a) { return a->isSeparator(); });
        QCOMPARE(inMenu.size(), 7);
        for (int i = 0; i < 7; ++i) {
            QAction* a = inMenu[i];
            QCOMPARE(a->objectName(), QString(items[i].name));
            QCOMPARE(a->text(), items[i].text);
            QCOMPARE(a->shortcut(), items[i].key);
            QCOMPARE(a->isEnabled(), items[i].enabled);
        }
        QAction* avto = action(desk, "AvtoDobScenaItem");
        QVERIFY(avto && avto->isCheckable() && !avto->isChecked());
        QVERIFY(desk.form->optionsMenu()->actions().contains(avto));
        QCOMPARE(desk.find<QToolButton>("SpeedButtonNewScenaPaste")->toolTip(),
                 QString("Создать новую сцену после текущей и скопировать в нее сцену из буфера"));
        QCOMPARE(desk.find<QToolButton>("ButtonScenaPaste")->toolTip(),
                 QString("Заменить текущую сцену Сценой  из буфера"));
        QVERIFY(!desk.find<QToolButton>("SpeedButtonNewScenaPaste")->isEnabled());
        QVERIFY(!desk.find<QToolButton>("ButtonScenaPaste")->isEnabled());
        QVERIFY(undoEnabled(desk, false));
        // The five scene buttons sit in the sequencer page's place for them.
        QWidget* place = desk.form->slot(TBaseForm::Slot::SequencerSceneButtons);
        for (const char* name :
             {"SpeedButtonNewScena", "SpeedButtonScenaCopy", "SpeedButtonNewScenaPaste",
              "ButtonScenaPaste", "SpeedButtonScenaDelete"})
            QVERIFY2(place->findChild<QToolButton*>(name), name);
        // The memory/undo pairs are on their editor pages.
        QVERIFY(desk.form->slot(TBaseForm::Slot::FaderUndo)
                    ->findChild<QToolButton*>("SpeedButtonMem1"));
        QVERIFY(desk.form->inputPage(TBaseForm::PageGraph)
                    ->findChild<QToolButton*>("SpeedButtonUndo3"));
        QVERIFY(
            desk.form->inputPage(TBaseForm::PageBeam)->findChild<QToolButton*>("SpeedButtonUndo4"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonUndo4")->toolTip().isEmpty());
        QCOMPARE(desk.find<QToolButton>("SpeedButtonUndo1")->toolTip(),
                 QString("Вернуть прежнюю сцену"));
    }

    void insertAndDeleteShiftTheListAndUndoBringsItBack() {
        Desk desk;
        makeShow(desk, 4, 2);
        action(desk, "InsertScenaItem")->trigger();
        auto& show = desk.state().show;
        QCOMPARE(show.currentScene(), 3);
        QCOMPARE(show.lastScene(), 5);
        QCOMPARE(mark(desk, 2), 30);
        QCOMPARE(mark(desk, 3), 30);  // duplicate of the scene that was current
        QCOMPARE(mark(desk, 4), 40);
        QCOMPARE(mark(desk, 5), 50);
        QCOMPARE(desk.form->statusText(), kSnapshot);
        QVERIFY(undoEnabled(desk, true));

        desk.click("SpeedButtonScenaDelete");
        QCOMPARE(show.currentScene(), 3);
        QCOMPARE(show.lastScene(), 4);
        QCOMPARE(mark(desk, 3), 40);

        // Undo restores the list before the delete, cells 131 and 132 too.
        desk.click("SpeedButtonUndo5");
        QCOMPARE(desk.form->statusText(), kUndone);
        QVERIFY(undoEnabled(desk, false));
        QCOMPARE(show.currentScene(), 3);
        QCOMPARE(show.lastScene(), 5);
        QCOMPARE(mark(desk, 3), 30);

        // Deleting the last scene makes the one before it current.
        show.setCell(lumetra::cell::kCurrentScene, 5);
        desk.click("SpeedButtonDELSCEN");
        QCOMPARE(show.currentScene(), 4);
        QCOMPARE(show.lastScene(), 4);
        QCOMPARE(mark(desk, 5), 0);
    }

    void shortcutsRunTheMenuCommands() {
        Desk desk;
        makeShow(desk, 2, 1);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        auto& show = desk.state().show;

        QTest::keyClick(desk.form.get(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(show.currentScene(), 2);
        QCOMPARE(show.lastScene(), 3);

        QTest::keyClick(desk.form.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(show.lastScene(), 2);

        QTest::keyClick(desk.form.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(mark(desk, 2), 0);

        QTest::keyClick(desk.form.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(mark(desk, 2), 20);

        // Ctrl+V does nothing until a scene was copied; Ctrl+C copies.
        QTest::keyClick(desk.form.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(show.lastScene(), 2);
        show.setCell(lumetra::cell::kCurrentScene, 0);
        QTest::keyClick(desk.form.get(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(action(desk, "NewPasteItem")->isEnabled());
        QTest::keyClick(desk.form.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(show.currentScene(), 1);
        QCOMPARE(show.lastScene(), 3);
        QCOMPARE(mark(desk, 1), 10);
    }

    void shortcutsWinOverAFocusedSpinBox() {
        Desk desk;
        makeShow(desk, 2, 1);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        desk.form->inputPages()->setCurrentIndex(lumetra::ui::TBaseForm::PageCopy);
        auto* spin = desk.form->inputPage(lumetra::ui::TBaseForm::PageCopy)->findChild<QSpinBox*>();
        QVERIFY(spin);
        spin->setFocus();
        QVERIFY(spin->hasFocus());
        auto& show = desk.state().show;

        QTest::keyClick(spin, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(desk.form->statusText(), QString(" Записать в буфер "));
        QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(show.lastScene(), 3);
        QCOMPARE(show.currentScene(), 2);
        QTest::keyClick(spin, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(show.lastScene(), 4);
    }

    void aRefusedInsertSaysWhyAndOffersNoUndo() {
        Desk desk;
        makeShow(desk, 255, 100);
        QVERIFY(undoEnabled(desk, false));
        action(desk, "InsertScenaItem")->trigger();
        QCOMPARE(desk.form->statusText(), QString(" Сцена не вставлена: в Шоу уже 256 сцен "));
        QVERIFY(undoEnabled(desk, false));
        desk.click("SpeedButtonScenaCopy");
        desk.click("SpeedButtonNewScenaPaste");
        QCOMPARE(desk.form->statusText(), QString(" Сцена не вставлена: в Шоу уже 256 сцен "));
        QCOMPARE(desk.state().show.currentScene(), 100);
        QVERIFY(undoEnabled(desk, false));
    }

    void copyToBufferNamesTheSceneAndEnablesThePaste() {
        Desk desk;
        makeShow(desk, 4, 2);
        desk.click("SpeedButtonScenaCopy");
        QCOMPARE(desk.form->statusText(), QString(" Записать в буфер "));
        QCOMPARE(
            desk.find<QToolButton>("SpeedButtonNewScenaPaste")->toolTip(),
            QString("Создать новую сцену после текущей и скопировать в нее сцену 3 из буфера"));
        QCOMPARE(desk.find<QToolButton>("ButtonScenaPaste")->toolTip(),
                 QString("Заменить текущую сцену Сценой 3 из буфера"));
        for (const char* name : {"SpeedButtonNewScenaPaste", "ButtonScenaPaste"})
            QVERIFY(desk.find<QToolButton>(name)->isEnabled());
        QVERIFY(action(desk, "NewPasteItem")->isEnabled());
        QVERIFY(action(desk, "PasteFromBufferItem")->isEnabled());
        // Copying takes no undo copy.
        QVERIFY(undoEnabled(desk, false));

        // Replace scene 0 by the buffer.
        auto& show = desk.state().show;
        show.setCell(lumetra::cell::kCurrentScene, 0);
        desk.click("ButtonScenaPaste");
        QCOMPARE(mark(desk, 0), 30);
        QCOMPARE(show.level(0, 2), 2);
        QCOMPARE(show.lastScene(), 4);

        // Paste as new after scene 4 (index 3); undo keeps the inserted
        // duplicate and takes back only the pasted content.
        show.setCell(lumetra::cell::kCurrentScene, 3);
        desk.click("SpeedButtonNewScenaPaste");
        QCOMPARE(show.currentScene(), 4);
        QCOMPARE(show.lastScene(), 5);
        QCOMPARE(mark(desk, 4), 30);
        QCOMPARE(mark(desk, 5), 50);
        desk.click("SpeedButtonUndo1");
        QCOMPARE(show.currentScene(), 4);
        QCOMPARE(show.lastScene(), 5);
        QCOMPARE(mark(desk, 4), 40);

        // A second copy from another scene renames the hints.
        show.setCell(lumetra::cell::kCurrentScene, 5);
        action(desk, "CopyToBufferItem")->trigger();
        QCOMPARE(desk.find<QToolButton>("ButtonScenaPaste")->toolTip(),
                 QString("Заменить текущую сцену Сценой 6 из буфера"));
    }

    void clearAndCopyPrevious() {
        Desk desk;
        makeShow(desk, 3, 0);
        // On scene 0 nothing is copied, but the undo copy is taken.
        desk.click("SpeedButtonCOPYPREDSCEN");
        QCOMPARE(mark(desk, 0), 10);
        QVERIFY(undoEnabled(desk, true));
        QCOMPARE(desk.form->statusText(), kSnapshot);

        desk.state().show.setCell(lumetra::cell::kCurrentScene, 2);
        desk.click("SpeedButtonCLEAR");
        QCOMPARE(mark(desk, 2), 0);
        QCOMPARE(desk.state().show.level(2, 2), 0);
        action(desk, "CopyPredScena")->trigger();
        QCOMPARE(mark(desk, 2), 20);
        QCOMPARE(desk.state().show.level(2, 2), 1);
    }

    void playbackRefusesAndSwitchesTheControlsOff() {
        Desk desk;
        makeShow(desk, 3, 1);
        desk.click("SpeedButtonScenaCopy");  // paste commands on before the show
        play(desk);

        for (const char* name :
             {"SpeedButtonNewScena", "SpeedButtonScenaCopy", "SpeedButtonNewScenaPaste",
              "ButtonScenaPaste", "SpeedButtonScenaDelete"})
            QVERIFY2(!desk.find<QToolButton>(name)->isEnabled(), name);
        QVERIFY(!desk.form->editMenu()->menuAction()->isEnabled());
        for (QAction* a : desk.form->editMenu()->actions())
            if (!a->isSeparator()) QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));

        // The tool bar stays on, but its commands leave the show alone,
        // without a message and without an undo copy.
        desk.form->OutStatus("x");
        const lumetra::ShowMemory::Image before = [&] {
            lumetra::ShowMemory::Image img;
            desk.state().show.snapshot(img);
            return img;
        }();
        for (const char* name : {"SpeedButtonCLEAR", "SpeedButtonDELSCEN",
                                 "SpeedButtonCOPYPREDSCEN", "SpeedButtonCOPY"})
            desk.click(name);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        QTest::keyClick(desk.form.get(), Qt::Key_Insert, Qt::ControlModifier);
        lumetra::ShowMemory::Image after;
        desk.state().show.snapshot(after);
        QVERIFY(before == after);
        QCOMPARE(desk.form->statusText(), QString("x"));
        QVERIFY(undoEnabled(desk, false));

        stop(desk);
        for (const char* name :
             {"SpeedButtonNewScena", "SpeedButtonScenaCopy", "SpeedButtonScenaDelete"})
            QVERIFY2(desk.find<QToolButton>(name)->isEnabled(), name);
        // The paste buttons wait for the next copy; the menu items keep
        // the state they had.
        QVERIFY(!desk.find<QToolButton>("SpeedButtonNewScenaPaste")->isEnabled());
        QVERIFY(!desk.find<QToolButton>("ButtonScenaPaste")->isEnabled());
        QVERIFY(desk.form->editMenu()->menuAction()->isEnabled());
        QVERIFY(action(desk, "NewPasteItem")->isEnabled());
        QVERIFY(action(desk, "PasteFromBufferItem")->isEnabled());
        QVERIFY(action(desk, "InsertScenaItem")->isEnabled());
        desk.click("SpeedButtonScenaCopy");
        QVERIFY(desk.find<QToolButton>("ButtonScenaPaste")->isEnabled());
    }

    void pasteMenuItemsStayOffOverAShowWhenNothingWasCopied() {
        Desk desk;
        play(desk);
        play(desk);  // a second start must not forget the states
        stop(desk);
        QVERIFY(!action(desk, "NewPasteItem")->isEnabled());
        QVERIFY(!action(desk, "PasteFromBufferItem")->isEnabled());
        QVERIFY(action(desk, "ClearScenaItem")->isEnabled());
    }

    void autoAddSwitchFromMenuAndToolBar() {
        Desk desk;
        QAction* avto = action(desk, "AvtoDobScenaItem");
        auto* button = desk.find<QToolButton>("SpeedButtonAVTOPLUS");
        avto->trigger();
        QVERIFY(avto->isChecked());
        QVERIFY(desk.form->autoAddScenes());
        QVERIFY(button->isChecked());
        QCOMPARE(desk.form->statusText(), QString(" Автодобавление сцен "));
        desk.click("SpeedButtonAVTOPLUS");
        QVERIFY(!avto->isChecked());
        QVERIFY(!desk.form->autoAddScenes());
        QVERIFY(!button->isChecked());
    }

    void memoryButtonsShareOneUndoCopy() {
        Desk desk;
        makeShow(desk, 2, 1);
        desk.click("SpeedButtonMem3");
        QCOMPARE(desk.form->statusText(), kSnapshot);
        QVERIFY(undoEnabled(desk, true));
        desk.state().show.setLevel(1, 1, 99);
        desk.state().show.setCell(lumetra::cell::kCurrentScene, 2);
        desk.click("SpeedButtonUndo4");
        QCOMPARE(mark(desk, 1), 20);
        QCOMPARE(desk.state().show.currentScene(), 1);
        QVERIFY(undoEnabled(desk, false));

        // Clearing the show switches the undo buttons off again.
        desk.click("SpeedButtonMem1");
        QVERIFY(undoEnabled(desk, true));
        desk.form->ClearAll();
        QVERIFY(undoEnabled(desk, false));
    }
};

QTEST_MAIN(SceneCommandsTest)
#include "SceneCommandsTest.moc"
