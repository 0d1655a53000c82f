// The sequencer page and the hot keys driven through the main window:
// play and stop, stepping, tempo, the indicator, the show clock, the scene
// and preset sliders, and the keys minus, plus and 0.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "edit/FaderPage.h"
#include "playback/SequencerPage.h"

using lumetra::testing::Desk;
using lumetra::ui::TBaseForm;

namespace {

lumetra::ui::SequencerPage* page(Desk& desk) {
    return desk.form->findChild<lumetra::ui::SequencerPage*>("SequencerPage");
}

// The timers of the page are stepped by hand.
void holdTimers(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock", "TimerDataDmxToDsp"})
        desk.find<QTimer>(name)->stop();
}

int current(Desk& desk) {
    return desk.state().show.currentScene();
}

QString text(Desk& desk, const char* label) {
    return desk.find<QLabel>(label)->text();
}

void writeShowFile(const QString& path, int tempo) {
    QByteArray bytes(lumetra::layout::kShowSize, '\0');
    bytes[lumetra::cell::kTempo] = static_cast<char>(tempo);
    bytes[lumetra::cell::kLastScene] = 1;
    lumetra::testing::writeBytes(path, bytes);
}

// Counts the layout requests of every widget while it lives.
struct LayoutCount : QObject {
    int requests = 0;
    LayoutCount() { qApp->installEventFilter(this); }
    ~LayoutCount() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest) ++requests;
        return false;
    }
};

}  // namespace

class SequencerPageTest : public QObject {
    Q_OBJECT

