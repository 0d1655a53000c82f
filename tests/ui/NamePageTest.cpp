// The channel names and colours driven through the main window: names typed
// into the fields, the tab "Цвет канала", the menu "Установки", the names
// block copy and the colour file across a restart.
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "edit/FaderPage.h"
#include "edit/GoboPictures.h"
#include "playback/SequencerPage.h"

using lumetra::testing::Desk;
using lumetra::testing::ScriptedDialogs;
using lumetra::ui::TBaseForm;

namespace {

QLineEdit* field(Desk& desk, int n) {
    return desk.find<QLineEdit>(QString("Edit%1").arg(n));
}

QByteArray slot(Desk& desk, int channel) {
    QByteArray bytes(16, '\0');
    desk.state().show.copyOut(reinterpret_cast<std::uint8_t*>(bytes.data()),
                              lumetra::layout::nameOffset(channel), 16);
    return bytes;
}

QByteArray padded(const QByteArray& name) {
    return name + QByteArray(16 - name.size(), '\0');
}

void activate(Desk& desk) {
    desk.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk.form.get()));
}

// Key presses carrying the characters, Cyrillic ones too.
void typeText(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

// Clicks into a field, types and leaves it for the next field.
void typeName(Desk& desk, int row, const QString& text) {
    QLineEdit* edit = field(desk, row);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    typeText(edit, text);
    field(desk, row == 27 ? 1 : row + 1)->setFocus();
    QTRY_VERIFY(!edit->hasFocus());
}

void setBank(Desk& desk, int bank) {
    desk.find<QScrollBar>("ScrolbarVertPos")->setValue(bank);
}

QColor fieldColor(Desk& desk, int row) {
    return field(desk, row)->palette().color(QPalette::Base);
}

}  // namespace

class NamePageTest : public QObject {
    Q_OBJECT

  private slots:
    void typedNamesAreStoredAsTheShowKeepsThem() {
        Desk desk;
        activate(desk);
        QCOMPARE(field(desk, 1)->toolTip(),
                 QString("Имя канала. Максимальное число символов - 16. Для изменения цвета "
                         "дабл-клик"));
        QVERIFY(desk.find<QCheckBox>("CheckBoxFlashOn")->isChecked());
        setBank(desk, 10);
        typeName(desk, 1, "PAR 1");
        // A click into a name field switches the hot keys off.
        QVERIFY(!desk.find<QCheckBox>("CheckBoxFlashOn")->isChecked());
        QCOMPARE(slot(desk, 11), padded(QByteArray("PAR\0"
                                                   "1",
                                                   5)));

        typeName(desk, 2, "Прожектор левый");
        QCOMPARE(slot(desk, 12), padded(QByteArray("\xcf\xf0\xee\xe6\xe5\xea\xf2\xee\xf0\0"
                                                   "\xeb\xe5\xe2\xfb\xe9",
                                                   15)));
        typeName(desk, 3, "ABCDEFGHIJKLMNOPQRST");
        QCOMPARE(slot(desk, 13), QByteArray("ABCDEFGHIJKLMNOP"));

        // The names follow the bank and come back with their blanks.
        setBank(desk, 0);
        QCOMPARE(field(desk, 11)->text(), QString("PAR 1"));
        QCOMPARE(field(desk, 12)->text(), QString("Прожектор левый"));
        QCOMPARE(field(desk, 1)->text(), QString());

        // Closing the console stores a name still being typed.
        QTest::mouseClick(field(desk, 5), Qt::LeftButton);
        QTRY_VERIFY(field(desk, 5)->hasFocus());
        typeText(field(desk, 5), "END");
        desk.form->close();
        QCOMPARE(slot(desk, 5), padded("END"));
    }

