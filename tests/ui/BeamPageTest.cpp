// The beam editor page driven through the main window: dragging points with
// the mouse, the repeat buttons and their timer, the figure buttons, the
// labels and the copy to further pairs.
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "edit/BeamPage.h"
#include "show/Cp1251Text.h"

using lumetra::XyPoint;
using lumetra::testing::Desk;
using lumetra::ui::TBaseForm;

namespace {

lumetra::ui::BeamPage* page(Desk& desk) {
    return desk.form->findChild<lumetra::ui::BeamPage*>("BeamPage");
}

void openPage(Desk& desk) {
    for (const char* name : {"TimerSeqveser", "TimerShouClock", "TimerRepeatButton"})
        desk.find<QTimer>(name)->stop();
    desk.form->inputPages()->setCurrentIndex(TBaseForm::PageBeam);
}

// Pair 1 is on channels p + 1 and p + 2.
XyPoint point(Desk& desk, int scene, int p = 0) {
    return lumetra::pointOf(desk.state().show, p, scene);
}
void put(Desk& desk, int scene, XyPoint at) {
    lumetra::setPoint(desk.state().show, 0, scene, at);
}

QPoint pixel(XyPoint at) {
    return QPoint(at.x, 255 - at.y);
}

void setRange(Desk& desk, int from, int to) {
    desk.find<QCheckBox>("CheckBoxEditXYAllScenes")->setChecked(false);
    desk.find<QSpinBox>("SpinEditESSto")->setValue(to);
    desk.find<QSpinBox>("SpinEditESSfrom")->setValue(from);
}

QString label(Desk& desk, const char* name) {
    return desk.find<QLabel>(name)->text();
}

}  // namespace

class BeamPageTest : public QObject {
    Q_OBJECT

  private slots:
    void dragMovesThePointAndMakesItsSceneCurrent() {
        Desk desk;
        openPage(desk);
        desk.state().show.setCell(lumetra::cell::kLastScene, 9);
        desk.form->ReturnPageControlAll();
        QCOMPARE(desk.find<QSpinBox>("SpinEditESSto")->value(), 10);  // "Все сцены"
        put(desk, 4, {100, 60});
        put(desk, 7, {101, 61});
        QWidget* area = desk.find<QWidget>("PaintBoxXY");

        QTest::mousePress(area, Qt::LeftButton, {}, pixel({101, 61}));
        QCOMPARE(desk.state().show.currentScene(), 4);  // the lower scene wins
        QCOMPARE(label(desk, "LabelStep"), QString("5"));
        QCOMPARE(label(desk, "LabelEXYscena"), QString(" Сцена 5"));
        QCOMPARE(area->toolTip(), QString("Переместить сцену 5"));
        for (int x = 102; x <= 110; ++x) QTest::mouseMove(area, pixel({x, 61}));
        QTest::mouseRelease(area, Qt::LeftButton, {}, pixel({110, 61}));
        QCOMPARE(point(desk, 4), (XyPoint{110, 61}));
        QCOMPARE(point(desk, 7), (XyPoint{101, 61}));
        QCOMPARE(label(desk, "LabelESPosX"), QString("X = 110"));
        QCOMPARE(label(desk, "LabelESPosY"), QString("Y = 61"));
        QCOMPARE(label(desk, "LabelEXYscena"), QString(" "));
        QCOMPARE(page(desk)->drag().mode, lumetra::XyDrag::Idle);

        // While the show plays a drag still moves the point, but the
        // current scene stays.
        desk.click("SpeedButtonPlay");
        const int current = desk.state().show.currentScene();
        QTest::mousePress(area, Qt::LeftButton, {}, pixel({101, 61}));
        QTest::mouseMove(area, pixel({99, 58}));
        QTest::mouseRelease(area, Qt::LeftButton, {}, pixel({99, 58}));
        QCOMPARE(point(desk, 7), (XyPoint{99, 58}));
        QCOMPARE(desk.state().show.currentScene(), current);
        desk.click("SpeedButtonStop");

        // The right button only sizes: nothing moves.
        QTest::mousePress(area, Qt::RightButton, {}, pixel({110, 61}));
        QTest::mouseMove(area, pixel({150, 150}));
        QCOMPARE(label(desk, "LabelEXYscena"), QString(" Размер "));
        QCOMPARE(point(desk, 4), (XyPoint{110, 61}));
        QTest::mouseRelease(area, Qt::RightButton, {}, pixel({150, 150}));
    }

