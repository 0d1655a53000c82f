// The fader page driven through the main window: faders over the bank,
// level and selection tools, the group level and rate sliders, manual
// control, and the output display.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "edit/FaderPage.h"
#include "playback/SequencerPage.h"

using lumetra::testing::Desk;
using lumetra::ui::TBaseForm;

namespace {

lumetra::ui::FaderPage* page(Desk& desk) {
    return desk.form->findChild<lumetra::ui::FaderPage*>("FaderPage");
}

void holdTimers(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock", "TimerDataDmxToDsp"})
        desk.find<QTimer>(name)->stop();
}

QScrollBar* fader(Desk& desk, int n) {
    return desk.find<QScrollBar>(QString("ScrollBar%1").arg(n));
}
QCheckBox* box(Desk& desk, int n) {
    return desk.find<QCheckBox>(QString("CheckBox%1").arg(n));
}
QLabel* output(Desk& desk, int n) {
    return desk.find<QLabel>(QString("Label%1").arg(n));
}

int level(Desk& desk, int channel) {
    return desk.state().show.level(desk.state().show.currentScene(), channel);
}
int flag(Desk& desk, int channel) {
    return desk.state().show.get(lumetra::layout::selectionOffset(channel));
}
int rate(Desk& desk, int channel) {
    return desk.state().show.get(lumetra::layout::rateOffset(channel));
}

void play(Desk& desk) {
    desk.click("SpeedButtonPlay");
}
void stop(Desk& desk) {
    desk.click("SpeedButtonStop");
}

}  // namespace

class FaderPageTest : public QObject {
    Q_OBJECT

