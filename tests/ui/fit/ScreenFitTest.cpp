// The main window and the other windows on a small screen: each opens
// wholly on the screen, and every named control lies on it (inside a
// scrolled region, the region does). The screen comes from
// LUMETRA_TEST_SCREEN ("WIDTHxHEIGHT", the area left by the desktop's panel)
// through the offscreen platform's screen configuration; QT_SCALE_FACTOR
// scales as on a high-density screen.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/SideWindows.h"
#include "ui/UiHarness.h"
#include "view/View3dForm.h"

using lumetra::testing::Desk;

namespace {

// The screen's area, in the window system's coordinates.
QRect screenArea(const QWidget* w) {
    return w->screen()->availableGeometry();
}

QRect globalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The nearest scrolled region around a control: what the operator scrolls
// to reach it.
const QWidget* scrolledRegion(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* area = qobject_cast<const QAbstractScrollArea*>(p)) {
            // Text fields and lists scroll their own contents; only a region
            // that holds controls counts.
            if (area->viewport() && area->viewport()->findChildren<QWidget*>().size() > 1)
                return area->viewport();
        }
    return nullptr;
}

// Every named control of the window that is shown now, outside the screen.
QStringList offScreen(const QWidget* window) {
    QStringList out;
    const QRect screen = screenArea(window);
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisible() || w->size().isEmpty()) continue;
        if (w->objectName().startsWith("qt_")) continue;
        const QWidget* region = scrolledRegion(w);
        const QRect r = region ? globalRect(region) : globalRect(w);
        if (!screen.contains(r))
            out << QString("%1 at %2,%3 %4x%5")
                       .arg(w->objectName())
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
    }
    return out;
}

// Every page of every page control, one after another.
template <typename Check>
void onEveryPage(QWidget* window, Check check) {
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            check(tabs->objectName() + "/" + tabs->tabText(i));
        }
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    void theMainWindowOpensWhollyOnTheScreen() {
        Desk desk;
        QVERIFY(QTest::qWaitForWindowExposed(desk.form.get()));
        const QRect screen = screenArea(desk.form.get());
        QVERIFY2(screen.contains(desk.form->frameGeometry()),
                 qPrintable(QString("frame %1,%2 %3x%4")
                                .arg(desk.form->frameGeometry().x())
                                .arg(desk.form->frameGeometry().y())
                                .arg(desk.form->frameGeometry().width())
                                .arg(desk.form->frameGeometry().height())));
        // From a laptop's screen up, nothing of the window needs scrolling.
        if (screen.width() >= 1366 && screen.height() >= 728) {
            auto* central = desk.form->findChild<QScrollArea*>("CentralScroll");
            QVERIFY(central);
            QVERIFY(!central->horizontalScrollBar()->isVisible());
            QVERIFY(!central->verticalScrollBar()->isVisible());
        }
        onEveryPage(desk.form.get(), [&](const QString& page) {
            const QStringList out = offScreen(desk.form.get());
            QVERIFY2(out.isEmpty(), qPrintable(page + ": " + out.join("; ")));
        });
    }

    void theOtherWindowsOpenOnTheScreen() {
        Desk desk;
        QVERIFY(QTest::qWaitForWindowExposed(desk.form.get()));
        for (const char* item : {"ChaserItem", "AreaItem", "HelpItem"})
            desk.find<QAction>(item)->trigger();
        desk.form->sideWindows().view3d().show();
        // The about window is modal: looked at while it is open.
        QString about;
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                about = box->objectName();
                QVERIFY2(screenArea(box).contains(box->frameGeometry()), "about window");
                box->close();
            }
        });
        desk.find<QAction>("AboutItem")->trigger();
        QVERIFY(!about.isEmpty());

        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w == desk.form.get()) continue;
            ++shown;
            QVERIFY2(screenArea(w).contains(w->frameGeometry()), qPrintable(w->objectName()));
        }
        QVERIFY(shown >= 4);
    }
};

int main(int argc, char** argv) {
    // The offscreen platform takes its screens from a file named on its
    // command line; its path may hold no colon.
    const QByteArray size = qgetenv("LUMETRA_TEST_SCREEN");
    const QStringList wh = QString::fromLatin1(size.isEmpty() ? "1366x728" : size).split('x');
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (wh.size() != 2 || !file.open(QIODevice::WriteOnly)) return 2;
    file.write(QString(R"({"windowFrameMargins": true, "screens": [{"name": "laptop", "x": 0,
        "y": 0, "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96}]})")
                   .arg(wh[0], wh[1])
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication app(argc, argv);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
