// The 3D window drawn for real: under a virtual X display with Mesa's GL,
// a known device table is rendered and the pixels are looked at.
#include <QApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTest>

#include "view/DeviceFeed.h"
#include "view/View3dForm.h"

using lumetra::DeviceFeed;
using lumetra::io::ChannelColors;
using lumetra::ui::Tform3Dlumi;

namespace {

// Pixels where one colour clearly dominates the grey of the room.
int pixelsOf(const QImage& image, int (*dominant)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dominant(image.pixel(x, y)) > 60) ++n;
    return n;
}
int redness(QRgb p) {
    return qRed(p) - std::max(qGreen(p), qBlue(p));
}
int greenness(QRgb p) {
    return qGreen(p) - std::max(qRed(p), qBlue(p));
}

}  // namespace

class View3dDrawTest : public QObject {
    Q_OBJECT

    ChannelColors devices;
    DeviceFeed feed{devices};
    Tform3Dlumi view;

    QImage frame() {
        QImage image = view.glView()->grabFramebuffer();
        if (qEnvironmentVariableIsSet("LUMETRA_VIEW3D_DUMP"))
            image.save(qEnvironmentVariable("LUMETRA_VIEW3D_DUMP") + "/" +
                       QTest::currentTestFunction() + ".png");
        return image;
    }

    // A lamp in the middle of the stage, its beam thrown forward and up.
    void placeLamp(int device, int type, int red, int green, int blue, int intensity) {
        devices.DeviceType.set(device, static_cast<std::uint8_t>(type));
        devices.DeviceX.set(device, 127);
        devices.DeviceY.set(device, 60);
        devices.DeviceZ.set(device, 60);
        devices.DevicePan.set(device, 127);
        devices.DeviceTilt.set(device, 127);
        devices.DeviceBeamWidth.set(device, 20);
        auto& light = feed.lights();
        light.red.set(device, static_cast<std::uint8_t>(red));
        light.green.set(device, static_cast<std::uint8_t>(green));
        light.blue.set(device, static_cast<std::uint8_t>(blue));
        light.intensity.set(device, static_cast<std::uint8_t>(intensity));
    }

    void clearTable() {
        devices = ChannelColors{};
        for (auto* t : {&feed.lights().red, &feed.lights().green, &feed.lights().blue,
                        &feed.lights().intensity})
            t->fill(0);
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        view.bind(feed);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.glView() != nullptr);
        QVERIFY(view.glView()->isValid());
        QCOMPARE(view.windowTitle(), QString("3D wiever"));
        QTRY_COMPARE(view.height(), view.width());  // made 325 x 306, shown square
        QTRY_COMPARE(view.glView()->size(), view.size());
    }

    void init() { clearTable(); }

    void theRoomAloneIsGreyAndTypeZeroIsNotDrawn() {
        const QImage room = frame();
        QVERIFY(!room.isNull());
        // The back wall in the middle is lit grey, not black.
        const QRgb middle = room.pixel(room.width() / 2, room.height() / 2);
        QVERIFY2(qGray(middle) > 20, qPrintable(QString::number(qGray(middle))));
        QCOMPARE(pixelsOf(room, redness), 0);

        // A device with no type: lit, placed, and still nothing drawn.
        placeLamp(7, 0, 255, 0, 0, 255);
        QCOMPARE(frame(), room);
    }

    void aLitParShowsItsBeamColourAndLosesItWithoutIntensity() {
        const QImage room = frame();
        placeLamp(20, 3, 255, 0, 0, 255);
        const QImage lit = frame();
        QVERIFY2(pixelsOf(lit, redness) > 200, qPrintable(QString::number(pixelsOf(lit, redness))));
        QCOMPARE(pixelsOf(lit, greenness), 0);

        // Dark: no beam, but the PAR's can is still there.
        feed.lights().intensity.set(20, 0);
        const QImage dark = frame();
        QCOMPARE(pixelsOf(dark, redness), 0);
        QVERIFY(dark != room);

        // All colours 0 at full intensity: no beam either.
        feed.lights().intensity.set(20, 255);
        feed.lights().red.set(20, 0);
        QCOMPARE(frame(), dark);
    }

    void aHeadBeamFollowsTheFeedColour() {
        placeLamp(3, 1, 0, 200, 0, 255);
        const QImage green = frame();
        QVERIFY(pixelsOf(green, greenness) > 200);
        QCOMPARE(pixelsOf(green, redness), 0);
    }

    void newDataRedrawsAndTheWindowStaysSquare() {
        // The feed's flag is taken by the window's timer.
        feed.lights().newData.set(1);
        QTRY_COMPARE(feed.lights().newData.get(), 0);

        view.resize(400, 300);
        QTRY_COMPARE(view.height(), 400);
        QCOMPARE(view.width(), 400);
        QTRY_COMPARE(view.glView()->size(), QSize(400, 400));
        QCOMPARE(frame().size(), QSize(400, 400));
    }
};

QTEST_MAIN(View3dDrawTest)
#include "View3dDrawTest.moc"
