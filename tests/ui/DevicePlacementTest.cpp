// The 3D viewer on the main window: the placement group on "Опции", the
// button that shows the viewer, the device table in the colour file. Under
// offscreen the viewer has no GL view; its drawing is tested under X.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QOpenGLWidget>
#include <QScrollBar>
#include <QToolButton>

#include "UiHarness.h"
#include "app/SideWindows.h"
#include "output/OutputControls.h"
#include "view/DeviceFeed.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;
using lumetra::ui::TBaseForm;

class DevicePlacementTest : public QObject {
    Q_OBJECT

    static QScrollBar* bar(Desk& desk, const char* name) { return desk.find<QScrollBar>(name); }
    static QCheckBox* box(Desk& desk, const char* name) { return desk.find<QCheckBox>(name); }

  private slots:
    void theButtonShowsTheViewerFedByTheTick() {
        Desk desk;
        QWidget* options = desk.form->inputPage(TBaseForm::PageOptions);
        auto* group = options->findChild<QGroupBox*>("GroupBoxPosDevice");
        QVERIFY(group);
        QCOMPARE(group->title(), QString("Позиционирование приборов "));
        auto* show = options->findChild<QToolButton*>("SpeedButton3Don");
        QVERIFY(show);
        QCOMPARE(show->text(), QString("показать 3D (demo version) "));

        auto& view = desk.form->sideWindows().view3d();
        QVERIFY(!view.isVisible());
        show->click();
        QVERIFY(view.isVisible());
        QCOMPARE(view.windowTitle(), QString("3D wiever"));
        QVERIFY(view.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(view.glView() == nullptr);  // no GL under offscreen
        QVERIFY(view.feed());

        // The tick feeds the viewer's table; its timer takes the flag.
        auto& lights = const_cast<lumetra::DeviceFeed*>(view.feed())->lights();
        desk.state().dmxLine.set(1, 0);
        desk.form->output().cycle().RealTimeTick();
        QTRY_COMPARE(lights.newData.get(), 0);

        view.resize(400, 250);
        QTRY_COMPARE(view.height(), 400);
    }

    void nothingIsStoredUntilEnableRecordIsTicked() {
        Desk desk;
        auto& devices = desk.form->channelColors();
        bar(desk, "ScrollBarXdev")->setValue(40);
        bar(desk, "ScrollBarYdev")->setValue(20);
        bar(desk, "ScrollBarZdev")->setValue(200);
        desk.click("SpeedButtonDev3D");
        QCOMPARE(devices.DeviceX[1] | devices.DeviceY[1] | devices.DeviceZ[1], 0);
        QCOMPARE(devices.DeviceType[1], 0);
        // The captions follow the sliders whether or not anything is stored.
        QCOMPARE(box(desk, "CheckBoxFixX")->text(), QString("<Fix X 40"));
        QCOMPARE(box(desk, "CheckBoxFixY")->text(), QString("<Fix Y 235"));
        QCOMPARE(box(desk, "CheckBoxFixZ")->text(), QString("<Fix Z 200"));

        box(desk, "CheckBoxEnableRecord")->click();
        bar(desk, "ScrollBarNomberDev")->setValue(4);
        QCOMPARE(desk.find<QLabel>("LabelNomberPosDevice")->text(), QString("Device: 4"));
        bar(desk, "ScrollBarXdev")->setValue(30);
        bar(desk, "ScrollBarYdev")->setValue(20);
        bar(desk, "ScrollBarZdev")->setValue(201);
        QCOMPARE(devices.DeviceX[4], 30);
        QCOMPARE(devices.DeviceY[4], 235);  // 255 - slider
        QCOMPARE(devices.DeviceZ[4], 201);
        const std::pair<const char*, int> types[] = {{"SpeedButtonscan", 2},
                                                     {"SpeedButtonDevoff", 0},
                                                     {"SpeedButtonDev3D", 1},
                                                     {"SpeedButtonpar", 3}};
        for (auto [name, type] : types) {
            desk.click(name);
            QCOMPARE(devices.DeviceType[4], type);
        }
        QCOMPARE(desk.find<QToolButton>("SpeedButtonpar")->text(), QString("PAR"));
    }

    void beamSlidersMoveOnlyARecordedPar() {
        Desk desk;
        auto& devices = desk.form->channelColors();
        box(desk, "CheckBoxEnableRecord")->click();
        bar(desk, "ScrollBarNomberDev")->setValue(20);
        desk.click("SpeedButtonDev3D");
        bar(desk, "ScrollBarRotatx")->setValue(10);
        QCOMPARE(devices.DevicePan[20], 0);  // a head takes its pan from the line

        desk.click("SpeedButtonpar");
        bar(desk, "ScrollBarRotatx")->setValue(11);
        bar(desk, "ScrollBaRotaty")->setValue(12);
        bar(desk, "ScrollBarWide")->setValue(13);
        QCOMPARE(devices.DevicePan[20], 11);
        QCOMPARE(devices.DeviceTilt[20], 12);
        QCOMPARE(devices.DeviceBeamWidth[20], 13);

        box(desk, "CheckBoxEnableRecord")->click();
        bar(desk, "ScrollBarWide")->setValue(99);
        QCOMPARE(devices.DeviceBeamWidth[20], 13);
    }

    void choosingADeviceLoadsItsPlaceExceptFixedAxes() {
        Desk desk;
        auto& devices = desk.form->channelColors();
        devices.DeviceX.set(2, 50);
        devices.DeviceY.set(2, 200);
        devices.DeviceZ.set(2, 10);
        devices.DeviceX.set(3, 60);
        devices.DeviceY.set(3, 100);
        devices.DeviceZ.set(3, 20);
        bar(desk, "ScrollBarNomberDev")->setValue(2);
        QCOMPARE(bar(desk, "ScrollBarXdev")->value(), 50);
        QCOMPARE(bar(desk, "ScrollBarYdev")->value(), 55);
        QCOMPARE(bar(desk, "ScrollBarZdev")->value(), 10);

        // X fixed: device 3 shares device 2's X slider, the rest follow.
        box(desk, "CheckBoxFixX")->click();
        box(desk, "CheckBoxEnableRecord")->click();
        bar(desk, "ScrollBarNomberDev")->setValue(3);
        QCOMPARE(bar(desk, "ScrollBarXdev")->value(), 50);
        QCOMPARE(bar(desk, "ScrollBarYdev")->value(), 155);
        QCOMPARE(bar(desk, "ScrollBarZdev")->value(), 20);
        QCOMPARE(devices.DeviceY[3], 100);  // reloaded, stored again unchanged
    }

    void theDeviceTableSurvivesARestart() {
        Desk desk;
        box(desk, "CheckBoxEnableRecord")->click();
        bar(desk, "ScrollBarNomberDev")->setValue(32);
        desk.click("SpeedButtonpar");
        bar(desk, "ScrollBarXdev")->setValue(200);
        bar(desk, "ScrollBaRotaty")->setValue(90);
        desk.form->close();  // the save dialog is cancelled; the colour file is written

        const QByteArray file = lumetra::testing::readBytes(desk.showDir() + "/lumiEdit.col");
        QCOMPARE(file.size(), 16384);
        QCOMPARE(quint8(file[4192 + 32]), 3);
        QCOMPARE(quint8(file[4704 + 32]), 200);
        QCOMPARE(quint8(file[9408 + 32]), 90);

        auto log = std::make_shared<ScriptedDialogs::Log>();
        TBaseForm again(Desk::quietOptions(),
                        lumetra::io::DataFolder(desk.home.path().toStdString()),
                        std::make_unique<ScriptedDialogs>(log));
        again.FormCreate();
        QVERIFY(!log->errors.contains("Файл -Color- не существует !"));
        QCOMPARE(again.channelColors().DeviceType[32], 3);
        again.findChild<QScrollBar*>("ScrollBarNomberDev")->setValue(32);
        QCOMPARE(again.findChild<QScrollBar*>("ScrollBarXdev")->value(), 200);
        again.close();
    }
};

QTEST_MAIN(DevicePlacementTest)
#include "DevicePlacementTest.moc"
