// The conveyor of shows, the hot keys of pictures and conveyor letters,
// and the wheel, worked through the main window.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "UiHarness.h"
#include "playback/KonveyrGroup.h"
#include "show/ShowMemory.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;
using lumetra::testing::writeBytes;
using lumetra::ui::TBaseForm;
namespace layout = lumetra::layout;
namespace cell = lumetra::cell;

namespace {

void holdTimers(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock", "TimerDataDmxToDsp"})
        desk.find<QTimer>(name)->stop();
}

// A show of `scenes` scenes whose channel 1 holds `mark` in every scene.
QByteArray markedShow(int mark, int scenes = 2) {
    QByteArray bytes(layout::kShowSize, '\0');
    bytes[cell::kLastScene] = static_cast<char>(scenes - 1);
    bytes[cell::kCurrentScene] = static_cast<char>(scenes - 1);
    bytes[cell::kTempo] = 20;
    for (int s = 0; s < scenes; ++s) bytes[layout::sceneOffset(s) + 1] = static_cast<char>(mark);
    return bytes;
}

int loadedMark(Desk& desk) {
    return desk.state().show.level(0, 1);
}
QString text(Desk& desk, const char* name) {
    return desk.find<QLabel>(name)->text();
}

void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
           bool repeat = false) {
    QKeyEvent e(QEvent::KeyPress, key, mods, QString(), repeat);
    QApplication::sendEvent(w, &e);
}
void release(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
             bool repeat = false) {
    QKeyEvent e(QEvent::KeyRelease, key, mods, QString(), repeat);
    QApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// Three shows bound to slots 1, 2 and 3 in the settings file.
struct ThreeShows {
    QTemporaryDir dir;
    QString path(int n) const { return dir.path() + QString("/Show%1.lum").arg(n); }
    ThreeShows() {
        for (int n = 1; n <= 3; ++n) writeBytes(path(n), markedShow(10 * n));
    }
    QString ini() const {
        return "[Konveir]\r\nFile01=" + path(1) + "\r\nFile02=" + path(2) +
               "\r\nFile03=" + path(3) + "\r\n";
    }
};

}  // namespace

class KonveyrKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void picturesAreHeldAndLatchedWithCtrl() {
        Desk desk;
        holdTimers(desk);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        auto* focus = desk.find<QScrollBar>("ScrollBarTemp");
        auto* one = desk.find<QCheckBox>("CheckBoxChs1");
        auto* space = desk.find<QCheckBox>("CheckBoxChsSpace");
        auto& pictures = desk.state().controls.pictureKeys;

        press(focus, Qt::Key_1);
        QVERIFY(one->isChecked());
        QCOMPARE(pictures.get(0), 1);
        press(focus, Qt::Key_1, Qt::NoModifier, true);  // held: the window repeats
        release(focus, Qt::Key_1, Qt::NoModifier, true);
        QVERIFY(one->isChecked());
        release(focus, Qt::Key_1);
        QVERIFY(!one->isChecked());
        QCOMPARE(pictures.get(0), 0);

        // Ctrl held through the release latches; a plain press and release
        // puts it off again.
        press(focus, Qt::Key_Control, Qt::ControlModifier);
        press(focus, Qt::Key_Space, Qt::ControlModifier);
        release(focus, Qt::Key_Space, Qt::ControlModifier);
        release(focus, Qt::Key_Control);
        QVERIFY(space->isChecked());
        press(focus, Qt::Key_Space);
        QVERIFY(space->isChecked());
        release(focus, Qt::Key_Space);
        QVERIFY(!space->isChecked());

        // Ctrl+C is the menu's: the scene goes to the buffer, C does not latch.
        press(focus, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        release(focus, Qt::Key_Control);
        QVERIFY(!desk.find<QCheckBox>("CheckBoxChsC")->isChecked());
        QCOMPARE(desk.form->statusText(), QString(" Записать в буфер "));

        // The digit 9 and the keypad's digits are no picture keys.
        press(focus, Qt::Key_9);
        press(focus, Qt::Key_1, Qt::KeypadModifier);
        QVERIFY(!one->isChecked());
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 97"));
    }

    void theWheelMovesOnlyThePagesSlider() {
        Desk desk;
        holdTimers(desk);
        auto* bank = desk.find<QScrollBar>("ScrolbarVertPos");
        auto* fader1 = desk.find<QScrollBar>("ScrollBar1");
        const int level = desk.state().show.level(desk.state().show.currentScene(), 1);
        wheel(fader1, 120);
        wheel(fader1, 120);
        QCOMPARE(bank->value(), 2);
        QCOMPARE(desk.state().show.level(desk.state().show.currentScene(), 1), level);
        wheel(desk.find<QScrollBar>("ScrollBarTemp"), -120);
        QCOMPARE(bank->value(), 1);
        QCOMPARE(desk.state().show.cell(cell::kTempo), 44);
        wheel(fader1, 360);
        QCOMPARE(bank->value(), 228);
        wheel(fader1, -360);
        QCOMPARE(bank->value(), 0);
        // On a page without a wheel slider nothing moves.
        desk.form->inputPages()->setCurrentIndex(TBaseForm::PagePatch);
        wheel(desk.form->inputPage(TBaseForm::PagePatch), 120);
        QCOMPARE(bank->value(), 0);
    }