    void aNameTypedWhileTheShowPlaysIsKept() {
        Desk desk;
        activate(desk);
        desk.click("SpeedButtonPlay");
        QLineEdit* edit = field(desk, 4);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTRY_VERIFY(edit->hasFocus());
        typeText(edit, "SPOT");
        desk.form->findChild<lumetra::ui::SequencerPage*>()->TimerSeqveserTimer();
        desk.form->ReturnPageControlAll();
        QCOMPARE(edit->text(), QString("SPOT"));
        // The wheel moves the bank under the typing: the name stays with
        // its channel.
        setBank(desk, 5);
        QCOMPARE(slot(desk, 4), padded("SPOT"));
        QCOMPARE(field(desk, 4)->text(), QString());
        desk.click("SpeedButtonStop");
    }

    void clearingCommandsAskFirst() {
        Desk desk;
        activate(desk);
        typeName(desk, 1, "WASH");
        QAction* clearNames = desk.find<QAction>("ClearNameChannelItem");
        QCOMPARE(clearNames->text(), QString("Очистить имена каналов"));
        QCOMPARE(clearNames->shortcut(), QKeySequence("Ctrl+I"));
        ScriptedDialogs::queueAnswer(false);
        clearNames->trigger();
        QCOMPARE(desk.log->questions.last(), QString("Очистить имена каналов?"));
        QCOMPARE(field(desk, 1)->text(), QString("WASH"));
        ScriptedDialogs::queueAnswer(true);
        clearNames->trigger();
        QCOMPARE(field(desk, 1)->text(), QString());
        QCOMPARE(slot(desk, 1), QByteArray(16, '\0'));

        ScriptedDialogs::queueAnswer(true);
        desk.find<QAction>("itemColor")->trigger();
        QCOMPARE(desk.log->questions.last(), QString("Очистить цвета имен каналов?"));
        QCOMPARE(fieldColor(desk, 27), QColor(255, 255, 255));

        ScriptedDialogs::queueAnswer(true);
        desk.find<QAction>("itemGrafHint")->trigger();
        QCOMPARE(desk.log->questions.last(), QString("Очистить графическую подсказку каналов?"));
        QCOMPARE(desk.form->channelColors().GoboType[200], 255);

        desk.find<QScrollBar>("ScrollBarRed")->setValue(10);
        desk.find<QScrollBar>("ScrollBarGreen")->setValue(20);
        desk.find<QScrollBar>("ScrollBarBlue")->setValue(30);
        ScriptedDialogs::queueAnswer(true);
        desk.find<QAction>("itemColSplit")->trigger();
        QCOMPARE(desk.log->questions.last(), QString("Очистить цветовые границы каналов?"));
        desk.form->findChild<lumetra::ui::FaderPage*>()->TimerDataDmxToDspTimer();
        auto* shape = desk.find<lumetra::ui::ColorShape>("Shape3");
        QCOMPARE(shape->color(), QColor(10, 20, 30));
        auto* image = desk.find<lumetra::ui::GoboImage>("Image3");
        QCOMPARE(image->picture(), 255);
        QVERIFY(lumetra::ui::goboPicture(255).isNull());
    }

    void colourTabSetsNameMarkerAndPicture() {
        Desk desk;
        activate(desk);
        setBank(desk, 10);
        QTest::mouseDClick(field(desk, 2), Qt::LeftButton);
        auto* label = desk.find<QLabel>("LabelEditColor");
        QCOMPARE(label->text(), QString("12"));
        auto* red = desk.find<QScrollBar>("ScrollBar31");
        QCOMPARE(red->minimum(), 128);
        red->setValue(150);
        QCOMPARE(desk.form->channelColors().NameRed[12], 150);
        QCOMPARE(fieldColor(desk, 2).red(), 150);
        QCOMPARE(desk.find<lumetra::ui::ColorShape>("ShapeCltrey")->color().red(), 150);

        desk.click("SpeedButton21");
        QCOMPARE(label->text(), QString("Нет выбора"));
        red->setValue(200);
        QCOMPARE(desk.form->channelColors().NameRed[12], 150);

        desk.find<QScrollBar>("ScrollBar35")->setValue(13);
        desk.find<QScrollBar>("ScrollBar36")->setValue(141);
        QCOMPARE(label->text(), QString("Канал: 13 - N: 141"));
        desk.click("SpeedButton22");
        auto& colors = desk.form->channelColors();
        QCOMPARE(colors.GoboType[13], 141);
        QCOMPARE(QColor(colors.SplitRed[13], colors.SplitGreen[13], colors.SplitBlue[13]),
                 QColor(200, 128, 128));  // the prepared file's 0 shows as 128
        desk.form->findChild<lumetra::ui::FaderPage*>()->TimerDataDmxToDspTimer();
        QCOMPARE(desk.find<lumetra::ui::GoboImage>("Image3")->picture(), 141);
        QCOMPARE(desk.find<lumetra::ui::ColorShape>("Shape3")->color(), QColor(200, 128, 128));
        QCOMPARE(lumetra::ui::goboPictureCount(), 142);
        QCOMPARE(lumetra::ui::goboPicture(141).size(), QSize(16, 16));
    }

