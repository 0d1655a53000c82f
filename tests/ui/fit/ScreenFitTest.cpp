// The console on one screen, given by LUMETRA_TEST_SCREEN ("WIDTHxHEIGHT",
// the area a desktop panel leaves) through the offscreen platform's screen
// configuration; QT_SCALE_FACTOR scales as on a high-density screen. On
// every page of every page control the main window's frame lies on the
// screen and every named control can be seen whole: from a laptop's screen
// up without scrolling, on a smaller one once its region is scrolled to it.
// The other windows open on the screen too.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/SideWindows.h"
#include "ui/UiHarness.h"
#include "view/View3dForm.h"

using lumetra::testing::Desk;

namespace {

QString describe(const QRect& r) {
    return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

bool isControl(const QWidget* w) {
    if (!w->isVisible() || w->size().isEmpty() || w->objectName().isEmpty()) return false;
    // Qt's own parts count only where they are what the operator clicks.
    return !w->objectName().startsWith("qt_") || qobject_cast<const QTabBar*>(w);
}

// The named controls that hold no named control themselves: a group is
// checked through what it holds.
QList<QWidget*> innermostControls(QWidget* window) {
    QList<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!isControl(w)) continue;
        const QList<QWidget*> inside = w->findChildren<QWidget*>();
        if (std::none_of(inside.begin(), inside.end(), isControl)) out << w;
    }
    return out;
}

// What of a control shows: its rectangle cut by every widget around it (the
// scrolled region's viewport among them) and by the screen.
QRect shownPart(const QWidget* w, const QRect& screen) {
    QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        r &= QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
    return r & screen;
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    void everyWindowAndControlLiesOnTheScreen() {
        Desk desk;
        QWidget* form = desk.form.get();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        // The output clock's line on the tab "Опции" comes a moment later.
        QTRY_VERIFY(!desk.find<QLabel>("LabelClockPriority")->text().isEmpty());
        const QRect screen = form->screen()->availableGeometry();
        const bool laptopOrLarger = screen.width() >= 1366 && screen.height() >= 728;
        auto* region = desk.find<QScrollArea>("CentralScroll");

        for (QTabWidget* tabs : form->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QApplication::processEvents();
                const QString page = tabs->tabText(i);
                QVERIFY2(screen.contains(form->frameGeometry()),
                         qPrintable(page + ": frame " + describe(form->frameGeometry())));
                if (laptopOrLarger)
                    QVERIFY2(!region->horizontalScrollBar()->isVisible() &&
                                 !region->verticalScrollBar()->isVisible(),
                             qPrintable(page + ": the window scrolls"));
                for (QWidget* w : innermostControls(form)) {
                    // One taller or wider than the region shows as much of
                    // itself as the region can.
                    if (!laptopOrLarger) region->ensureWidgetVisible(w, 0, 0);
                    QVERIFY2(shownPart(w, screen).size() ==
                                 w->size().boundedTo(region->viewport()->size()),
                             qPrintable(page + ": " + w->objectName() + " shows " +
                                        describe(shownPart(w, screen)) + " of " +
                                        describe(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()))));
                }
            }

        for (const char* item : {"ChaserItem", "AreaItem", "HelpItem"})
            desk.find<QAction>(item)->trigger();
        desk.form->sideWindows().view3d().show();
        // The about window is modal: looked at while it is open.
        QString about;
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                about = box->objectName() + " " + describe(box->frameGeometry());
                if (screen.contains(box->frameGeometry())) about = box->objectName();
                box->close();
            }
        });
        desk.find<QAction>("AboutItem")->trigger();
        QCOMPARE(about, QString("AboutForm"));
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w == form) continue;
            ++shown;
            QVERIFY2(screen.contains(w->frameGeometry()),
                     qPrintable(w->objectName() + " " + describe(w->frameGeometry())));
        }
        QCOMPARE(shown, 4);  // static pictures, scanner, 3D, manual
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
