// The static pictures editor: edit mode entered from the tool bar and the
// menu, the read and write buttons over the main window's faders and
// "Выбор" boxes, the scene selector, the deletes and their undo, and saves
// made while the editor borrows scene 0.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "app/SideWindows.h"

using lumetra::testing::Desk;
using lumetra::testing::readBytes;
using lumetra::testing::ScriptedDialogs;
namespace layout = lumetra::layout;
namespace cell = lumetra::cell;

namespace {

lumetra::ui::TStaticForm& window(Desk& desk) {
    return desk.form->sideWindows().staticPictures();
}

template <typename T>
T* inWindow(Desk& desk, const QString& name) {
    T* w = window(desk).findChild<T*>(name);
    if (!w) qWarning("no control named %s in the editor", qPrintable(name));
    return w;
}

void holdTimers(Desk& desk) {
    for (const char* name :
         {"TimerSeqveser", "TimerShouClock", "TimerDataDmxToDsp", "TimerAvtoSave"})
        desk.find<QTimer>(name)->stop();
}

QScrollBar* fader(Desk& desk, int n) {
    return desk.find<QScrollBar>(QString("ScrollBar%1").arg(n));
}
QCheckBox* choice(Desk& desk, int n) {
    return desk.find<QCheckBox>(QString("CheckBox%1").arg(n));
}

lumetra::ShowMemory::Image image(Desk& desk) {
    lumetra::ShowMemory::Image out;
    desk.state().show.snapshot(out);
    return out;
}

// A show of three scenes whose scene 0, rates, selection and current scene
// all differ from what edit mode leaves; scene 1 is current.
void prepareShow(Desk& desk) {
    lumetra::ShowMemory& show = desk.state().show;
    show.setCell(cell::kLastScene, 2);
    for (int c = 1; c <= 255; ++c) {
        show.setLevel(0, c, static_cast<std::uint8_t>(c));
        show.setLevel(1, c, static_cast<std::uint8_t>(255 - c));
        show.set(layout::rateOffset(c), static_cast<std::uint8_t>(c % 7));
    }
    show.setCell(cell::kCurrentScene, 1);
    desk.form->ReturnPageControlAll();
    choice(desk, 2)->setChecked(true);
    choice(desk, 5)->setChecked(true);
}

bool anyPictureButtonDown(Desk& desk) {
    for (QToolButton* b : window(desk).findChildren<QToolButton*>())
        if (b->isVisible() && b->isChecked()) return true;
    return false;
}

}  // namespace

class StaticFormTest : public QObject {
    Q_OBJECT

  private slots:
    void windowHasItsControls() {
        Desk desk;
        lumetra::ui::TStaticForm& w = window(desk);
        QCOMPARE(w.windowTitle(), QString("Статические картинки"));
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(w.windowModality(), Qt::NonModal);
        const char* read[] = {"SpeedButton1", "SpeedButton8", "SpeedButtonSpase", "SpeedButtonM"};
        const char* captions[] = {"1", "8", "--", "M"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(inWindow<QToolButton>(desk, read[i])->text(), QString(captions[i]));
            QCOMPARE(inWindow<QToolButton>(desk, read[i])->toolTip(),
                     QString("Редактируемая статическая картинка"));
        }
        QCOMPARE(inWindow<QToolButton>(desk, "SpeedButton9")->text(), QString("1"));
        QCOMPARE(inWindow<QToolButton>(desk, "SpeedButton24")->text(), QString("M"));
        QCOMPARE(inWindow<QToolButton>(desk, "SpeedButton24")->toolTip(),
                 QString("Записать в  статическую картинку"));
        auto* selector = inWindow<QScrollBar>(desk, "ScrollBar1");
        QCOMPARE(selector->value(), 1);
        QCOMPARE(selector->maximum(), 255);
        QCOMPARE(selector->pageStep(), 10);
        QVERIFY(!inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->isEnabled());
        QCOMPARE(inWindow<QToolButton>(desk, "SpeedButtonDelAll")->toolTip(),
                 QString("Стереть все статические картинки "));
        QCOMPARE(desk.find<QToolButton>("SpeedButtonRECORD")->toolTip(),
                 QString("Запись статических картинок "));
        QCOMPARE(desk.find<QAction>("ChaserItem")->text(),
                 QString("Запись и редактирование Статических картинок"));
    }

