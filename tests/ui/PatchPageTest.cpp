// The "DMX coder" page: thirty patch rows, their window onto the table,
// page steps, reset and patch files through the dialogs.
#include <QButtonGroup>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include "UiHarness.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;

namespace {
QScrollBar* row(Desk& desk, int n) {
    return desk.find<QScrollBar>(QString("ScrollBarCoder%1").arg(n, 2, 10, QChar('0')));
}
QString label(Desk& desk, int n) {
    return desk.find<QLabel>(QString("Labelcoder%1").arg(n, 2, 10, QChar('0')))->text();
}
QString rowText(int source, int output) {
    return QString("Канал %1 выводится в канал %2").arg(source).arg(output);
}
int entry(Desk& desk, int j) {
    return desk.state().patchTable.get(j);
}
}  // namespace

class PatchPageTest : public QObject {
    Q_OBJECT

  private slots:
    void startShowsTheIdentity() {
        Desk desk;
        QCOMPARE(entry(desk, 0), 0);
        for (int n = 1; n <= 30; ++n) {
            QCOMPARE(row(desk, n)->value(), n);
            QCOMPARE(label(desk, n), rowText(n, n));
            QCOMPARE(row(desk, n)->pageStep(), 12);
        }
        auto* pos = desk.find<QScrollBar>("ScrollBarCoderPos");
        QCOMPARE(pos->maximum(), 225);
        QCOMPARE(pos->pageStep(), 20);
        QVERIFY(desk.find<QToolButton>("SpeedButtonCoderCh12")->isChecked());
    }

    void movingARowRoutesAnOutput() {
        Desk desk;
        row(desk, 5)->setValue(17);
        row(desk, 6)->setValue(17);
        QCOMPARE(entry(desk, 5), 17);
        QCOMPARE(entry(desk, 6), 17);
        QCOMPARE(label(desk, 5), rowText(17, 5));
        QCOMPARE(label(desk, 6), rowText(17, 6));
        QCOMPARE(entry(desk, 7), 7);

        // The rows are a window on the table: at 225 they show 226..255.
        auto* pos = desk.find<QScrollBar>("ScrollBarCoderPos");
        pos->setValue(225);
        QCOMPARE(label(desk, 1), rowText(226, 226));
        QCOMPARE(label(desk, 30), rowText(255, 255));
        row(desk, 30)->setValue(3);
        QCOMPARE(entry(desk, 255), 3);
        QCOMPARE(entry(desk, 30), 30);
        pos->setValue(0);
        QCOMPARE(row(desk, 5)->value(), 17);
        QCOMPARE(label(desk, 30), rowText(30, 30));
        // Scrolling back and forth wrote nothing.
        QCOMPARE(entry(desk, 255), 3);
        QCOMPARE(entry(desk, 226), 226);
    }

    void pageStepButtonsChangeOnlyTheStep() {
        Desk desk;
        desk.click("SpeedButtonCoderCh3");
        QVERIFY(desk.find<QToolButton>("SpeedButtonCoderCh3")->isChecked());
        QVERIFY(!desk.find<QToolButton>("SpeedButtonCoderCh12")->isChecked());
        for (int n = 1; n <= 30; ++n) QCOMPARE(row(desk, n)->pageStep(), 3);
        for (int j = 1; j <= 255; ++j) QCOMPARE(entry(desk, j), j);

        // One page click then moves a row's source by the step.
        row(desk, 2)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(entry(desk, 2), 5);
        desk.click("SpeedButtonCoderCh16");
        row(desk, 2)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(entry(desk, 2), 21);
        QCOMPARE(label(desk, 2), rowText(21, 2));
        QVERIFY(!desk.find<QToolButton>("SpeedButtonCoderCh3")->isChecked());
    }

    void resetRestoresTheIdentityButEntryZero() {
        Desk desk;
        desk.state().patchTable.set(0, 7);
        desk.state().patchTable.set(300, 1);
        row(desk, 1)->setValue(200);
        desk.click("SpeedButtonResetCoder");
        QCOMPARE(entry(desk, 0), 7);
        QCOMPARE(entry(desk, 1), 1);
        QCOMPARE(entry(desk, 300), 300);
        QCOMPARE(row(desk, 1)->value(), 1);
        QCOMPARE(label(desk, 1), rowText(1, 1));
    }

