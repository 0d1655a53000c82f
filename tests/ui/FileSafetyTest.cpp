// What the console does with files that fail or surprise it: saves that are
// refused, a first start without a colour file, FIFOs where files should
// be, names that are not UTF-8 and settings written by other programs.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QToolButton>

#include "UiHarness.h"
#include "show/ShowMemory.h"

using lumetra::testing::Desk;
using lumetra::testing::readBytes;
using lumetra::testing::ScriptedDialogs;
using lumetra::testing::writeBytes;
namespace layout = lumetra::layout;
namespace cell = lumetra::cell;

namespace {
QAction* action(Desk& desk, const char* name) {
    return desk.find<QAction>(name);
}

QByteArray showImage(std::uint8_t mark) {
    QByteArray bytes(layout::kShowSize, '\0');
    bytes[cell::kLastScene] = 3;
    bytes[cell::kTempo] = 60;
    bytes[layout::sceneOffset(1) + 5] = static_cast<char>(mark);
    return bytes;
}

// Windows-1251 for "Шоу.lum" and "Клуб" (a folder), as old machines wrote them.
const QByteArray kShowName = QByteArray("\xd8\xee\xf3.lum");
const QByteArray kFolderName = QByteArray("\xca\xeb\xf3\xe1");
}  // namespace

class FileSafetyTest : public QObject {
    Q_OBJECT

  private slots:
    void newKeepsTheShowWhenItsSaveFails() {
        Desk desk;
        QTemporaryDir dir;
        const QString blocker = dir.path() + "/plain";
        writeBytes(blocker, "x");
        auto& show = desk.state().show;
        show.setLevel(3, 9, 99);
        desk.find<QCheckBox>("CheckBoxColorAvto")->setChecked(true);

        ScriptedDialogs::queueAnswer(true);
        ScriptedDialogs::queueFile(blocker + "/show.lum");  // a folder that is a file
        action(desk, "NewItem")->trigger();
        QCOMPARE(desk.log->errors.size(), 1);
        QCOMPARE(show.level(3, 9), 99);

        // Save As that fails shifts no colour either.
        ScriptedDialogs::queueFile(blocker + "/show.lum");
        action(desk, "SaveAsItem")->trigger();
        QCOMPARE(desk.log->errors.size(), 2);
        QCOMPARE(show.cell(cell::kColorRed), 190);
    }

    // A full disk and a read-only one, as an operator meets them: the box
    // names the file and says why in Russian, and nothing is left behind.
    void aSaveOntoAFullOrReadOnlyDiskSaysWhyInRussian() {
        QTemporaryDir dir;
        const QString full = dir.path() + "/full", readOnly = dir.path() + "/ro";
        QDir().mkpath(full);
        QDir().mkpath(readOnly);
        auto mount = [](const QString& options, const QString& at) {
            return QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", at}) == 0;
        };
        if (!mount("size=64k", full)) QSKIP("mounting a small tmpfs needs root");
        const bool roMounted = mount("ro,size=64k", readOnly);
        struct Unmount {
            QStringList at;
            ~Unmount() {
                for (const QString& a : at) QProcess::execute("umount", {a});
            }
        } unmount{roMounted ? QStringList{full, readOnly} : QStringList{full}};

        Desk desk;
        ScriptedDialogs::queueFile(full + "/show.lum");  // 81,920 bytes into 64 KiB
        action(desk, "SaveAsItem")->trigger();
        QCOMPARE(desk.log->errors.value(0),
                 "Ошибка записи файла " + full + "/show.lum: нет места на диске");
        QCOMPARE(QDir(full).entryList(QDir::Files), QStringList());

        QVERIFY(roMounted);
        ScriptedDialogs::queueFile(readOnly + "/show.lum");
        action(desk, "SaveAsItem")->trigger();
        QCOMPARE(desk.log->errors.value(1), "Ошибка записи файла " + readOnly +
                                                "/show.lum: файловая система только для чтения");
    }