    void enteringAndLeavingGivesEverythingBack() {
        Desk desk;
        holdTimers(desk);
        prepareShow(desk);
        const auto before = image(desk);
        desk.click("SpeedButtonPlay");
        QCOMPARE(desk.state().showRunning.get(), 1);

        desk.find<QAction>("ChaserItem")->trigger();
        QVERIFY(window(desk).isVisible());
        QCOMPARE(desk.state().showRunning.get(), 0);
        QVERIFY(desk.find<QToolButton>("SpeedButtonPlay")->isHidden());
        QVERIFY(desk.find<QRadioButton>("RadioGroupRateItem2")->isChecked());
        QCOMPARE(desk.state().controls.crossfadeMode.get(), 2);
        QCOMPARE(desk.state().show.currentScene(), 0);
        for (int c = 1; c <= 255; ++c) QCOMPARE(int(desk.state().show.level(0, c)), 0);
        QVERIFY(!choice(desk, 2)->isChecked());
        QCOMPARE(int(desk.state().show.get(layout::selectionOffset(5))), 0);
        QCOMPARE(fader(desk, 3)->value(), 0);

        // The faders now edit the surface; a second entry changes nothing.
        fader(desk, 3)->setValue(200);
        QCOMPARE(int(desk.state().show.level(0, 3)), 200);
        desk.click("SpeedButtonRECORD");
        QCOMPARE(int(desk.state().show.level(0, 3)), 200);

        window(desk).close();
        QCOMPARE(image(desk), before);
        QVERIFY(!desk.find<QToolButton>("SpeedButtonPlay")->isHidden());
        QVERIFY(choice(desk, 2)->isChecked());
        QCOMPARE(fader(desk, 3)->value(), 255 - 3);              // scene 1 again
        QCOMPARE(desk.state().controls.crossfadeMode.get(), 2);  // stays "Выкл"
    }

    void pictureMWrittenThenReadBack() {
        Desk desk;
        holdTimers(desk);
        desk.click("SpeedButtonRECORD");
        fader(desk, 1)->setValue(10);
        fader(desk, 2)->setValue(20);  // not ticked: not part of the picture
        fader(desk, 3)->setValue(30);
        choice(desk, 1)->setChecked(true);
        choice(desk, 3)->setChecked(true);
        // Toggled, as the accessibility interface presses a button.
        inWindow<QToolButton>(desk, "SpeedButton24")->toggle();
        QVERIFY(!anyPictureButtonDown(desk));
        const int m = layout::pictureOffset(15);
        const lumetra::ShowMemory& show = desk.state().show;
        QCOMPARE(int(show.get(m + 1)), 1);
        QCOMPARE(int(show.get(m + 2)), 0);
        QCOMPARE(int(show.get(m + 3)), 1);
        QCOMPARE(int(show.get(m + layout::kPictureLevels + 3)), 30);

        // Another picture, never written, clears surface and boxes.
        inWindow<QToolButton>(desk, "SpeedButton5")->click();
        QCOMPARE(fader(desk, 1)->value(), 0);
        QVERIFY(!choice(desk, 1)->isChecked());

        inWindow<QToolButton>(desk, "SpeedButtonM")->click();
        QVERIFY(!anyPictureButtonDown(desk));
        QCOMPARE(fader(desk, 1)->value(), 10);
        QCOMPARE(fader(desk, 2)->value(), 0);
        QCOMPARE(fader(desk, 3)->value(), 30);
        QVERIFY(choice(desk, 1)->isChecked());
        QVERIFY(!choice(desk, 2)->isChecked());
        QVERIFY(choice(desk, 3)->isChecked());

        // Closed (Escape), the picture is laid over the line by its check box.
        QTest::keyClick(inWindow<QToolButton>(desk, "SpeedButtonM"), Qt::Key_Escape);
        QVERIFY(!window(desk).isVisible());
        QVERIFY(!desk.find<QToolButton>("SpeedButtonPlay")->isHidden());
        desk.find<QCheckBox>("CheckBoxChsM")->setChecked(true);
        QCOMPARE(int(desk.state().controls.pictureKeys.get(15)), 1);
        QCOMPARE(int(desk.state().show.get(m + layout::kPictureLevels + 1)), 10);
    }