  private slots:
    void startsStoppedWithTheDeclaredControls() {
        Desk desk;
        QVERIFY(desk.find<QToolButton>("SpeedButtonStop")->isChecked());
        QVERIFY(!desk.find<QToolButton>("SpeedButtonPlay")->isChecked());
        QCOMPARE(desk.find<QToolButton>("SpeedButtonPlay")->toolTip(),
                 QString("Запустить Шоу - горячая кнопка /-/ "));
        QCOMPARE(desk.find<QToolButton>("SpeedButtonStop")->toolTip(),
                 QString("Остановить Шоу - горячая кнопка /+/ "));
        auto* tempo = desk.find<QScrollBar>("ScrollBarTemp");
        QCOMPARE(tempo->minimum(), 10);
        QCOMPARE(tempo->maximum(), 170);
        QCOMPARE(tempo->value(), 44);
        QCOMPARE(tempo->pageStep(), 10);
        // A cleared show has tempo 44: 1,936 ms, 30 scenes a minute.
        QCOMPARE(desk.find<QTimer>("TimerSeqveser")->interval(), 1936);
        QCOMPARE(text(desk, "LabelTemp"), QString("30  Сцен/мин "));
        QVERIFY(desk.find<QCheckBox>("CheckBoxRepeat")->isChecked());
        QCOMPARE(desk.find<QCheckBox>("CheckBoxRepeat")->text(), QString("Кольцо"));
        QVERIFY(!desk.find<QCheckBox>("CheckBoxAudio1")->isChecked());
        QCOMPARE(text(desk, "LabelScenHand"), QString("Уст 1"));
        QCOMPARE(desk.find<QScrollBar>("ScrollBarScenHand")->value(), 1);
        QCOMPARE(text(desk, "LabelStep"), QString("1"));
        QCOMPARE(text(desk, "LabelCoda"), QString("2"));
        QCOMPARE(desk.find<QScrollBar>("ScrollBarStep")->maximum(), 2);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarStep")->toolTip(),
                 QString("Установка текущей сцены"));
        // The scene buttons of the scene list sit on this page.
        QWidget* sequencerPage = desk.form->sceneTabs()->widget(0);
        QVERIFY(
            sequencerPage->isAncestorOf(desk.form->slot(TBaseForm::Slot::SequencerSceneButtons)));
    }

    void twoSceneShowAlternatesWhilePlaying() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.setLevel(0, 1, 0);
        show.setLevel(1, 1, 255);
        int played = 0;
        desk.form->on(TBaseForm::Hook::ModePlay, [&] { ++played; });

        // Stopped: the indicator flashes, the scene stays.
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 0);

        desk.click("SpeedButtonPlay");
        QCOMPARE(desk.state().showRunning.get(), 1);
        QCOMPARE(played, 1);
        QVERIFY(desk.find<QToolButton>("SpeedButtonPlay")->isChecked());
        QVERIFY(!desk.find<QToolButton>("SpeedButtonStop")->isChecked());

        QList<int> seen;
        QStringList labels;
        for (int i = 0; i < 4; ++i) {
            page(desk)->TimerSeqveserTimer();
            seen << current(desk);
            labels << text(desk, "LabelStep");
        }
        QCOMPARE(seen, (QList<int>{1, 0, 1, 0}));
        QCOMPARE(labels, (QStringList{"2", "1", "2", "1"}));
        // Tempo 44: a = 1936 div 50 = 38; a move of 255 gets 255 div 38.
        QCOMPARE(desk.state().tempoSteps.get(0), 255 / 38);
        // Unchanged channels step by 1, never 0.
        QCOMPARE(desk.state().tempoSteps.get(1), 1);
    }

    // A playing show changes the step, clock and output labels and the
    // faders: the changed controls show it, and once each label has taken
    // its widest text nothing is laid out again.
    void playingStepsLayNothingOutAgain() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.setCell(lumetra::cell::kLastScene, 11);  // steps 1..12: one and two digits
        for (int s = 0; s < 12; ++s)
            for (int c = 1; c <= 27; ++c) show.setLevel(s, c, (s * 97 + c * 13) % 256);
        desk.form->ReturnPageControlAll();
        QVERIFY(QTest::qWaitForWindowExposed(desk.form.get()));
        auto* faders = desk.form->findChild<lumetra::ui::FaderPage*>("FaderPage");
        auto* fader = desk.find<QScrollBar>("ScrollBar1");
        desk.click("SpeedButtonPlay");
        auto playOnce = [&](int i) {
            page(desk)->TimerSeqveserTimer();
            page(desk)->TimerShouClockTimer();
            desk.state().dmxLine.set(1, static_cast<std::uint8_t>(i % 12 * 20));
            faders->TimerDataDmxToDspTimer();
            QCoreApplication::processEvents();
        };
        for (int i = 0; i < 12; ++i) playOnce(i);
        const QRect faderAt = fader->geometry();
        const QRect pagesAt = desk.form->inputPages()->geometry();

        LayoutCount layouts;
        QStringList steps;
        for (int i = 0; i < 12; ++i) {
            playOnce(i);
            steps << text(desk, "LabelStep");
        }
        QCOMPARE(steps.mid(8), (QStringList{"10", "11", "12", "1"}));
        QCOMPARE(fader->value(), show.level(0, 1));
        QCOMPARE(text(desk, "Label1"), QString::number(11 * 20));
        QCOMPARE(text(desk, "LabelTimeShou"), QString("Шоу   = 0ч 0м 24с "));
        QCOMPARE(layouts.requests, 0);
        QCOMPARE(fader->geometry(), faderAt);
        QCOMPARE(desk.form->inputPages()->geometry(), pagesAt);
    }

    void stopKeepsTheSceneAndDoubleClickRestartsFromTheFirst() {
        Desk desk;
        holdTimers(desk);
        desk.state().show.setCell(lumetra::cell::kLastScene, 3);
        int stopped = 0;
        desk.form->on(TBaseForm::Hook::ModeStop, [&] { ++stopped; });

        desk.click("SpeedButtonPlay");
        page(desk)->TimerSeqveserTimer();
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 2);
        desk.click("SpeedButtonStop");
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(stopped, 1);
        QVERIFY(desk.find<QToolButton>("SpeedButtonStop")->isChecked());
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 2);

        // Play continues from the scene it stopped at.
        desk.click("SpeedButtonPlay");
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 3);

        QTest::mouseDClick(desk.find<QToolButton>("SpeedButtonPlay"), Qt::LeftButton);
        QCOMPARE(desk.state().showRunning.get(), 1);
        QCOMPARE(current(desk), 0);
        QCOMPARE(text(desk, "LabelStep"), QString("1"));
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 1);
    }

    void aStopMadeElsewhereShowsOnTheButtons() {
        Desk desk;
        holdTimers(desk);
        int stopped = 0;
        desk.form->on(TBaseForm::Hook::ModeStop, [&] { ++stopped; });
        desk.click("SpeedButtonPlay");
        for (int i = 0; i < 5; ++i) page(desk)->TimerShouClockTimer();
        desk.state().showRunning.set(0);  // as blackout or ClearAll stop the show
        auto* faders = desk.form->findChild<lumetra::ui::FaderPage*>("FaderPage");
        QVERIFY(faders);
        faders->TimerDataDmxToDspTimer();
        QVERIFY(desk.find<QToolButton>("SpeedButtonStop")->isChecked());
        QVERIFY(!desk.find<QToolButton>("SpeedButtonPlay")->isChecked());
        // The scene editing controls come back, once, and the pause clock
        // starts from the stop.
        QCOMPARE(stopped, 1);
        faders->TimerDataDmxToDspTimer();
        QCOMPARE(stopped, 1);
        page(desk)->TimerShouClockTimer();
        QCOMPARE(text(desk, "LabelTimePause"), QString("Паузa = 0ч 0м 1с "));
    }

    void tempoSliderSetsIntervalAndLabel() {
        Desk desk;
        holdTimers(desk);
        auto* tempo = desk.find<QScrollBar>("ScrollBarTemp");
        tempo->setValue(10);
        QCOMPARE(desk.state().show.cell(lumetra::cell::kTempo), 10);
        QCOMPARE(desk.find<QTimer>("TimerSeqveser")->interval(), 100);
        QCOMPARE(text(desk, "LabelTemp"), QString("600  Сцен/мин "));

        // a = 2: a move of 255 gets 127.
        lumetra::ShowMemory& show = desk.state().show;
        show.setLevel(1, 7, 255);
        desk.click("SpeedButtonPlay");
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(desk.state().tempoSteps.get(6), 127);

        tempo->setValue(170);
        QCOMPARE(desk.find<QTimer>("TimerSeqveser")->interval(), 28900);
        QCOMPARE(text(desk, "LabelTemp"), QString("2  Сцен/мин "));
        page(desk)->TimerSeqveserTimer();  // back to scene 0: the same move
        QCOMPARE(desk.state().tempoSteps.get(6), 1);
    }

    void tempoOutOfRangeFromALoadedFileIsBounded_data() {
        QTest::addColumn<int>("cellValue");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("label");
        QTest::newRow("zero") << 0 << 10 << 100 << "600  Сцен/мин ";
        QTest::newRow("negative product") << 200 << 170 << 28900 << "2  Сцен/мин ";
        QTest::newRow("top") << 255 << 170 << 28900 << "2  Сцен/мин ";
    }
    void tempoOutOfRangeFromALoadedFileIsBounded() {
        QFETCH(int, cellValue);
        QFETCH(int, slider);
        QFETCH(int, interval);
        QFETCH(QString, label);
        Desk desk;
        holdTimers(desk);
        const QString path = desk.home.path() + "/odd.lum";
        writeShowFile(path, cellValue);
        lumetra::testing::ScriptedDialogs::queueFile(path);
        desk.form->OpenItemClick();
        QCOMPARE(desk.find<QTimer>("TimerSeqveser")->interval(), interval);
        QCOMPARE(text(desk, "LabelTemp"), label);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarTemp")->value(), slider);
        // The refresh shows the show; it does not rewrite the loaded cell.
        QCOMPARE(int(desk.state().show.cell(lumetra::cell::kTempo)), cellValue);
    }

    void soundTriggerStepsOnlyAfterABeat() {
        Desk desk;
        holdTimers(desk);
        desk.find<QCheckBox>("CheckBoxAudio1")->setChecked(true);
        desk.click("SpeedButtonPlay");
        auto* shape = desk.form->findChild<lumetra::ui::ColorShape*>("ShapeTempClikc");
        QVERIFY(shape);
        for (int i = 0; i < 3; ++i) {
            page(desk)->TimerSeqveserTimer();
            QCOMPARE(current(desk), 0);
            QCOMPARE(shape->color(), QColor(0, 255, 0));  // the indicator still flashes
        }
        desk.state().beatFlag.set(1);
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 1);
        QCOMPARE(desk.state().beatFlag.get(), 0);
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(current(desk), 1);
    }

    void indicatorColoursAndTheirEnd() {
        Desk desk;
        holdTimers(desk);
        auto* shape = desk.form->findChild<lumetra::ui::ColorShape*>("ShapeTempClikc");
        auto& controls = desk.state().controls;
        QVERIFY(!shape->color().isValid());

        page(desk)->TimerSeqveserTimer();
        QCOMPARE(shape->color(), QColor(0, 255, 0));
        QVERIFY(desk.find<QTimer>("TimerColorLentaTempa")->isActive());
        page(desk)->TimerColorLentaTempaTimer();
        QVERIFY(!shape->color().isValid());
        QVERIFY(!desk.find<QTimer>("TimerColorLentaTempa")->isActive());

        controls.blackout.set(1);
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(shape->color(), QColor(0, 0, 0));
        controls.macroOut.set(1);  // red wins over black
        page(desk)->TimerSeqveserTimer();
        QCOMPARE(shape->color(), QColor(255, 0, 0));
        controls.blackout.set(0);
        controls.macroOut.set(0);
    }

    void clockCountsPlayingAndPauseTime() {
        Desk desk;
        holdTimers(desk);
        page(desk)->TimerShouClockTimer();
        QCOMPARE(text(desk, "LabelTimePause"), QString("Паузa = 0ч 0м 1с "));
        QCOMPARE(text(desk, "LabelTimeShou"), QString("Время в Шоу ?"));

        desk.click("SpeedButtonPlay");
        for (int i = 0; i < 60; ++i) page(desk)->TimerShouClockTimer();
        QCOMPARE(text(desk, "LabelTimeShou"), QString("Шоу   = 0ч 1м 0с "));
        QCOMPARE(text(desk, "LabelTimePause"), QString("Паузa = 0ч 0м 1с "));

        desk.click("SpeedButtonStop");
        page(desk)->TimerShouClockTimer();
        QCOMPARE(text(desk, "LabelTimePause"), QString("Паузa = 0ч 0м 1с "));
        QCOMPARE(text(desk, "LabelTimeShou"), QString("Шоу   = 0ч 1м 0с "));
    }

    void clockRefreshesCaptionPrefixAndKeepsAFreshMessage() {
        Desk desk;
        holdTimers(desk);
        const lumetra::InterfaceCaption expected =
            lumetra::interfaceCaption(desk.form->interfaceState());
        desk.form->OutStatus("сообщение");
        const QString before = desk.form->windowTitle();
        page(desk)->TimerShouClockTimer();
        QCOMPARE(desk.form->captionPrefix(), QString::fromStdString(expected.captionPrefix));
        // The caption takes the prefix at the next refresh, not by itself.
        if (expected.captionPrefix != " Initalization ") QCOMPARE(desk.form->windowTitle(), before);
        desk.form->ReturnPageControlAll();
        QVERIFY(desk.form->windowTitle().startsWith(desk.form->captionPrefix()));
        // A message keeps its two seconds.
        QCOMPARE(desk.form->statusText(), QString("сообщение"));
        desk.find<QTimer>("TimerStatus")->stop();
        page(desk)->TimerShouClockTimer();
        QCOMPARE(desk.form->statusText(), QString::fromStdString(expected.statusPanel));
    }

    void sceneSliderSelectsAndIsRefusedWhilePlaying() {
        Desk desk;
        holdTimers(desk);
        auto* step = desk.find<QScrollBar>("ScrollBarStep");
        step->setValue(1);
        QCOMPARE(current(desk), 1);
        QCOMPARE(text(desk, "LabelStep"), QString("2"));

        desk.click("SpeedButtonPlay");
        step->setValue(0);
        QCOMPARE(current(desk), 1);
        QCOMPARE(step->value(), 1);  // the refresh put it back
        desk.click("SpeedButtonStop");

        // With auto-add, a step beyond the end grows the show.
        desk.form->setAutoAddScenes(true);
        desk.state().show.setLevel(1, 9, 77);
        step->setValue(2);
        QCOMPARE(int(desk.state().show.lastScene()), 2);
        QCOMPARE(desk.state().show.level(2, 9), 77);
        QCOMPARE(text(desk, "LabelCoda"), QString("3"));
        QCOMPARE(step->maximum(), 3);
    }

    void sceneSliderMaximumStopsAt255() {
        Desk desk;
        holdTimers(desk);
        desk.state().show.setCell(lumetra::cell::kLastScene, 255);
        desk.form->ReturnPageControlAll();
        QCOMPARE(desk.find<QScrollBar>("ScrollBarStep")->maximum(), 255);
        QCOMPARE(text(desk, "LabelCoda"), QString("256"));
    }

    void presetStartScene() {
        Desk desk;
        holdTimers(desk);
        desk.state().show.setCell(lumetra::cell::kLastScene, 5);
        desk.form->ReturnPageControlAll();
        desk.find<QScrollBar>("ScrollBarScenHand")->setValue(4);
        QCOMPARE(text(desk, "LabelScenHand"), QString("Уст 5"));
        QCOMPARE(current(desk), 0);  // the preset alone changes nothing
        desk.click("SpeedButtonScenHand");
        QCOMPARE(current(desk), 4);
        QCOMPARE(text(desk, "LabelStep"), QString("5"));

        // While playing the scene slider refuses, and so does the preset.
        desk.find<QScrollBar>("ScrollBarScenHand")->setValue(1);
        desk.click("SpeedButtonPlay");
        desk.click("SpeedButtonScenHand");
        QCOMPARE(current(desk), 4);

        // A preset beyond the end of the show stops at the slider's end.
        desk.click("SpeedButtonStop");
        desk.find<QScrollBar>("ScrollBarScenHand")->setValue(200);
        desk.click("SpeedButtonScenHand");
        QCOMPARE(current(desk), 6);
    }

    void hotKeysPlayStopAndBlackout() {
        Desk desk;
        holdTimers(desk);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        auto* focus = desk.find<QScrollBar>("ScrollBarTemp");
        focus->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        int played = 0;
        desk.form->on(TBaseForm::Hook::ModePlay, [&] { ++played; });
        QVERIFY(desk.find<QCheckBox>("CheckBoxFlashOn")->isChecked());
        QCOMPARE(text(desk, "LabelKeySp"), QString("Клавиатура ?"));

        // The press climbs from the slider to the window; it acts once.
        QTest::keyClick(focus, Qt::Key_Minus);
        QCOMPARE(desk.state().showRunning.get(), 1);
        QCOMPARE(played, 1);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 189"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonPlay")->isChecked());

        QTest::keyClick(focus, Qt::Key_Equal);
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 187"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonStop")->isChecked());

        QTest::keyClick(focus, Qt::Key_Minus);
        QCOMPARE(played, 2);
        auto* blackout = desk.find<QCheckBox>("CheckBoxBlackOut");
        QVERIFY(blackout);
        const bool wasBlack = blackout->isChecked();
        QTest::keyClick(focus, Qt::Key_0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 48"));
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(blackout->isChecked(), !wasBlack);
        QTest::keyClick(focus, Qt::Key_0);
        QCOMPARE(blackout->isChecked(), wasBlack);

        // The keypad's minus and the digit 9 are not hot keys.
        QTest::keyClick(focus, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 109"));
        QTest::keyClick(focus, Qt::Key_9);
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 57"));
    }

    void heldKeyRepeatsAndPreviewCanBeSwitchedOff() {
        Desk desk;
        holdTimers(desk);
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        auto* focus = desk.find<QScrollBar>("ScrollBarStep");
        focus->setFocus();
        auto* blackout = desk.find<QCheckBox>("CheckBoxBlackOut");
        QVERIFY(blackout);
        const bool wasBlack = blackout->isChecked();

        QTest::keyPress(focus, Qt::Key_0);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, "0", true);
        QApplication::sendEvent(focus, &repeat);
        QKeyEvent repeat2(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, "0", true);
        QApplication::sendEvent(focus, &repeat2);
        QTest::keyRelease(focus, Qt::Key_0);
        // The press and two repeats: three toggles, each one once.
        QCOMPARE(blackout->isChecked(), !wasBlack);
        QKeyEvent repeat3(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, "0", true);
        QApplication::sendEvent(focus, &repeat3);
        QCOMPARE(blackout->isChecked(), wasBlack);

        // Unticked, keys reach the focused control only.
        desk.find<QCheckBox>("CheckBoxFlashOn")->setChecked(false);
        QTest::keyClick(focus, Qt::Key_Minus);
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("NomberKey is 48"));
        desk.find<QCheckBox>("CheckBoxFlashOn")->setChecked(true);
        QTest::keyClick(focus, Qt::Key_Minus);
        QCOMPARE(desk.state().showRunning.get(), 1);
    }

    void keysTypedIntoAnotherWindowAreNotHotKeys() {
        Desk desk;
        holdTimers(desk);
        QLineEdit other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::keyClick(&other, Qt::Key_Minus);
        QCOMPARE(other.text(), QString("-"));
        QCOMPARE(desk.state().showRunning.get(), 0);
        QCOMPARE(text(desk, "LabelKeySp"), QString("Клавиатура ?"));
    }
};

QTEST_MAIN(SequencerPageTest)
#include "SequencerPageTest.moc"