    void aFirstStartPaintsAndKeepsTheDefaultNameColours() {
        Desk desk(false);
        const auto& colors = desk.form->channelColors();
        QCOMPARE(int(colors.NameRed[100]), 230);
        QCOMPARE(int(colors.NameGreen[100]), 238);
        QCOMPARE(int(colors.NameBlue[511]), 245);
        const QString path = desk.showDir() + "/lumiEdit.col";
        desk.form->close();
        const QByteArray col = readBytes(path);
        QCOMPARE(col.size(), 16384);
        QCOMPARE(uchar(col[0]), uchar(230));
        QCOMPARE(uchar(col[512 + 77]), uchar(238));
        QCOMPARE(uchar(col[1024 + 511]), uchar(245));
    }

    void fifosInPlaceOfFilesAreRefusedAtStartUp() {
        // The last show, the settings file and the colour file are FIFOs
        // that nobody writes: start-up must not wait on any of them.
        QTemporaryDir shows;
        const QString fifoShow = shows.path() + "/fifo.lum";
        QVERIFY(::mkfifo(QFile::encodeName(fifoShow).constData(), 0600) == 0);
        {
            Desk desk(true, "[LastFile]\r\nPath=" + fifoShow + "\r\n");
            QCOMPARE(desk.log->errors.size(), 1);
            QVERIFY(desk.log->errors[0].contains("не обычный файл"));
            QVERIFY(!desk.form->isNamed());
        }
        Desk desk(false, QString(), Desk::quietOptions(), [](const QString& showDir) {
            for (const char* name : {"/Lumy.ini", "/lumiEdit.col"})
                QVERIFY(::mkfifo(QFile::encodeName(showDir + name).constData(), 0600) == 0);
        });
        QCOMPARE(desk.log->errors.size(), 1);  // the colour file
        QVERIFY(desk.log->errors[0].contains("не обычный файл"));
        QCOMPARE(desk.state().show.cell(cell::kLastScene), 1);
    }

    void namesThatAreNotUtf8OpenSaveAndSurviveTheSettings() {
        QTemporaryDir shows;
        const QByteArray folder = QFile::encodeName(shows.path()) + "/" + kFolderName;
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        const QByteArray path = folder + "/" + kShowName;
        FILE* out = std::fopen(path.constData(), "wb");
        QVERIFY(out);
        const QByteArray image = showImage(77);
        std::fwrite(image.constData(), 1, image.size(), out);
        std::fclose(out);

        QByteArray ini = "[Konveir]\r\nFile01=" + path + "\r\n[LastFile]\r\nPath=" + path + "\r\n";
        QString showDir;
        Desk desk(true, QString(), Desk::quietOptions(), [&](const QString& dir) {
            showDir = dir;
            writeBytes(dir + "/Lumy.ini", ini);
        });
        QVERIFY(desk.log->errors.isEmpty());
        QCOMPARE(desk.state().show.level(1, 5), 77);
        QVERIFY(desk.form->windowTitle().endsWith("/Клуб/Шоу.lum"));
        QCOMPARE(desk.find<QToolButton>("SpeedButton1")->text(), QString("Q=Шоу"));

        desk.state().show.setLevel(1, 5, 78);
        action(desk, "SaveItem")->trigger();
        QVERIFY(desk.log->errors.isEmpty());
        FILE* in = std::fopen(path.constData(), "rb");
        QVERIFY(in);
        QByteArray back(layout::kShowSize, '\0');
        QCOMPARE(std::fread(back.data(), 1, back.size(), in), size_t(layout::kShowSize));
        std::fclose(in);
        QCOMPARE(uchar(back[layout::sceneOffset(1) + 5]), uchar(78));

        desk.form->close();
        const QByteArray written = readBytes(showDir + "/Lumy.ini");
        QVERIFY(written.contains("\r\nFile01=" + path + "\r\n"));
        QVERIFY(written.contains("\r\nPath=" + path + "\r\n"));
    }

    void settingsOfOthersSurviveARun() {
        QString showDir;
        Desk desk(true, "[Window]\r\nLeft=10\r\n[Konveir]\r\nFile01=\r\n; kept\r\n");
        showDir = desk.showDir();
        desk.form->close();
        const QByteArray ini = readBytes(showDir + "/Lumy.ini");
        QVERIFY(
            ini.startsWith("[Window]\r\nLeft=10\r\n[Konveir]\r\nFile01=\r\n; kept\r\nFile02=\r\n"));
        QVERIFY(ini.contains("[LastFile]\r\nPath="));
    }
};

QTEST_MAIN(FileSafetyTest)
#include "FileSafetyTest.moc"