    void sceneSelectorEdges() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.setLevel(1, 4, 11);
        show.setLevel(255, 4, 99);
        desk.click("SpeedButtonRECORD");
        auto* selector = inWindow<QScrollBar>(desk, "ScrollBar1");
        auto* label = inWindow<QLabel>(desk, "Label1");
        selector->setValue(0);
        QCOMPARE(label->text(), QString("1"));
        QCOMPARE(int(show.level(0, 4)), 11);
        selector->setValue(254);
        QCOMPARE(label->text(), QString("255"));
        QCOMPARE(int(show.level(0, 4)), 99);
        QCOMPARE(fader(desk, 4)->value(), 99);
        // At 255 the surface is its own source: levels stay, boxes clear.
        choice(desk, 4)->setChecked(true);
        selector->setValue(255);
        QCOMPARE(label->text(), QString("256"));
        QCOMPARE(int(show.level(0, 4)), 99);
        QVERIFY(!choice(desk, 4)->isChecked());
        QCOMPARE(int(show.get(layout::selectionOffset(4))), 0);
    }

    void deletesAskAndUndoBringsTheShowBack() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        desk.click("SpeedButtonRECORD");
        fader(desk, 6)->setValue(66);
        choice(desk, 6)->setChecked(true);
        inWindow<QToolButton>(desk, "SpeedButton9")->click();  // picture 1
        const int first = layout::pictureOffset(0);
        QCOMPARE(int(show.get(first + layout::kPictureLevels + 6)), 66);

        ScriptedDialogs::queueAnswer(false);
        inWindow<QToolButton>(desk, "SpeedButtonDelAll")->click();
        QCOMPARE(desk.log->questions.last(), QString("Удалить все Статические картинки?"));
        QCOMPARE(int(show.get(first + 6)), 1);
        QVERIFY(!inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->isEnabled());

        ScriptedDialogs::queueAnswer(true);
        inWindow<QToolButton>(desk, "SpeedButtonDelAll")->click();
        for (int i = layout::kStaticPictures; i < layout::kSelectionFlags; ++i)
            QCOMPARE(int(show.get(i)), 0);
        QCOMPARE(fader(desk, 6)->value(), 0);
        QVERIFY(!choice(desk, 6)->isChecked());
        fader(desk, 7)->setValue(70);  // a change after the delete is undone too

        inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->click();
        QVERIFY(!inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->isEnabled());
        QCOMPARE(int(show.get(first + layout::kPictureLevels + 6)), 66);
        QCOMPARE(int(show.level(0, 6)), 66);
        QCOMPARE(int(show.level(0, 7)), 0);
        QCOMPARE(fader(desk, 6)->value(), 66);
        QVERIFY(choice(desk, 6)->isChecked());

        // Deleting the surface asks its own question and keeps the pictures.
        ScriptedDialogs::queueAnswer(true);
        inWindow<QToolButton>(desk, "SpeedButtonDel1")->click();
        QCOMPARE(desk.log->questions.last(), QString("Удалить статическую картинку?"));
        QCOMPARE(int(show.level(0, 6)), 0);
        QCOMPARE(int(show.get(first + layout::kPictureLevels + 6)), 66);
        QVERIFY(inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->isEnabled());
        // A new session starts without the old undo.
        window(desk).close();
        desk.click("SpeedButtonRECORD");
        QVERIFY(!inWindow<QToolButton>(desk, "SpeedButtonUndoSt")->isEnabled());
    }

    void savesDuringEditModeWriteTheShowsOwnScene() {
        QTemporaryDir shows;
        const QString named = shows.path() + "/Named.lum";
        const QString atExit = shows.path() + "/AtExit.lum";
        Desk desk;
        holdTimers(desk);
        prepareShow(desk);
        ScriptedDialogs::queueFile(named);
        desk.form->SaveAsItemClick();
        const QByteArray own = readBytes(named);
        QCOMPARE(own.size(), layout::kShowSize);

        desk.click("SpeedButtonRECORD");
        fader(desk, 1)->setValue(250);
        choice(desk, 9)->setChecked(true);
        desk.state().show.setLevel(2, 1, 77);  // an edit of the show itself
        QByteArray expected = own;
        expected[layout::levelOffset(2, 1)] = char(77);

        desk.form->SaveItemClick();
        QCOMPARE(readBytes(named), expected);
        desk.form->TimerAvtoSaveTimer();
        QCOMPARE(readBytes(desk.showDir() + "/ShouTemp.lum"), expected);
        QCOMPARE(int(desk.state().show.level(0, 1)), 250);  // the surface is still there

        // A show opened while editing is the one given back at the end.
        ScriptedDialogs::queueFile(named);
        desk.find<QAction>("OpenItem")->trigger();
        QCOMPARE(desk.state().show.currentScene(), 0);
        QCOMPARE(int(desk.state().show.level(0, 1)), 0);

        // The save at shutdown, with the editor still open.
        ScriptedDialogs::queueFile(atExit);
        desk.form->close();
        QCOMPARE(readBytes(atExit), expected);
    }
};

QTEST_MAIN(StaticFormTest)
#include "StaticFormTest.moc"