    void lettersAndClicksLoadTheSlotsByHand() {
        ThreeShows shows;
        Desk desk(true, shows.ini());
        holdTimers(desk);
        auto* focus = desk.find<QScrollBar>("ScrollBarTemp");
        QCOMPARE(desk.find<QToolButton>("SpeedButton2")->text(), QString("W=Show2"));
        QCOMPARE(text(desk, "LabelKonveyr"), QString("No job"));

        press(focus, Qt::Key_W);
        QCOMPARE(loadedMark(desk), 20);
        QCOMPARE(desk.state().show.currentScene(), 0);
        QCOMPARE(text(desk, "LabelKonveyr"), QString("Show2"));
        QVERIFY(desk.find<QToolButton>("SpeedButton2")->isChecked());

        desk.state().show.setLevel(0, 1, 99);
        press(focus, Qt::Key_W, Qt::NoModifier, true);  // held: the job again
        QCOMPARE(loadedMark(desk), 20);

        desk.click("SpeedButton1");
        QCOMPARE(loadedMark(desk), 10);
        QVERIFY(!desk.find<QToolButton>("SpeedButton2")->isChecked());
        // A free slot goes down alone and loads nothing.
        desk.click("SpeedButton7");
        QCOMPARE(loadedMark(desk), 10);
        QVERIFY(desk.find<QToolButton>("SpeedButton7")->isChecked());
        QVERIFY(!desk.find<QToolButton>("SpeedButton1")->isChecked());

        // Keys off: nothing; another mode: a key does nothing either.
        desk.find<QCheckBox>("CheckBoxKeyKonveyr")->setChecked(false);
        press(focus, Qt::Key_E);
        QCOMPARE(loadedMark(desk), 10);
        desk.find<QCheckBox>("CheckBoxKeyKonveyr")->setChecked(true);
        desk.click("SpeedButtonKonvOff");
        press(focus, Qt::Key_E);
        QCOMPARE(loadedMark(desk), 10);
    }

    void rightClickBindsAndClearAsksFirst() {
        ThreeShows shows;
        Desk desk;
        auto* slot = desk.find<QToolButton>("SpeedButton4");
        ScriptedDialogs::queueFile(shows.dir.path() + "/LongName2024.lum");
        QTest::mousePress(slot, Qt::RightButton);
        QTest::mouseRelease(slot, Qt::RightButton);
        QCOMPARE(slot->text(), QString("R=LongNam"));
        QVERIFY(!slot->isChecked());
        QCOMPARE(desk.form->konveyorPath(4), shows.dir.path() + "/LongName2024.lum");
        QVERIFY(slot->font().bold());

        QCOMPARE(desk.find<QToolButton>("SpeedButtonKonvSpis")->accessibleName(),
                 QString("Конвейр с позиции"));
        desk.click("SpeedButtonKonvNew");  // answered No
        QCOMPARE(slot->text(), QString("R=LongNam"));
        ScriptedDialogs::queueAnswer(true);
        desk.click("SpeedButtonKonvNew");
        QCOMPARE(desk.log->questions.last(), QString("Удалить все файлы конвейра ? "));
        QCOMPARE(slot->text(), QString("R (пусто)"));
        QCOMPARE(desk.find<QToolButton>("SpeedButton20")->text(), QString("(пусто)"));
        QVERIFY(desk.form->konveyorPath(4).isEmpty());
    }

    void theAutomaticConveyorPlaysTheActiveSlotsAtEachWrap() {
        ThreeShows shows;
        QFile::remove(shows.path(2));  // a slot whose show has gone
        Desk desk(true, shows.ini());
        holdTimers(desk);
        desk.click("SpeedButtonKonvOff");
        for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"}) desk.click(name);
        desk.click("SpeedButtonKonvSpisBegin");
        QCOMPARE(loadedMark(desk), 10);
        QCOMPARE(desk.state().showRunning.get(), 1);
        QCOMPARE(text(desk, "LabelKonveyr"), QString("1 Show1"));

        auto* timer = desk.find<QTimer>("TimerSeqveser");
        const auto step = [&] {
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        };
        step();  // scene 1, then the wrap
        step();
        // Slot 2 is gone: its box, the show stays, the run goes on.
        QCOMPARE(desk.log->errors, QStringList({"Файл не существует !"}));
        QCOMPARE(loadedMark(desk), 10);
        QCOMPARE(desk.state().showRunning.get(), 1);
        step();
        step();
        QCOMPARE(loadedMark(desk), 30);
        QCOMPARE(text(desk, "LabelKonveyr"), QString("3 Show3"));
        step();
        step();  // nothing left: the last show plays once more
        QCOMPARE(loadedMark(desk), 30);
        step();
        step();
        QCOMPARE(loadedMark(desk), 10);

        desk.click("SpeedButtonKonvHand");
        QCOMPARE(desk.state().showRunning.get(), 0);
    }
};

QTEST_MAIN(KonveyrKeysTest)
#include "KonveyrKeysTest.moc"
