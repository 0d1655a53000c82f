// The manual scanner window: opened from the menu, steered with the mouse,
// written into the current scene and laid over the output with priority.
#include <QAction>
#include <QCheckBox>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "app/SideWindows.h"
#include "output/OutputControls.h"
#include "view/HandScanForm.h"

using lumetra::testing::Desk;

namespace {

lumetra::ui::THandScanForm& scanner(Desk& desk) {
    return desk.form->sideWindows().handScan();
}

template <typename T>
T* control(Desk& desk, const char* name) {
    return scanner(desk).findChild<T*>(name);
}

QString caption(Desk& desk, const char* name) {
    return control<QCheckBox>(desk, name)->text();
}

QWidget* field(Desk& desk) {
    return control<QWidget>(desk, "ShapeXY");
}

// A mouse move with no button held, straight to the field.
void hover(QWidget* w, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void select(Desk& desk, int channel) {
    desk.state().show.set(lumetra::layout::selectionOffset(channel), 1);
}

void openScanner(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock"}) desk.find<QTimer>(name)->stop();
    desk.find<QAction>("AreaItem")->trigger();
}

}  // namespace

class HandScanFormTest : public QObject {
    Q_OBJECT

  private slots:
    void openedFromTheMenuAndTheToolBar() {
        Desk desk;
        auto* item = desk.find<QAction>("AreaItem");
        QCOMPARE(item->text(), QString("Поле для ручного управления лучем сканера"));
        QCOMPARE(item->shortcut(), QKeySequence("Ctrl+A"));
        QVERIFY(!scanner(desk).isVisible());
        desk.click("SpeedButtonAREA");
        QVERIFY(scanner(desk).isVisible());
        QCOMPARE(scanner(desk).palette().color(QPalette::Window), QColor(200, 200, 255));
        QVERIFY(scanner(desk).windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(field(desk)->size(), QSize(256, 256));
        QCOMPARE(field(desk)->pos(), QPoint(16, 16));
    }

    void cornersInversionsAndSwap() {
        Desk desk;
        openScanner(desk);
        QWidget* f = field(desk);
        // Held, the cursor may leave the field: it counts as the nearest edge.
        QTest::mousePress(f, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(f, QPoint(-10, -10));
        QCOMPARE(caption(desk, "CheckBoxX"), QString("X=0"));
        QCOMPARE(caption(desk, "CheckBoxY"), QString("Y=255"));
        QTest::mouseMove(f, QPoint(300, 300));
        QCOMPARE(caption(desk, "CheckBoxX"), QString("X=255"));
        QCOMPARE(caption(desk, "CheckBoxY"), QString("Y=0"));
        QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(desk.state().controls.scannerX.get(), 255);

        control<QCheckBox>(desk, "CheckBoxX")->click();
        hover(f, QPoint(40, 200));
        QCOMPARE(caption(desk, "CheckBoxX"), QString("X=215"));
        QCOMPARE(caption(desk, "CheckBoxY"), QString("Y=55"));
        control<QCheckBox>(desk, "CheckBoxY")->click();
        hover(f, QPoint(41, 200));
        QCOMPARE(caption(desk, "CheckBoxX"), QString("X=214"));
        QCOMPARE(caption(desk, "CheckBoxY"), QString("Y=200"));
        control<QCheckBox>(desk, "CheckBoxX_Y")->click();
        hover(f, QPoint(42, 200));
        QCOMPARE(caption(desk, "CheckBoxX"), QString("X=200"));
        QCOMPARE(caption(desk, "CheckBoxY"), QString("Y=213"));
        // Hovering computes the captions only.
        QCOMPARE(desk.state().controls.scannerX.get(), 255);
        QCOMPARE(desk.state().controls.scannerY.get(), 0);
    }

    void draggingWritesTheSelectedPairsIntoTheCurrentScene() {
        Desk desk;
        openScanner(desk);
        desk.state().show.setCell(lumetra::cell::kCurrentScene, 1);
        select(desk, 10);
        select(desk, 11);
        select(desk, 255);
        QWidget* f = field(desk);
        QTest::mousePress(f, Qt::LeftButton, {}, QPoint(30, 200));
        QTest::mouseMove(f, QPoint(60, 100));
        QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(60, 100));
        const lumetra::ShowMemory& show = desk.state().show;
        QCOMPARE(show.get(lumetra::layout::selectionOffset(11)), 0);
        QCOMPARE(show.level(1, 10), 60);
        QCOMPARE(show.level(1, 11), 155);
        QCOMPARE(show.level(1, 255), 60);
        QCOMPARE(show.level(0, 10), 0);
        QCOMPARE(desk.state().controls.scannerX.get(), 60);
        QCOMPARE(desk.state().controls.scannerY.get(), 155);
        QCOMPARE(control<QWidget>(desk, "ShapeCentr")->pos(), QPoint(60 + 7, 100 + 7));

        // After release the cursor no longer writes.
        QTest::mouseMove(f, QPoint(90, 90));
        QCOMPARE(show.level(1, 10), 60);

        // While the show plays the scene stays; the values still follow.
        desk.click("SpeedButtonPlay");
        const int scene = show.currentScene();
        const int before = show.level(scene, 10);
        QTest::mousePress(f, Qt::LeftButton, {}, QPoint(5, 250));
        QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(5, 250));
        QCOMPARE(show.level(scene, 10), before);
        QCOMPARE(desk.state().controls.scannerX.get(), 5);
        QCOMPARE(desk.state().controls.scannerY.get(), 5);
    }

    void priorityOnlyWhileTheWindowIsActive() {
        Desk desk;
        openScanner(desk);
        auto& window = scanner(desk);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* priority = control<QCheckBox>(desk, "CheckBoxManualArea");
        priority->click();
        QCOMPARE(desk.state().controls.scannerPriority.get(), 1);

        // With priority the tick lays the pair over the line while the show
        // plays, whatever the scene holds; channel 255 puts Y on slot 256.
        desk.form->output().stopTick();  // the test drives the tick
        select(desk, 20);
        select(desk, 255);
        desk.click("SpeedButtonPlay");
        QTest::mousePress(field(desk), Qt::LeftButton, {}, QPoint(200, 30));
        QTest::mouseRelease(field(desk), Qt::LeftButton, {}, QPoint(200, 30));
        desk.form->output().cycle().RealTimeTick();
        const auto& line = desk.state().dmxLine;
        QCOMPARE(line.get(20), 200);
        QCOMPARE(line.get(21), 225);
        QCOMPARE(line.get(255), 200);
        QCOMPARE(line.get(256), 225);
        QCOMPARE(desk.state().show.level(desk.state().show.currentScene(), 20), 0);

        // Clicking into the main window turns it off.
        desk.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
        QCOMPARE(desk.state().controls.scannerPriority.get(), 0);
        QVERIFY(!priority->isChecked());

        // Coming back starts without priority.
        priority->click();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(desk.state().controls.scannerPriority.get(), 0);
        QVERIFY(!priority->isChecked());
    }
};

QTEST_MAIN(HandScanFormTest)
#include "HandScanFormTest.moc"
