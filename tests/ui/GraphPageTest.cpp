// The channel graph page driven with the mouse: drags with the three tools,
// the sliders and readouts, and the painted graph.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include "UiHarness.h"

using lumetra::testing::Desk;
using lumetra::ui::TBaseForm;

namespace {

QWidget* graph(Desk& desk) {
    return desk.find<QWidget>("PaintBoxGrafik");
}
QScrollBar* bar(Desk& desk, const char* name) {
    return desk.find<QScrollBar>(name);
}
QString label(Desk& desk, const char* name) {
    return desk.find<QLabel>(name)->text();
}
int level(Desk& desk, int scene, int channel) {
    return desk.state().show.level(scene, channel);
}

void openGraph(Desk& desk, int zoomPosition) {
    desk.form->inputPages()->setCurrentIndex(TBaseForm::PageGraph);
    bar(desk, "ScrollBarGrafikZoom")->setValue(zoomPosition);
}

// A mouse event as the graph gets it while a button is held, also outside.
void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class GraphPageTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsStartAsTheConsoleDoes() {
        Desk desk;
        desk.form->inputPages()->setCurrentIndex(TBaseForm::PageGraph);
        QCOMPARE(graph(desk)->size(), QSize(512, 256));
        QCOMPARE(bar(desk, "ScrollBarChanellGrafik")->maximum(), 255);
        QCOMPARE(bar(desk, "ScrollBarChanellGrafik")->toolTip(),
                 QString("Устанавливает номер редактируемого канала"));
        // A cleared show is seen closest: 32 scenes a page.
        QCOMPARE(bar(desk, "ScrollBarGrafikZoom")->value(), 3);
        QCOMPARE(label(desk, "LabelGrafZoom"), QString(" Масштаб = 8/1"));
        QVERIFY(desk.find<QToolButton>("SpeedButtonGrafArrow")->isChecked());

        bar(desk, "ScrollBarGrafikArea")->setValue(2);
        QCOMPARE(label(desk, "LabelScenaGrafikFrom"), QString("от Сцены = 65"));
        QCOMPARE(label(desk, "LabelScenaGrafikLast"), QString("до Сцены = 96"));
        bar(desk, "ScrollBarGrafikZoom")->setValue(0);
        QVERIFY(!bar(desk, "ScrollBarGrafikArea")->isEnabled());
        QCOMPARE(label(desk, "LabelScenaGrafikFrom"), QString("от Сцены = 1"));
        QCOMPARE(label(desk, "LabelScenaGrafikLast"), QString("до Сцены = 256"));

        bar(desk, "ScrollBarMaxScenaGrafic")->setValue(40);
        QCOMPARE(desk.state().show.lastScene(), 40);
        QCOMPARE(desk.find<QLabel>("LabelCoda")->text(), QString("41"));
    }

    void arrowDragWritesTheScenesItPasses() {
        Desk desk;
        openGraph(desk, 0);
        // The channel slider is what the wheel steps: its change does it all.
        bar(desk, "ScrollBarChanellGrafik")->setValue(6);
        QCOMPARE(label(desk, "LabelNameChanel"), QString(" Канал 7  "));
        QWidget* g = graph(desk);
        mouse(g, QEvent::MouseButtonPress, Qt::LeftButton, {100, 55});
        QCOMPARE(level(desk, 50, 7), 200);
        QCOMPARE(label(desk, "LabelScenaGrafik"), QString(" Сцена = 51"));
        QCOMPARE(label(desk, "LabelLevelNewGrafik"),
                 QString(" Новый уровень канала = 200     79%"));
        mouse(g, QEvent::MouseMove, Qt::LeftButton, {110, 0});
        mouse(g, QEvent::MouseMove, Qt::LeftButton, {120, -40});  // above the graph
        QCOMPARE(level(desk, 55, 7), 255);
        QCOMPARE(level(desk, 60, 7), 255);
        mouse(g, QEvent::MouseMove, Qt::LeftButton, {900, 300});  // right of and below it
        QCOMPARE(level(desk, 255, 7), 0);
        mouse(g, QEvent::MouseButtonRelease, Qt::LeftButton, {900, 300});
        mouse(g, QEvent::MouseMove, Qt::NoButton, {200, 10});
        QCOMPARE(level(desk, 100, 7), 0);
        QCOMPARE(label(desk, "LabelLevelDmxGrafik"),
                 QString(" Уровень канала сцены 101 = 0     0%"));
        QCOMPARE(level(desk, 50, 6), 0);  // only the channel shown

        // The page shows what was drawn: bar colour up to the level.
        const QImage shot = g->grab().toImage();
        QCOMPARE(shot.pixelColor(101, 255 - 200 + 10), QColor(255, 255, 10));
        QCOMPARE(shot.pixelColor(101, 255 - 200 - 5), QColor(50, 150, 150));
        QCOMPARE(shot.pixelColor(101, 255 - 200), QColor(255, 0, 0));  // the anchor
        QCOMPARE(shot.pixelColor(203, 100), QColor(50, 150, 150));
    }

    void lineAndPenToolsWithRealClicks() {
        Desk desk;
        openGraph(desk, 3);  // 16-pixel columns, scenes 1..32
        QWidget* g = graph(desk);
        desk.click("SpeedButtonGrafLine");
        QTest::mouseClick(g, Qt::LeftButton, {}, {16 * 10 + 8, 255});
        QTest::mouseClick(g, Qt::RightButton, {}, {16 * 20 + 8, 155});
        for (int k = 11; k <= 20; ++k) QCOMPARE(level(desk, k, 1), 10 * (k - 10));
        // The anchor is marked in red on its bar's top.
        QCOMPARE(g->grab().toImage().pixelColor(16 * 10 + 8, 254), QColor(255, 0, 0));

        desk.click("SpeedButtonGrafPen");
        bar(desk, "ScrollBarGrafikArea")->setValue(7);                // scenes 225..256
        QTest::mouseClick(g, Qt::LeftButton, {}, {16 * 25 + 3, 55});  // scene index 249
        for (int k = 249; k <= 254; ++k) QCOMPARE(level(desk, k, 1), 200);
        QCOMPARE(level(desk, 255, 1), 0);
        QCOMPARE(level(desk, 248, 1), 0);
    }
};

QTEST_MAIN(GraphPageTest)
#include "GraphPageTest.moc"