    void patchFileRoundTrip() {
        Desk desk;
        const QString path = desk.home.path() + "/rig.lmd";
        ScriptedDialogs::queueFile(path);
        desk.click("SpeedButtonSaveCoderTab");
        QCOMPARE(ScriptedDialogs::lastRequest.filter, QString("Файлы перекодировки Lumetra  (*.lmd)"));
        QCOMPARE(ScriptedDialogs::lastRequest.defaultSuffix, QString("lmd"));
        const QByteArray saved = lumetra::testing::readBytes(path);
        QCOMPARE(saved.size(), 512);
        for (int k = 0; k < 256; ++k) {
            QCOMPARE(static_cast<unsigned char>(saved[2 * k]), static_cast<unsigned char>(k));
            QCOMPARE(saved[2 * k + 1], char(0));
        }

        row(desk, 5)->setValue(17);
        row(desk, 9)->setValue(250);
        ScriptedDialogs::queueFile(path);
        desk.click("SpeedButtonOpenCoderTab");
        QCOMPARE(entry(desk, 5), 5);
        QCOMPARE(entry(desk, 9), 9);
        QCOMPARE(row(desk, 9)->value(), 9);
        QCOMPARE(label(desk, 5), rowText(5, 5));
        QVERIFY(desk.log->errors.isEmpty());

        // A cancelled dialog does nothing.
        row(desk, 5)->setValue(40);
        desk.click("SpeedButtonOpenCoderTab");
        desk.click("SpeedButtonSaveCoderTab");
        QCOMPARE(entry(desk, 5), 40);
        QCOMPARE(lumetra::testing::readBytes(path), saved);
    }

    void badPatchFilesLeaveTheTable() {
        Desk desk;
        row(desk, 3)->setValue(44);
        const QString shortFile = desk.home.path() + "/short.lmd";
        lumetra::testing::writeBytes(shortFile, QByteArray(100, '\x09'));
        ScriptedDialogs::queueFile(shortFile);
        desk.click("SpeedButtonOpenCoderTab");
        ScriptedDialogs::queueFile(desk.home.path() + "/missing.lmd");
        desk.click("SpeedButtonOpenCoderTab");
        QCOMPARE(desk.log->errors.size(), 2);
        QCOMPARE(entry(desk, 1), 1);
        QCOMPARE(entry(desk, 3), 44);
        QCOMPARE(label(desk, 3), rowText(44, 3));

        // A save into a folder that is not there reports the failure.
        ScriptedDialogs::queueFile(desk.home.path() + "/no/such/dir/x.lmd");
        desk.click("SpeedButtonSaveCoderTab");
        QCOMPARE(desk.log->errors.size(), 3);
    }

    void entriesBeyondTheRowsStayAsLoaded() {
        Desk desk;
        QByteArray bytes(512, '\0');
        for (int k = 0; k < 256; ++k) bytes[2 * k] = char(k);
        bytes[2 * 5] = char(300 & 0xff);  // entry 5 = 300
        bytes[2 * 5 + 1] = char(300 >> 8);
        bytes[2 * 6] = 0;  // entry 6 = 0
        const QString path = desk.home.path() + "/odd.lmd";
        lumetra::testing::writeBytes(path, bytes);
        ScriptedDialogs::queueFile(path);
        desk.click("SpeedButtonOpenCoderTab");
        QCOMPARE(row(desk, 5)->value(), 255);
        QCOMPARE(row(desk, 6)->value(), 1);
        QCOMPARE(label(desk, 5), rowText(300, 5));
        QCOMPARE(label(desk, 6), rowText(0, 6));
        // Refreshes keep them; only the operator's move rewrites an entry.
        desk.form->run(lumetra::ui::TBaseForm::Hook::UpDateDmxCoder);
        desk.find<QScrollBar>("ScrollBarCoderPos")->setValue(1);
        desk.find<QScrollBar>("ScrollBarCoderPos")->setValue(0);
        QCOMPARE(entry(desk, 5), 300);
        QCOMPARE(entry(desk, 6), 0);
        row(desk, 5)->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(entry(desk, 5), 254);
    }
};

QTEST_MAIN(PatchPageTest)
#include "PatchPageTest.moc"