    void heldButtonsRepeatOnTheTimerAndMirrorsDoNot() {
        Desk desk;
        openPage(desk);
        setRange(desk, 1, 2);
        put(desk, 0, {10, 20});
        put(desk, 1, {30, 40});
        put(desk, 2, {50, 60});
        QTimer* timer = desk.find<QTimer>("TimerRepeatButton");
        QCOMPARE(timer->interval(), 700);
        auto* right = desk.find<QToolButton>("SpeedButtonEditPosRight");

        QVERIFY(!timer->isActive());  // idle: no timer fires for nothing
        QTest::mousePress(right, Qt::LeftButton);
        QCOMPARE(point(desk, 0).x, 11);
        QVERIFY(timer->isActive());
        page(desk)->TimerRepeatButtonTimer();
        page(desk)->TimerRepeatButtonTimer();
        QCOMPARE(timer->interval(), 50);
        QCOMPARE(point(desk, 0).x, 13);
        QCOMPARE(point(desk, 1).x, 33);
        QTest::mouseRelease(right, Qt::LeftButton);
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(!timer->isActive());
        page(desk)->TimerRepeatButtonTimer();
        QCOMPARE(point(desk, 0).x, 13);
        QCOMPARE(point(desk, 2), (XyPoint{50, 60}));  // outside the range

        QTest::mousePress(desk.find<QToolButton>("SpeedButtonEditRazmerMene"), Qt::LeftButton);
        page(desk)->TimerRepeatButtonTimer();
        QTest::mouseRelease(desk.find<QToolButton>("SpeedButtonEditRazmerMene"), Qt::LeftButton);
        QCOMPARE(point(desk, 0), (XyPoint{15, 22}));

        QTest::mouseClick(desk.find<QToolButton>("SpeedButtonGorizontMirror"), Qt::LeftButton);
        page(desk)->TimerRepeatButtonTimer();
        QCOMPARE(point(desk, 0), (XyPoint{240, 22}));
        desk.click("SpeedButtonVerticalMirror");
        QCOMPARE(point(desk, 1), (XyPoint{255 - 35, 255 - 42}));
    }

    void figureButtonsFillTheRangeAndRefuseOneScene() {
        Desk desk;
        openPage(desk);
        setRange(desk, 1, 32);
        desk.click("SpeedButtonEditXYmadeRect");
        QCOMPARE(point(desk, 0), (XyPoint{32, 32}));
        QCOMPARE(point(desk, 16), (XyPoint{224, 224}));
        QCOMPARE(point(desk, 32), (XyPoint{0, 0}));
        desk.click("SpeedButtonEditXYmadeCucle");
        QCOMPARE(point(desk, 0), (XyPoint{127, 227}));

        // The ends cannot cross: raising "От" past "До" stops at it.
        desk.find<QSpinBox>("SpinEditESSfrom")->setValue(40);
        QCOMPARE(desk.find<QSpinBox>("SpinEditESSfrom")->value(), 32);
        lumetra::ShowMemory::Image before{};
        desk.state().show.snapshot(before);
        desk.click("SpeedButtonEditSpiral");
        QCOMPARE(desk.log->errors.size(), 1);
        lumetra::ShowMemory::Image after{};
        desk.state().show.snapshot(after);
        QVERIFY(before == after);

        // The size slider reaches the generators and the label.
        setRange(desk, 1, 32);
        desk.find<QScrollBar>("ScrollBarEditMaxX")->setValue(100);
        desk.find<QScrollBar>("ScrollBarEditWide")->setValue(0);
        QCOMPARE(label(desk, "LabelmadeFigure"), QString(" Размер фигуры 100       Опция 0"));
        desk.click("SpeedButtonEditXYmadeCucle");
        QCOMPARE(point(desk, 31), (XyPoint{127, 177}));
    }

