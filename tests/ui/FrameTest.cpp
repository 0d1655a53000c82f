// The main window frame: start-up, caption, status line, file commands,
// settings and colour files.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include "UiHarness.h"
#include "show/ShowMemory.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;
using lumetra::testing::readBytes;
using lumetra::testing::writeBytes;
namespace layout = lumetra::layout;
namespace cell = lumetra::cell;

namespace {
// A recognisable show image: every byte from its offset, cell 132 = 4.
QByteArray sampleShow() {
    QByteArray bytes(layout::kShowSize, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xff);
    bytes[cell::kLastScene] = 4;
    bytes[cell::kCurrentScene] = 2;
    bytes[cell::kTempo] = 60;
    return bytes;
}

QByteArray memoryOf(lumetra::Console& c) {
    QByteArray bytes(layout::kShowSize, '\0');
    c.show.copyOut(reinterpret_cast<std::uint8_t*>(bytes.data()), 0, layout::kShowSize);
    return bytes;
}

QAction* action(Desk& desk, const char* name) { return desk.find<QAction>(name); }
}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void startupBuildsEveryRegion() {
        Desk desk;
        auto* form = desk.form.get();
        QStringList menus;
        for (QAction* a : form->menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, QStringList({"Шоу", "Сцены", "Установки", "Опции", "Помощь"}));

        auto* input = desk.find<QTabWidget>("PageControlInput");
        QVERIFY(input);
        QStringList pages;
        for (int i = 0; i < input->count(); ++i) pages << input->tabText(i);
        QCOMPARE(pages, QStringList({"Фэйдера", "График Канала", "Редактор луча", "Копирование",
                                     "Автоматы", "Опции", "DMX coder"}));
        auto* temp = desk.find<QTabWidget>("PageControlTemp");
        QCOMPARE(temp->tabText(0), QString("Секвенсер"));
        auto* ust = desk.find<QTabWidget>("PageControlUst");
        QCOMPARE(ust->tabText(2), QString("Стат. картины"));
        // A cleared show shows the pictures page of the settings group.
        QCOMPARE(ust->currentIndex(), 2);
        for (int n = 1; n <= 20; ++n) QVERIFY(desk.find<QToolButton>(QString("SpeedButton%1").arg(n)));
        QCOMPARE(desk.find<QToolButton>("SpeedButton1")->text(), QString("Q пусто"));
        QCOMPARE(desk.find<QToolButton>("SpeedButton20")->text(), QString("пусто"));
        QVERIFY(desk.find<QGroupBox>("GroupBoxColor"));

        // Shortcuts of the file commands.
        QCOMPARE(action(desk, "NewItem")->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(action(desk, "OpenItem")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(action(desk, "SaveAsItem")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(action(desk, "SaveItem")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(action(desk, "ExitItem")->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(action(desk, "HelpItem")->shortcut(), QKeySequence(Qt::Key_F1));

        // The cleared show and the first caption.
        auto& show = desk.state().show;
        QCOMPARE(show.cell(cell::kLastScene), 1);
        QCOMPARE(show.cell(cell::kTempo), 44);
        QCOMPARE(show.cell(145), 50);
        QCOMPARE(form->windowTitle(), QString(" Initalization Unit_001"));
        QVERIFY(desk.log->errors.isEmpty());

        // Disk labels.
        QVERIFY(desk.find<QLabel>("LabelDiskFree")->text().startsWith("Свободно на диске"));
        QVERIFY(desk.find<QLabel>("LabelDiskSize")->text().endsWith(" Mb"));
        // The manual was laid into DOC/.
        QVERIFY(QFile::exists(desk.home.path() + "/DOC/Helplumi.html"));
    }

    void missingColourFileIsReported() {
        Desk desk(false);
        QCOMPARE(desk.log->errors, QStringList({"Файл -Color- не существует !"}));
    }

    void settingsNameTheShowToReopen() {
        QTemporaryDir shows;
        const QString path = shows.path() + "/Disco2008.lum";
        writeBytes(path, sampleShow());
        Desk desk(true, "[Konveir]\r\nFile01=" + path + "\r\nFile20=" + path +
                            "\r\n[LastFile]\r\nPath=" + path + "\r\n");
        QCOMPARE(memoryOf(desk.state()), sampleShow());
        QCOMPARE(desk.form->currentFileName(), path);
        QVERIFY(desk.form->isNamed());
        QCOMPARE(desk.find<QToolButton>("SpeedButton1")->text(), QString("Q=Disco200"));
        QCOMPARE(desk.find<QToolButton>("SpeedButton20")->text(), QString(" Disco200"));
        QVERIFY(desk.find<QToolButton>("SpeedButton1")->font().bold());
        QCOMPARE(desk.form->windowTitle(), " Initalization " + path);
    }

    // The program entry shows the window first: the interface, the settings
    // and the last show, the colour file and their boxes come after it.
    void windowFirstThenDevicesFilesAndBoxes() {
        QTemporaryDir home;
        QDir().mkpath(home.path() + "/SHOW");
        const QString path = home.path() + "/Disco2008.lum";
        writeBytes(path, sampleShow());
        writeBytes(home.path() + "/SHOW/Lumy.ini", ("[LastFile]\r\nPath=" + path).toUtf8());
        auto log = std::make_shared<ScriptedDialogs::Log>();
        lumetra::ui::TBaseForm form(Desk::quietOptions(),
                                    lumetra::io::DataFolder(home.path().toStdString()),
                                    std::make_unique<ScriptedDialogs>(log));
        form.FormCreate(lumetra::ui::TBaseForm::DeviceStart::AfterShow);
        auto* count = form.findChild<QLabel*>("LabelKolvoUSB");
        QVERIFY(log->errors.isEmpty());
        QVERIFY(count->text().isEmpty());
        QCOMPARE(form.console().show.cell(cell::kLastScene), 1);  // the cleared show

        form.show();
        form.FormShown();
        QCOMPARE(log->errors, QStringList({"Файл -Color- не существует !"}));
        QCOMPARE(count->text(), QString("Нет USB устройствa "));
        QCOMPARE(memoryOf(form.console()), sampleShow());
        QCOMPARE(form.windowTitle(), " Initalization " + path);
        QCOMPARE(form.findChild<QLabel*>("LabelStep")->text(), QString("3"));
        form.close();
    }

    void settingsNamingAGoneShowShowTheErrorBox() {
        Desk desk(true, "[LastFile]\nPath=/nowhere/gone.lum\n");
        QCOMPARE(desk.log->errors, QStringList({"Файл не существует !"}));
        QCOMPARE(desk.state().show.cell(cell::kLastScene), 1);
        QVERIFY(!desk.form->isNamed());
    }

    void openLoadsWholeOrNothing() {
        Desk desk;
        QTemporaryDir dir;
        const QString good = dir.path() + "/good.lum";
        QByteArray longer = sampleShow() + QByteArray(100, '\x55');
        writeBytes(good, longer);
        ScriptedDialogs::queueFile(good);
        action(desk, "OpenItem")->trigger();
        QCOMPARE(memoryOf(desk.state()), sampleShow());
        QCOMPARE(desk.form->windowTitle(), " Initalization " + good);
        QCOMPARE(ScriptedDialogs::lastRequest.filter, QString("Файлы DMX Lumetra  (*.lum)"));

        // A short file leaves the show, its name and caption as they were.
        const QString shortFile = dir.path() + "/short.lum";
        writeBytes(shortFile, QByteArray(1000, '\x11'));
        ScriptedDialogs::queueFile(shortFile);
        action(desk, "OpenItem")->trigger();
        QCOMPARE(desk.log->errors.size(), 1);
        QCOMPARE(memoryOf(desk.state()), sampleShow());
        QCOMPARE(desk.form->currentFileName(), good);

        // A missing file: the described box, nothing changed.
        ScriptedDialogs::queueFile(dir.path() + "/none.lum");
        action(desk, "OpenItem")->trigger();
        QCOMPARE(desk.log->errors.last(), QString("Файл не существует !"));
        QCOMPARE(memoryOf(desk.state()), sampleShow());

        // Cancel changes nothing.
        action(desk, "OpenItem")->trigger();
        QCOMPARE(desk.form->currentFileName(), good);
    }

    void saveAsksForANameUntilTheShowHasOne() {
        Desk desk;
        QTemporaryDir dir;
        const QString path = dir.path() + "/first.lum";
        desk.state().show.setLevel(0, 1, 200);
        // Save on an unnamed show behaves as Save As; cancelling writes nothing.
        action(desk, "SaveItem")->trigger();
        QCOMPARE(desk.log->saveDialogs, 1);
        QVERIFY(!desk.form->isNamed());
        QCOMPARE(ScriptedDialogs::lastRequest.initialName, QString("Unit_001"));

        ScriptedDialogs::queueFile(path);
        action(desk, "SaveItem")->trigger();
        QCOMPARE(desk.log->saveDialogs, 2);
        QVERIFY(desk.form->isNamed());
        QByteArray written = readBytes(path);
        QCOMPARE(written.size(), layout::kShowSize);
        QCOMPARE(written.left(40), QByteArray("it is DMX512 File VoxLamp USB Ver 5.3.1 "));
        QCOMPARE(written.mid(99, 29), QByteArray(29, '\0'));
        QCOMPARE(static_cast<unsigned char>(written[layout::levelOffset(0, 1)]), 200u);
        QCOMPARE(desk.form->windowTitle(), " Initalization " + path);

        // Now Save writes silently.
        desk.state().show.setLevel(0, 2, 17);
        action(desk, "SaveItem")->trigger();
        QCOMPARE(desk.log->saveDialogs, 2);
        QCOMPARE(static_cast<unsigned char>(readBytes(path)[layout::levelOffset(0, 2)]), 17u);
    }

    void failedSaveKeepsTheOldFileAndReports() {
        Desk desk;
        QTemporaryDir dir;
        const QString blocker = dir.path() + "/plain";
        writeBytes(blocker, "x");
        ScriptedDialogs::queueFile(blocker + "/show.lum");  // a folder that is a file
        action(desk, "SaveAsItem")->trigger();
        QCOMPARE(desk.log->errors.size(), 1);
        QVERIFY(!desk.form->isNamed());
        QCOMPARE(readBytes(blocker), QByteArray("x"));
    }

    void newAsksThenClearsKeepingNames() {
        Desk desk;
        auto& show = desk.state().show;
        show.setLevel(3, 9, 99);
        show.set(layout::nameOffset(5), 'A');
        show.setCell(cell::kTempo, 100);
        // No: nothing happens.
        action(desk, "NewItem")->trigger();
        QCOMPARE(desk.log->questions, QStringList({"Создать новое ШОУ?"}));
        QCOMPARE(show.level(3, 9), 99);
        // Yes, then cancel the save: the show is cleared without saving.
        ScriptedDialogs::queueAnswer(true);
        action(desk, "NewItem")->trigger();
        QCOMPARE(desk.log->saveDialogs, 1);
        QCOMPARE(show.level(3, 9), 0);
        QCOMPARE(show.get(layout::nameOffset(5)), 'A');
        QCOMPARE(show.cell(cell::kTempo), 44);
        QCOMPARE(show.get(layout::rateOffset(100)), 255);
        QVERIFY(!desk.form->isNamed());
        QCOMPARE(desk.form->windowTitle(), QString(" Initalization Unit_001"));
    }

    void saveAsShiftsTheColourWhenAsked() {
        Desk desk;
        QTemporaryDir dir;
        desk.find<QCheckBox>("CheckBoxColorAvto")->setChecked(true);
        const QString path = dir.path() + "/c.lum";
        ScriptedDialogs::queueFile(path);
        action(desk, "SaveAsItem")->trigger();
        auto& show = desk.state().show;
        QCOMPARE(show.cell(cell::kColorRed), (190 + 103) % 256);
        QCOMPARE(show.cell(cell::kColorGreen), (197 + 43) % 256);
        QCOMPARE(show.cell(cell::kColorBlue), 190 - 33);
        // The file holds the colour from before the shift.
        QCOMPARE(static_cast<unsigned char>(readBytes(path)[cell::kColorRed]), 190u);
        // A cancelled Save As shifts as well.
        action(desk, "SaveAsItem")->trigger();
        QCOMPARE(show.cell(cell::kColorGreen), (197 + 43 + 43) % 256);
    }

    void colourCellsDriveTheWindow() {
        Desk desk;
        auto& show = desk.state().show;
        show.setCell(cell::kColorOn, 0);
        show.setCell(cell::kColorRed, 10);
        desk.form->SetColorAll();
        QVERIFY(!desk.find<QCheckBox>("CheckBoxColorZamok")->isChecked());
        QCOMPARE(desk.find<QGroupBox>("GroupBoxColor")->palette().color(QPalette::Window),
                 QColor(10, 197, 190));
        QVERIFY(desk.form->palette().color(QPalette::Window) != QColor(10, 197, 190));
        show.setCell(cell::kColorOn, 1);
        desk.form->SetColorAll();
        QCOMPARE(desk.form->palette().color(QPalette::Window), QColor(10, 197, 190));
        // The sliders write the cells back.
        desk.find<QScrollBar>("ScrollBarBlue")->setValue(77);
        QCOMPARE(show.cell(cell::kColorBlue), 77);
    }

    void statusMessagesVanishAfterTwoSeconds() {
        Desk desk;
        desk.form->OutStatus("первое");
        QCOMPARE(desk.form->statusText(), QString("первое"));
        QTRY_COMPARE_WITH_TIMEOUT(desk.form->statusText(), QString(), 5000);
    }

    void autosaveWritesTheFixedFile() {
        Desk desk;
        desk.state().show.setLevel(1, 1, 42);
        desk.form->TimerAvtoSaveTimer();
        QCOMPARE(desk.form->statusText(), QString("Автосохранение файла Unit_001"));
        QByteArray saved = readBytes(desk.showDir() + "/ShouTemp.lum");
        QCOMPARE(saved.size(), layout::kShowSize);
        QCOMPARE(static_cast<unsigned char>(saved[layout::levelOffset(1, 1)]), 42u);
        QVERIFY(!desk.form->isNamed());
    }

    void shutdownWritesSettingsAndColours() {
        QString showDir;
        QTemporaryDir shows;
        const QString path = shows.path() + "/Club.lum";
        {
            Desk desk;
            showDir = desk.showDir();
            desk.form->channelColors().SplitRed[7] = 99;
            ScriptedDialogs::queueFile(path);  // the save dialog at shutdown
            desk.form->close();
            QByteArray ini = readBytes(showDir + "/Lumy.ini");
            QVERIFY(ini.startsWith("[Konveir]\r\nFile01=\r\n"));
            QVERIFY(ini.contains("[LastFile]\r\nPath=" + path.toLocal8Bit() + "\r\n"));
            QByteArray col = readBytes(showDir + "/lumiEdit.col");
            QCOMPARE(col.size(), 16384);
            QCOMPARE(static_cast<unsigned char>(col[2048 + 7]), 99u);
            QCOMPARE(readBytes(path).size(), layout::kShowSize);
        }
    }
};

QTEST_MAIN(FrameTest)
#include "FrameTest.moc"
