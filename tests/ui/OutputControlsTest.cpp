// The live output controls of the main window: crossfade mode, blackout
// and macro buttons, picture keys, manual control, offline mode and the
// interface listing. The tick itself is driven by hand here.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include "UiHarness.h"
#include "output/OutputControls.h"
#include "show/ShowMemory.h"

using lumetra::testing::Desk;
namespace layout = lumetra::layout;

class OutputControlsTest : public QObject {
    Q_OBJECT

private slots:
    void crossfadeModeReachesTheTick() {
        Desk desk;
        auto& mode = desk.state().controls.crossfadeMode;
        QCOMPARE(mode.get(), 0);
        QVERIFY(desk.find<QRadioButton>("RadioGroupRateItem0")->isChecked());
        desk.find<QRadioButton>("RadioGroupRateItem2")->click();
        QCOMPARE(mode.get(), 2);
        desk.find<QRadioButton>("RadioGroupRateItem1")->click();
        QCOMPARE(mode.get(), 1);
    }

    void blackoutButtonsAndCheckBoxMoveTogetherAndStopTheShow() {
        Desk desk;
        auto& c = desk.state();
        auto* box = desk.find<QCheckBox>("CheckBoxBlackOut");
        auto* normal = desk.find<QToolButton>("SpeedButtonOnScena");
        auto* black = desk.find<QToolButton>("SpeedButtonBlackOut");
        auto* macro = desk.find<QToolButton>("SpeedButtonMacrosOut");
        QVERIFY(normal->isChecked());

        c.showRunning.set(1);
        black->click();
        QVERIFY(box->isChecked());
        QVERIFY(black->isChecked());
        QCOMPARE(c.controls.blackout.get(), 1);
        QCOMPARE(c.showRunning.get(), 0);

        c.showRunning.set(1);
        normal->click();
        QVERIFY(!box->isChecked());
        QCOMPARE(c.controls.blackout.get(), 0);
        QCOMPARE(c.showRunning.get(), 0);

        // Ticking the box by hand puts the blackout button down.
        box->click();
        QVERIFY(black->isChecked());
        box->click();
        QVERIFY(normal->isChecked());

        // Macro: blackout plus picture M; unticking the box by hand keeps
        // the macro button down.
        macro->click();
        QVERIFY(box->isChecked());
        QCOMPARE(c.controls.macroOut.get(), 1);
        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(macro->isChecked());
        QCOMPARE(c.controls.macroOut.get(), 1);
        QCOMPARE(c.controls.blackout.get(), 0);
    }

    void macroOutputShowsOnlyPictureM() {
        Desk desk;
        auto& c = desk.state();
        desk.form->output().stopTick();  // the test drives the tick
        c.show.setLevel(0, 3, 90);
        const int m = layout::pictureOffset(15);
        c.show.set(m + 5, 1);
        c.show.set(m + 256 + 5, 200);
        desk.find<QToolButton>("SpeedButtonMacrosOut")->click();
        desk.form->output().cycle().RealTimeTick();
        QCOMPARE(c.dmxLine.get(3), 0);
        QCOMPARE(c.dmxLine.get(5), 200);
    }

    void blackoutKeyTogglesTheBox() {
        Desk desk;
        auto& c = desk.state();
        c.showRunning.set(1);
        desk.form->toggleBlackoutFromKey();
        QVERIFY(desk.find<QCheckBox>("CheckBoxBlackOut")->isChecked());
        QCOMPARE(c.showRunning.get(), 0);
        desk.form->toggleBlackoutFromKey();
        QVERIFY(!desk.find<QCheckBox>("CheckBoxBlackOut")->isChecked());
    }