    void labelsShowPairsNamesAndRotation() {
        Desk desk;
        openPage(desk);
        const QByteArray name = lumetra::ui::toCp1251("Поворот");
        desk.state().show.copyIn(reinterpret_cast<const std::uint8_t*>(name.constData()),
                                 lumetra::layout::nameOffset(13), name.size());
        // A blank stored as 0 inside a name shows as a blank, as everywhere.
        const std::uint8_t par[] = {'P', 'A', 'R', 0, '1'};
        desk.state().show.copyIn(par, lumetra::layout::nameOffset(12), sizeof par);
        // The wheel steps this slider; its change handler does the rest.
        desk.find<QScrollBar>("ScrollBarEditXYCh1")->setValue(10);
        QCOMPARE(label(desk, "LabelXYareaFirrtName1"), QString("Ch11  "));
        QCOMPARE(label(desk, "LabelXYareaSecondName1"), QString("Ch12  PAR 1"));
        QCOMPARE(desk.find<QToolButton>("SpeedButtonMem4")->text(),
                 QString("Запомнить\nкартинку "));
        desk.find<QScrollBar>("ScrollBarEditXYCh1")->setValue(11);
        QCOMPARE(label(desk, "LabelXYareaSecondName1"), QString("Ch13  Поворот"));
        QCOMPARE(desk.state().controls.xyFirstChannel.get(), 11);
        QCOMPARE(label(desk, "LabelXYareaFirrtName4"), QString("Ch1  "));

        QCOMPARE(label(desk, "LabelEditRL"), QString("Вправо 45"));
        desk.find<QScrollBar>("ScrollBarRotate")->setValue(270);
        QCOMPARE(label(desk, "LabelEditRL"), QString("Влево 90"));

        // Rotation works on pair 1 wherever the slider puts it.
        setRange(desk, 1, 2);
        lumetra::setPoint(desk.state().show, 11, 0, {227, 127});
        desk.find<QScrollBar>("ScrollBarRotate")->setValue(90);
        desk.click("SpeedButtonRotateLeft");
        QCOMPARE(point(desk, 0, 11), (XyPoint{127, 29}));
    }

    void copyTakesAnUndoCopyAndFillsTheTickedPairs() {
        Desk desk;
        openPage(desk);
        setRange(desk, 1, 3);
        for (int s = 0; s < 4; ++s) put(desk, s, {s + 10, s + 20});
        desk.find<QScrollBar>("ScrollBarEditXYCh2")->setValue(50);
        desk.find<QScrollBar>("ScrollBarEditXYCh3")->setValue(60);
        desk.find<QCheckBox>("CheckBoxEditXY2")->setChecked(true);
        desk.click("SpeedButtonEditXYcopy");
        QCOMPARE(desk.form->statusText(), QString("  данные сохранены "));
        QVERIFY(desk.find<QToolButton>("SpeedButtonUndo4")->isEnabled());
        QCOMPARE(point(desk, 2, 50), (XyPoint{12, 22}));
        QCOMPARE(point(desk, 3, 50), (XyPoint{0, 0}));
        QCOMPARE(point(desk, 0, 60), (XyPoint{0, 0}));
        desk.click("SpeedButtonUndo4");
        QCOMPARE(point(desk, 2, 50), (XyPoint{0, 0}));
    }
};

QTEST_MAIN(BeamPageTest)
#include "BeamPageTest.moc"
