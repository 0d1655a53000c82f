// The page "Автоматы": the controls of both chase generators, their refresh
// from a loaded show, the handlers that write the cells, and the generator
// timers stepped by hand.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "playback/AvtomatPage.h"
#include "playback/SequencerPage.h"
#include "show/Cp1251Text.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;
using lumetra::ui::TBaseForm;
namespace cell = lumetra::cell;
namespace layout = lumetra::layout;

namespace {

lumetra::ui::AvtomatPage* page(Desk& desk) {
    return desk.form->findChild<lumetra::ui::AvtomatPage*>("AvtomatPage");
}

void holdTimers(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock", "TimerDataDmxToDsp",
                             "TimerTempAvtomat1", "TimerTempAvtomat2"})
        desk.find<QTimer>(name)->stop();
}

QString named(const char* pattern, int n) {
    return QString(pattern).arg(n);
}
QString text(Desk& desk, const QString& label) {
    return desk.find<QLabel>(label)->text();
}

// A show whose cells set both generators; channel 21 and 251 carry names.
QString writeGeneratorShow(const QString& dir) {
    QByteArray bytes(layout::kShowSize, '\0');
    bytes[cell::kLastScene] = 1;
    const int values[2][5] = {{5, 20, 3, 255, 10}, {10, 250, 2, 155, 0}};
    for (int n = 0; n < 2; ++n)
        for (int i = 0; i < 5; ++i) bytes[145 + 5 * n + i] = char(values[n][i]);
    const QByteArray wash = lumetra::ui::toCp1251("Заливка");
    bytes.replace(layout::nameOffset(21), wash.size(), wash);
    bytes.replace(layout::nameOffset(251), 3, "Fog");
    bytes[layout::nameOffset(251) + 5] = 'X';  // a 0 inside the name shows as a blank
    const QString path = dir + "/Chase.lum";
    lumetra::testing::writeBytes(path, bytes);
    return path;
}

}  // namespace

class AvtomatPageTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsOfBothGenerators() {
        Desk desk;
        for (int n = 1; n <= 2; ++n) {
            QCOMPARE(desk.find<QGroupBox>(named("GroupBoxAvtomat%1", n))->title(),
                     named("Автомат %1  четырех канальный ", n));
            auto* speed = desk.find<QScrollBar>(named("ScrollBarTempAvtomat%1", n));
            QCOMPARE(speed->minimum(), 5);
            QCOMPARE(speed->maximum(), 50);
            QCOMPARE(speed->toolTip(), QString("Скорость переключения автомата"));
            // Start-up set both speed cells to 50.
            QCOMPARE(speed->value(), 50);
            QCOMPARE(text(desk, named("LabelTempAvtomat%1", n)), QString("24 Flash/мин "));
            QCOMPARE(desk.find<QTimer>(named("TimerTempAvtomat%1", n))->interval(), 2500);
            QVERIFY(desk.find<QTimer>(named("TimerTempAvtomat%1", n))->isActive());
            auto* channel = desk.find<QScrollBar>(named("ScrollBarChannelAvtomat%1", n));
            QCOMPARE(channel->maximum(), 250);
            QCOMPARE(
                channel->toolTip(),
                QString("Установка первого канала, с которого будет работать автомат бегушки"));
            QCOMPARE(text(desk, named("LabelSeq%1Ch", n)), QString(" Каналы 1  2  3  4"));
            QCOMPARE(text(desk, named("LabelSeq%1ChName", n)), QString(" Начиная от - "));
            QVERIFY(desk.find<QToolButton>(named("SpeedButtonAvto%1Mode1", n))->isChecked());
            QCOMPARE(desk.find<QToolButton>(named("SpeedButtonAvto%1Mode4", n))->toolTip(),
                     QString("Выбор эффекта код с наполнением"));
            auto* bright = desk.find<QScrollBar>(named("ScrollBarBrightAvtomat%1", n));
            QCOMPARE(bright->orientation(), Qt::Vertical);
            QCOMPARE(bright->toolTip(), QString("Максимальная яркость автомата"));
            QCOMPARE(desk.find<QScrollBar>(named("ScrollBarDarkAvtomat%1", n))->toolTip(),
                     QString("Минимальная яркость автомата"));
            auto* alone = desk.find<QCheckBox>(named("CheckBoxAvtomat%1", n));
            QCOMPARE(alone->text(), QString("Пуск самостоятельно"));
            QCOMPARE(alone->toolTip(), QString("Запусить автомат постоянно"));
            QVERIFY(!alone->isChecked());
            QCOMPARE(desk.find<QCheckBox>(named("CheckBoxTogethe%1", n))->text(),
                     QString("С основным"));
            QCOMPARE(text(desk, named("LabelStepAvtomat%1", n)), QString("Step = 1"));
            QVERIFY(desk.find<QWidget>(named("ShapeAvt%1Seq4", n)));
        }
    }

    void loadedShowSetsBothGeneratorsIndependently() {
        QTemporaryDir dir;
        Desk desk;
        holdTimers(desk);
        ScriptedDialogs::queueFile(writeGeneratorShow(dir.path()));
        desk.find<QAction>("OpenItem")->trigger();
        // The page follows the show even while another page is in front.
        QCOMPARE(desk.form->inputPages()->currentIndex(), int(TBaseForm::PageFaders));
        QCOMPARE(desk.find<QTimer>("TimerTempAvtomat1")->interval(), 25);
        QCOMPARE(text(desk, "LabelTempAvtomat1"), QString("2400 Flash/мин "));
        QCOMPARE(desk.find<QTimer>("TimerTempAvtomat2")->interval(), 100);
        QCOMPARE(text(desk, "LabelSeq1Ch"), QString(" Каналы 21  22  23  24"));
        QCOMPARE(text(desk, "LabelSeq1ChName"), QString(" Начиная от - Заливка"));
        QCOMPARE(text(desk, "LabelSeq2Ch"), QString(" Каналы 251  252  253  254"));
        QCOMPARE(text(desk, "LabelSeq2ChName"), QString(" Начиная от - Fog  X"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonAvto1Mode3")->isChecked());
        QVERIFY(desk.find<QToolButton>("SpeedButtonAvto2Mode2")->isChecked());
        QCOMPARE(desk.find<QScrollBar>("ScrollBarBrightAvtomat1")->value(), 0);
        QCOMPARE(desk.find<QScrollBar>("ScrollBarDarkAvtomat1")->value(), 245);
        lumetra::Avtomats& engine = page(desk)->engine();
        QCOMPARE(engine[0].pattern(), 3);
        QCOMPARE(engine[1].pattern(), 2);
        QCOMPARE(engine[1].firstChannel(), 250);

        // A pattern cell outside 1..4 leaves the buttons; a speed cell of 0
        // counts as 20.
        desk.state().show.setCell(cell::kAvtomat1Program, 9);
        desk.state().show.setCell(cell::kAvtomat1Speed, 0);
        desk.form->inputPages()->setCurrentIndex(TBaseForm::PageAvtomats);
        QVERIFY(desk.find<QToolButton>("SpeedButtonAvto1Mode3")->isChecked());
        QCOMPARE(desk.find<QTimer>("TimerTempAvtomat1")->interval(), 400);
    }

    void handlersWriteTheCells() {
        Desk desk;
        holdTimers(desk);
        const lumetra::ShowMemory& show = desk.state().show;
        desk.find<QScrollBar>("ScrollBarTempAvtomat2")->setValue(10);
        QCOMPARE(int(show.cell(cell::kAvtomat2Speed)), 10);
        QCOMPARE(desk.find<QTimer>("TimerTempAvtomat2")->interval(), 100);
        QCOMPARE(text(desk, "LabelTempAvtomat2"), QString("600 Flash/мин "));
        desk.find<QScrollBar>("ScrollBarBrightAvtomat1")->setValue(0);  // the top
        desk.find<QScrollBar>("ScrollBarDarkAvtomat1")->setValue(255);
        QCOMPARE(int(show.cell(cell::kAvtomat1Bright)), 255);
        QCOMPARE(int(show.cell(cell::kAvtomat1Dark)), 0);
        desk.find<QScrollBar>("ScrollBarChannelAvtomat2")->setValue(100);
        QCOMPARE(int(show.cell(cell::kAvtomat2Channel)), 100);
        QCOMPARE(text(desk, "LabelSeq2Ch"), QString(" Каналы 101  102  103  104"));
        QCOMPARE(page(desk)->engine()[1].firstChannel(), 100);
        QCOMPARE(int(show.cell(cell::kAvtomat2Program)), 0);  // untouched until a button moves
        desk.click("SpeedButtonAvto2Mode4");
        QCOMPARE(int(show.cell(cell::kAvtomat2Program)), 4);
        desk.find<QToolButton>("SpeedButtonAvto1Mode2")->toggle();
        QCOMPARE(int(show.cell(cell::kAvtomat1Program)), 2);
        QCOMPARE(page(desk)->engine()[1].pattern(), 4);
        QVERIFY(!desk.find<QToolButton>("SpeedButtonAvto2Mode1")->isChecked());
    }

    void timerStepsOnlyWhileRunning() {
        Desk desk;
        holdTimers(desk);
        desk.find<QScrollBar>("ScrollBarBrightAvtomat1")->setValue(0);  // B = 255
        desk.find<QScrollBar>("ScrollBarDarkAvtomat1")->setValue(205);  // D = 50
        lumetra::ui::AvtomatPage* p = page(desk);
        auto* beat = desk.form->findChild<lumetra::ui::ColorShape*>("ShapeAvtomat1");

        p->TimerTempAvtomatTimer(0);  // not running: only the heartbeat
        QCOMPARE(beat->color(), QColor(255, 0, 0));
        QCOMPARE(text(desk, "LabelStepAvtomat1"), QString("Step = 1"));
        QVERIFY(!p->engine()[0].active());

        desk.click("CheckBoxAvtomat1");
        p->TimerTempAvtomatTimer(0);
        QCOMPARE(beat->color(), QColor(0, 255, 0));
        QCOMPARE(text(desk, "LabelStepAvtomat1"), QString("Step = 2"));
        QVERIFY(p->engine()[0].active());
        auto* second = desk.form->findChild<lumetra::ui::ColorShape*>("ShapeAvt1Seq2");
        QCOMPARE(second->color(), QColor(255, 255, 255));
        QCOMPARE(desk.form->findChild<lumetra::ui::ColorShape*>("ShapeAvt1Seq1")->color(),
                 QColor(50, 50, 50));

        // Blackout stops it at its next tick.
        desk.find<QCheckBox>("CheckBoxBlackOut")->setChecked(true);
        p->TimerTempAvtomatTimer(0);
        QVERIFY(!p->engine()[0].active());
        QCOMPARE(text(desk, "LabelStepAvtomat1"), QString("Step = 2"));

        // "С основным" runs with the show only.
        desk.find<QCheckBox>("CheckBoxBlackOut")->setChecked(false);
        desk.click("CheckBoxTogethe2");
        p->TimerTempAvtomatTimer(1);
        QVERIFY(!p->engine()[1].active());
        desk.click("SpeedButtonPlay");
        p->TimerTempAvtomatTimer(1);
        QVERIFY(p->engine()[1].active());
    }
};

QTEST_MAIN(AvtomatPageTest)
#include "AvtomatPageTest.moc"