    void pictureKeysAndManualControlWriteTheirMirrors() {
        Desk desk;
        auto& c = desk.state();
        const QStringList names = {"CheckBoxChs1", "CheckBoxChs2", "CheckBoxChs3", "CheckBoxChs4",
                                   "CheckBoxChs5", "CheckBoxChs6", "CheckBoxChs7", "CheckBoxChs8",
                                   "CheckBoxChsSpace", "CheckBoxChsZ", "CheckBoxChsX",
                                   "CheckBoxChsC", "CheckBoxChsV", "CheckBoxChsB", "CheckBoxChsN",
                                   "CheckBoxChsM"};
        for (int k = 0; k < 16; ++k) {
            auto* box = desk.find<QCheckBox>(names[k]);
            QVERIFY(box);
            box->click();
            QCOMPARE(c.controls.pictureKeys.get(k), 1);
            box->click();
            QCOMPARE(c.controls.pictureKeys.get(k), 0);
        }
        QCOMPARE(desk.find<QCheckBox>("CheckBoxChsSpace")->text(), QString("=="));
        QCOMPARE(desk.find<QCheckBox>("CheckBoxChs1")->toolTip(),
                 QString("Запрограммированая статическая картинка - Горячая кнопка =1= "));
        desk.find<QCheckBox>("CheckBoxManual")->click();
        QCOMPARE(c.controls.manual.get(), 1);
    }

    void noInterfaceIsListedAndOfflineModeIsMirrored() {
        Desk desk;
        QCOMPARE(desk.find<QLabel>("LabelKolvoUSB")->text(), QString("Нет USB устройствa "));
        QCOMPARE(desk.find<QLabel>("LabelUSBnomber")->text(), QString());
        auto* offline = desk.find<QCheckBox>("CheckBoxNoUSBconnect");
        QCOMPARE(offline->text(), QString("Работа в DEMO режиме"));
        offline->click();
        QCOMPARE(desk.state().controls.offline.get(), 1);
        QVERIFY(desk.form->interfaceState().offline);
        QVERIFY(!desk.form->interfaceState().open);
    }

    void virtualInterfaceIsListedAndOpenedByThePoll() {
        QTemporaryDir dir;
        lumetra::Options o = Desk::quietOptions();
        o.interface = "virtual:" + (dir.path() + "/wire.bin").toStdString();
        Desk desk(true, QString(), o);
        QCOMPARE(desk.find<QLabel>("LabelKolvoUSB")->text(), QString("Устройств на шине USB = 1"));
        QCOMPARE(desk.find<QLabel>("LabelTipFtdi")->text(), QString("Lumetra virtual interface"));
        QCOMPARE(desk.find<QLabel>("LabelUSBnomber")->text(),
                 QString("серийный номер = VIRTUAL1"));
        QVERIFY(!desk.form->interfaceState().open);
        desk.form->output().TimerPollingTimer();
        QVERIFY(desk.form->interfaceState().open);
    }

    // olad alone (not running here: nothing listens on port 1): no USB
    // driver at all, the options page lists the universe and the status
    // line says olad is away.
    void olaUniverseAloneIsListedAndItsAbsenceShown() {
        lumetra::Options o = Desk::quietOptions();
        o.interface = "ola:4";
        o.olaPort = 1;
        Desk desk(true, QString(), o);
        QVERIFY(desk.form->output().driver() == nullptr);
        QCOMPARE(desk.find<QLabel>("LabelKolvoUSB")->text(), QString("Выход OLA: вселенная = 4"));
        QCOMPARE(desk.find<QLabel>("LabelUSBnomber")->text(), QString("olad = 127.0.0.1:1"));
        const lumetra::InterfaceState state = desk.form->interfaceState();
        QVERIFY(!state.open);
        QCOMPARE(QString::fromStdString(state.statusText),
                 QString("OLA вселенная 4 - нет связи с olad..."));
        desk.form->output().TimerPollingTimer();  // asks the sender to try again
        QVERIFY(!desk.form->interfaceState().open);
    }
};

QTEST_MAIN(OutputControlsTest)
#include "OutputControlsTest.moc"