  private slots:
    void rowsAreBuiltWithTheirNamesAndRanges() {
        Desk desk;
        for (int n = 1; n <= 27; ++n) {
            const QString two = QString("%1").arg(n, 2, 10, QChar('0'));
            QVERIFY(desk.find<QLabel>("Label" + two + "c"));
            QVERIFY(desk.find<QScrollBar>("ScrollBarRate" + two));
            QVERIFY(desk.find<QLineEdit>(QString("Edit%1").arg(n)));
            QVERIFY(desk.find<QWidget>(QString("Shape%1").arg(n)));
            QVERIFY(desk.find<QWidget>(QString("Image%1").arg(n)));
            QCOMPARE(fader(desk, n)->maximum(), 255);
            QCOMPARE(fader(desk, n)->pageStep(), 10);
            QVERIFY(box(desk, n));
        }
        QCOMPARE(desk.find<QLabel>("Label27c")->text(), QString("27"));
        QCOMPARE(box(desk, 1)->toolTip(),
                 QString("Индивидуальный выбор канала для режимов и блоков: Флэш, Ручной, "
                         "Уровни, Время"));
        QCOMPARE(box(desk, 2)->toolTip(), QString("Индивидуальный выбор канала "));
        auto* bank = desk.find<QScrollBar>("ScrolbarVertPos");
        QCOMPARE(bank->maximum(), 228);
        QCOMPARE(bank->pageStep(), 20);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarLevelAll")->value(), 127);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarRateLeuel")->value(), 7);
        QCOMPARE(desk.find<QLabel>("LabelRate")->text(), QString("2 sec"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonOutLevel255")->isChecked());
        QVERIFY(desk.find<QToolButton>("SpeedButtonLevel255")->isChecked());
        // The slots of the other rooms sit on the page.
        QWidget* faders = desk.form->inputPage(TBaseForm::PageFaders);
        QVERIFY(faders->isAncestorOf(desk.form->slot(TBaseForm::Slot::FaderOutputButtons)));
        QVERIFY(faders->isAncestorOf(desk.form->slot(TBaseForm::Slot::FaderUndo)));
        // A new show: every rate slider at 7.
        for (int n = 1; n <= 27; ++n)
            QCOMPARE(desk.find<QScrollBar>(QString("ScrollBarRate%1").arg(n, 2, 10, QChar('0')))
                         ->value(),
                     7);
    }

    void fadersWriteTheCurrentSceneOnlyWhileStopped() {
        Desk desk;
        holdTimers(desk);
        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(10);
        QCOMPARE(desk.find<QLabel>("Label01c")->text(), QString("11"));
        QCOMPARE(desk.find<QLabel>("Label27c")->text(), QString("37"));

        fader(desk, 5)->setValue(200);
        QCOMPARE(level(desk, 15), 200);
        QCOMPARE(level(desk, 5), 0);

        play(desk);
        fader(desk, 5)->setValue(100);
        QCOMPARE(level(desk, 15), 200);
        stop(desk);

        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(228);
        QCOMPARE(desk.find<QLabel>("Label01c")->text(), QString("229"));
        QCOMPARE(desk.find<QLabel>("Label27c")->text(), QString("255"));
        fader(desk, 27)->setValue(9);
        QCOMPARE(level(desk, 255), 9);
    }

    void refreshShowsTheSceneWithoutWritingIt() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        for (int c = 1; c <= 27; ++c) show.setLevel(1, c, static_cast<std::uint8_t>(c * 9));
        show.set(lumetra::layout::rateOffset(4), 3);  // not a step of the scale
        lumetra::ShowMemory::Image before;
        show.snapshot(before);

        desk.find<QScrollBar>("ScrollBarStep")->setValue(1);
        for (int n = 1; n <= 27; ++n) QCOMPARE(fader(desk, n)->value(), n * 9);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarRate04")->value(), 2);
        desk.form->ReturnPageControlAll();

        lumetra::ShowMemory::Image after;
        show.snapshot(after);
        after[lumetra::cell::kCurrentScene] = before[lumetra::cell::kCurrentScene];
        QVERIFY(before == after);
        QCOMPARE(rate(desk, 4), 3);
    }

    void playingRefreshFollowsTheSteps() {
        Desk desk;
        holdTimers(desk);
        desk.state().show.setLevel(1, 2, 140);
        play(desk);
        desk.form->findChild<lumetra::ui::SequencerPage*>("SequencerPage")->TimerSeqveserTimer();
        QCOMPARE(fader(desk, 2)->value(), 140);
        QCOMPARE(int(desk.state().controls.faderPosition.get(1)), 140);
    }

    void levelButtons() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.setLevel(0, 28, 33);
        show.setLevel(0, 200, 44);
        show.setLevel(0, 0, 7);

        desk.click("SpeedButtonVis255");
        for (int c = 1; c <= 27; ++c) QCOMPARE(level(desk, c), 255);
        QCOMPARE(level(desk, 28), 33);
        QCOMPARE(desk.form->statusText(), QString(" Установлено в 255"));
        QCOMPARE(fader(desk, 27)->value(), 255);

        desk.click("SpeedButtonVis127");
        QCOMPARE(level(desk, 14), 127);
        QCOMPARE(desk.form->statusText(), QString(" Установлено в 127"));
        QCOMPARE(fader(desk, 1)->value(), 127);

        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(1);
        desk.click("SpeedButtonVis0");
        QCOMPARE(level(desk, 1), 127);
        QCOMPARE(level(desk, 28), 0);
        QCOMPARE(desk.form->statusText(), QString(" Установлено в 0 "));

        desk.click("SpeedButtonAllScrl0");
        QCOMPARE(level(desk, 1), 0);
        QCOMPARE(level(desk, 200), 0);
        QCOMPARE(int(show.get(show.CurrentSceneBase())), 0);
        QCOMPARE(desk.form->statusText(), QString(" Вся сцена установлена в 0"));

        // While playing they leave the scene alone, without a message.
        desk.find<QTimer>("TimerStatus")->stop();
        desk.form->OutStatus("");
        play(desk);
        desk.click("SpeedButtonVis255");
        desk.click("SpeedButtonAllScrl0");
        QCOMPARE(level(desk, 2), 0);
        QCOMPARE(desk.form->statusText(), QString(""));
        QCOMPARE(fader(desk, 1)->value(), 0);
    }

    void selectionButtonsAndBoxes() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.set(lumetra::layout::selectionOffset(100), 1);

        desk.click("SpeedButtonOnVisCheck");
        for (int n = 1; n <= 27; ++n) {
            QVERIFY(box(desk, n)->isChecked());
            QCOMPARE(flag(desk, n), 1);
        }
        QCOMPARE(flag(desk, 28), 0);
        QCOMPARE(int(desk.state().controls.faderTicked.get(26)), 1);

        desk.click("SpeedButtonInv21");
        for (int n = 21; n <= 25; ++n) {
            QVERIFY(!box(desk, n)->isChecked());
            QCOMPARE(flag(desk, n), 0);
        }
        QVERIFY(box(desk, 20)->isChecked());
        QVERIFY(box(desk, 26)->isChecked());
        QVERIFY(box(desk, 27)->isChecked());
        desk.click("SpeedButtonInv1");
        QVERIFY(!box(desk, 1)->isChecked());
        QVERIFY(box(desk, 6)->isChecked());

        desk.click("SpeedButtonOffVisCheck");
        for (int n = 1; n <= 27; ++n) QVERIFY(!box(desk, n)->isChecked());
        QCOMPARE(flag(desk, 100), 1);

        // A click is stored also while the show plays.
        play(desk);
        box(desk, 3)->click();
        QCOMPARE(flag(desk, 3), 1);
        QCOMPARE(int(desk.state().controls.faderTicked.get(2)), 1);
        stop(desk);

        desk.click("SpeedButtonOffAllCheck");
        QCOMPARE(flag(desk, 100), 0);
        QCOMPARE(flag(desk, 3), 0);
        QVERIFY(!box(desk, 3)->isChecked());
        QCOMPARE(desk.form->statusText(), QString(" Все флажки Установлены "));

        // Only a 1 shows ticked; a bank change shows the new bank's flags.
        show.set(lumetra::layout::selectionOffset(31), 2);
        show.set(lumetra::layout::selectionOffset(32), 1);
        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(30);
        QVERIFY(!box(desk, 1)->isChecked());
        QVERIFY(box(desk, 2)->isChecked());
    }

    void groupLevelSetsEverySelectedChannel() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.set(lumetra::layout::selectionOffset(40), 2);  // outside the bank: selected
        show.set(lumetra::layout::selectionOffset(3), 2);   // visible, shown unticked
        desk.form->ReturnPageControlAll();
        box(desk, 5)->click();

        desk.find<QScrollBar>("ScrollBarLevelAll")->setValue(200);
        QCOMPARE(level(desk, 40), 200);
        QCOMPARE(level(desk, 5), 200);
        QCOMPARE(level(desk, 3), 0);
        QCOMPARE(flag(desk, 3), 0);
        QCOMPARE(fader(desk, 5)->value(), 200);

        // It is not held back by playback.
        play(desk);
        desk.find<QScrollBar>("ScrollBarLevelAll")->setValue(60);
        QCOMPARE(level(desk, 5), 60);
        QCOMPARE(fader(desk, 5)->value(), 60);
    }

    void manualControlKeepsTickedFaders() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        for (int c = 1; c <= 27; ++c) show.setLevel(1, c, 50);
        fader(desk, 1)->setValue(10);
        fader(desk, 3)->setValue(30);
        box(desk, 1)->click();
        box(desk, 3)->click();
        desk.state().controls.manual.set(1);

        desk.find<QScrollBar>("ScrollBarStep")->setValue(1);
        QCOMPARE(fader(desk, 1)->value(), 10);
        QCOMPARE(fader(desk, 3)->value(), 30);
        QCOMPARE(fader(desk, 2)->value(), 50);
        QCOMPARE(fader(desk, 27)->value(), 50);
        // The mirrors the tick overlays from.
        QCOMPARE(int(desk.state().controls.faderPosition.get(0)), 10);
        QCOMPARE(int(desk.state().controls.faderPosition.get(1)), 50);
        // Moving a ticked fader still writes the (new) current scene.
        fader(desk, 3)->setValue(31);
        QCOMPARE(show.level(1, 3), 31);

        desk.state().controls.manual.set(0);
        desk.form->ReturnPageControlAll();
        QCOMPARE(fader(desk, 1)->value(), 50);
    }

    void rateSliders() {
        Desk desk;
        holdTimers(desk);
        auto* label = desk.find<QLabel>("LabelRate");
        auto rateBar = [&](int n) {
            return desk.find<QScrollBar>(QString("ScrollBarRate%1").arg(n, 2, 10, QChar('0')));
        };
        rateBar(26)->setValue(0);
        QCOMPARE(rate(desk, 26), 1);
        QCOMPARE(rate(desk, 25), 255);
        QCOMPARE(rate(desk, 27), 255);
        QCOMPARE(label->text(), QString("15"));
        rateBar(26)->setValue(7);
        QCOMPARE(label->text(), QString("no"));
        QCOMPARE(rate(desk, 26), 255);

        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(100);
        rateBar(1)->setValue(5);
        QCOMPARE(rate(desk, 101), 50);
        QCOMPARE(label->text(), QString("0,5"));

        // Group slider with nothing selected: cell 136 and the label only.
        lumetra::ShowMemory::Image before;
        desk.state().show.snapshot(before);
        desk.find<QScrollBar>("ScrollBarRateLeuel")->setValue(2);
        QCOMPARE(label->text(), QString("3"));
        lumetra::ShowMemory::Image after;
        desk.state().show.snapshot(after);
        QCOMPARE(int(after[lumetra::cell::kGroupRate]), 4);
        after[lumetra::cell::kGroupRate] = before[lumetra::cell::kGroupRate];
        QVERIFY(before == after);

        // With a selection: every selected channel, and the rows show it.
        desk.state().show.set(lumetra::layout::selectionOffset(7), 1);
        box(desk, 2)->click();  // channel 102
        desk.find<QScrollBar>("ScrollBarRateLeuel")->setValue(4);
        QCOMPARE(rate(desk, 7), 20);
        QCOMPARE(rate(desk, 102), 20);
        QCOMPARE(rate(desk, 103), 255);
        QCOMPARE(rateBar(2)->value(), 4);
    }

    // The faders keep the looks the style drew: what shows is what a plain
    // scroll bar of the same size and position shows, cached or not.
    void fadersLookLikePlainScrollBars() {
        Desk desk;
        holdTimers(desk);
        auto* fader = desk.find<QScrollBar>("ScrollBar1");
        QScrollBar plain(Qt::Horizontal, fader->parentWidget());
        plain.setRange(0, 255);
        plain.setPageStep(fader->pageStep());
        plain.setGeometry(fader->geometry());
        plain.show();
        for (int level : {77, 0, 255, 77}) {
            desk.state().show.setLevel(0, 1, level);
            desk.form->ReturnPageControlAll();
            plain.setValue(level);
            QCOMPARE(fader->value(), level);
            QCOMPARE(fader->grab().toImage(), plain.grab().toImage());
        }
    }

    void outputLabelsFollowTheLine() {
        Desk desk;
        holdTimers(desk);
        lumetra::ShowMemory& show = desk.state().show;
        show.setLevel(0, 1, 255);
        show.setLevel(0, 2, 1);
        show.setLevel(0, 3, 127);
        show.setLevel(0, 4, 128);
        // The real-time tick brings the line to the scene (rate 255 jumps).
        QTRY_COMPARE(int(desk.state().dmxLine.get(4)), 128);

        page(desk)->TimerDataDmxToDspTimer();
        QCOMPARE(output(desk, 1)->text(), QString("255"));
        QCOMPARE(output(desk, 2)->text(), QString("1"));
        QCOMPARE(output(desk, 5)->text(), QString("0"));

        desk.click("SpeedButtonOutLevel100");
        QVERIFY(!desk.find<QToolButton>("SpeedButtonOutLevel255")->isChecked());
        page(desk)->TimerDataDmxToDspTimer();
        QCOMPARE(output(desk, 1)->text(), QString("100"));
        QCOMPARE(output(desk, 2)->text(), QString("1"));
        QCOMPARE(output(desk, 3)->text(), QString("50"));
        QCOMPARE(output(desk, 4)->text(), QString("51"));
        QCOMPARE(output(desk, 5)->text(), QString("0"));

        // Slow mode: three rows a tick, each row every ninth tick.
        desk.click("SpeedButtonLevel255");
        QVERIFY(!desk.find<QToolButton>("SpeedButtonLevel255")->isChecked());
        for (int n = 1; n <= 27; ++n) output(desk, n)->setText("x");
        page(desk)->TimerDataDmxToDspTimer();
        QStringList refreshed;
        for (int n = 1; n <= 27; ++n)
            if (output(desk, n)->text() != "x") refreshed << QString::number(n);
        QCOMPARE(refreshed.size(), 3);
        for (int i = 0; i < 8; ++i) page(desk)->TimerDataDmxToDspTimer();
        for (int n = 1; n <= 27; ++n) QVERIFY(output(desk, n)->text() != "x");

        // Another page in front: the labels are left alone.
        desk.form->inputPages()->setCurrentIndex(TBaseForm::PageGraph);
        output(desk, 1)->setText("x");
        for (int i = 0; i < 9; ++i) page(desk)->TimerDataDmxToDspTimer();
        QCOMPARE(output(desk, 1)->text(), QString("x"));
    }

    void clearingTheShowResetsTheBank() {
        Desk desk;
        holdTimers(desk);
        desk.find<QScrollBar>("ScrolbarVertPos")->setValue(50);
        box(desk, 1)->click();
        QCOMPARE(flag(desk, 51), 1);
        desk.form->ClearAll();
        QCOMPARE(desk.find<QScrollBar>("ScrolbarVertPos")->value(), 0);
        QCOMPARE(int(desk.state().controls.bankOffset.get()), 0);
        QCOMPARE(desk.find<QLabel>("Label01c")->text(), QString("1"));
        QVERIFY(!box(desk, 1)->isChecked());
    }
};

QTEST_MAIN(FaderPageTest)
#include "FaderPageTest.moc"