    void namesBlockCopy() {
        Desk desk;
        activate(desk);
        for (int c = 1; c <= 10; ++c) typeName(desk, c, QString("PAR%1").arg(c));
        desk.form->inputPages()->setCurrentIndex(TBaseForm::PageCopy);
        desk.find<QSpinBox>("SpinEditRepeatName")->setValue(2);
        desk.click("SpeedButtonNameBlocCopy");
        QCOMPARE(slot(desk, 11), padded("2AR1"));
        QCOMPARE(slot(desk, 30), padded("3AR10"));
        QCOMPARE(desk.find<QSpinBox>("SpinEditNameFrom")->value(), 31);
        QCOMPARE(desk.find<QSpinBox>("SpinEditFifsrtDigit")->value(), 4);
        QVERIFY(desk.find<QToolButton>("SpeedButtonUndo5")->isEnabled());

        desk.find<QSpinBox>("SpinEditNameLast")->setValue(100);
        QCOMPARE(desk.find<QSpinBox>("SpinEditNameFrom")->value(), 101);
        desk.find<QSpinBox>("SpinEditRepeatName")->setValue(3);
        desk.click("SpeedButtonNameBlocCopy");
        QCOMPARE(desk.log->warnings.last(),
                 QString(" Копирование не выполнено: Максимальное число имен > 256 ! "));
        QCOMPARE(slot(desk, 101), QByteArray(16, '\0'));
    }

    void coloursSurviveARestart() {
        Desk desk;
        QCOMPARE(fieldColor(desk, 1), QColor(0, 0, 0));  // the prepared file is all zero
        auto& colors = desk.form->channelColors();
        colors.NameRed[5] = 201;
        colors.SplitGreen[255] = 77;
        colors.GoboType[511] = 9;
        colors.DeviceTilt.set(3, 44);
        desk.form->close();
        const QByteArray file = lumetra::testing::readBytes(desk.showDir() + "/lumiEdit.col");
        QCOMPARE(file.size(), 16384);
        QCOMPARE(quint8(file[5]), quint8(201));
        QCOMPARE(quint8(file[2560 + 255]), quint8(77));
        QCOMPARE(quint8(file[3584 + 511]), quint8(9));
        QCOMPARE(quint8(file[9408 + 3]), quint8(44));

        desk.form = std::make_unique<TBaseForm>(
            Desk::quietOptions(), lumetra::io::DataFolder(desk.home.path().toStdString()),
            std::make_unique<ScriptedDialogs>(desk.log));
        desk.form->FormCreate();
        QCOMPARE(desk.form->channelColors().NameRed[5], 201);
        QCOMPARE(fieldColor(desk, 5).red(), 201);
        QCOMPARE(desk.form->channelColors().GoboType[511], 9);
        QVERIFY(!desk.log->errors.contains("Файл -Color- не существует !"));
    }
};

QTEST_MAIN(NamePageTest)
#include "NamePageTest.moc"
