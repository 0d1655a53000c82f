// The block copies of the "Копирование" page, driven through its spin
// boxes and buttons.
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include "UiHarness.h"

using lumetra::testing::Desk;

namespace {
const QString kChannelWarning = " Копирование не выполнено:Максимальное число каналов > 256 ! ";
const QString kSceneWarning = " Копирование не выполнено:Максимальное число сцен > 256 ! ";

void setFields(Desk& desk, std::initializer_list<std::pair<const char*, int>> fields) {
    for (auto [name, value] : fields) {
        QSpinBox* spin = desk.find<QSpinBox>(name);
        QVERIFY2(spin, name);
        spin->setValue(value);
        QCOMPARE(spin->value(), value);
    }
}

lumetra::ShowMemory::Image image(Desk& desk) {
    lumetra::ShowMemory::Image img;
    desk.state().show.snapshot(img);
    return img;
}
}  // namespace

class CopyPageTest : public QObject {
    Q_OBJECT

  private slots:
    void fieldsHaveTheirRangesAndDefaults() {
        Desk desk;
        struct Field {
            const char* name;
            int max, value;
        };
        const Field fields[] = {
            {"SpinEditLevelFirst", 254, 1},    {"SpinEditLevelLast", 255, 10},
            {"SpinEditLevelFrom", 255, 11},    {"SpinEditChBeg", 254, 1},
            {"SpinEditChFin", 255, 10},        {"SpinEditChTo", 255, 11},
            {"SpinEditAllScChbeg", 254, 1},    {"SpinEditAllScChFin", 255, 10},
            {"SpinEditAllScChTo", 255, 11},    {"SpinEditAllScChbegSc", 255, 1},
            {"SpinEditAllScChFinSc", 255, 10}, {"SpinEditAllScChToSc", 255, 11},
            {"SpinEditScenaFirst", 254, 1},    {"SpinEditScenaLast", 255, 10},
            {"SpinEditScenaFrom", 255, 11},
        };
        QWidget* page = desk.form->inputPage(lumetra::ui::TBaseForm::PageCopy);
        for (const Field& f : fields) {
            auto* spin = page->findChild<QSpinBox*>(f.name);
            QVERIFY2(spin, f.name);
            QCOMPARE(spin->minimum(), 1);
            QCOMPARE(spin->maximum(), f.max);
            QCOMPARE(spin->value(), f.value);
        }
        // The names room fills this group.
        auto* names = page->findChild<QGroupBox*>("GroupBoxNameBloc");
        QVERIFY(names);
        QCOMPARE(names->title(), QString("Имен "));
        QVERIFY(names->findChild<QSpinBox*>("SpinEditNameFirst"));
        QVERIFY(page->findChild<QGroupBox*>("GroupBoxScenaBloc"));
        QVERIFY(page->findChild<QToolButton*>("SpeedButtonMem5"));
        QVERIFY(page->findChild<QToolButton*>("SpeedButtonUndo5"));
        bool titled = false;
        for (QLabel* l : page->findChildren<QLabel*>())
            titled |= l->text() == "Копирование данных блоками ";
        QVERIFY(titled);
    }

    void levelBlockRepeatsWhereItRunsIntoItself() {
        Desk desk;
        auto& show = desk.state().show;
        show.setCell(lumetra::cell::kCurrentScene, 3);
        for (int c = 1; c <= 7; ++c) show.setLevel(3, c, static_cast<std::uint8_t>(100 + c));
        show.setLevel(2, 3, 7);  // another scene stays as it is
        setFields(desk,
                  {{"SpinEditLevelFirst", 1}, {"SpinEditLevelLast", 4}, {"SpinEditLevelFrom", 3}});
        desk.click("SpeedButtonLevelBlocCopy");
        const int expected[] = {101, 102, 101, 102, 101, 102, 101};
        for (int c = 1; c <= 7; ++c) QCOMPARE(int(show.level(3, c)), expected[c - 1]);
        QCOMPARE(int(show.level(2, 3)), 7);
        QVERIFY(desk.log->warnings.isEmpty());
        QVERIFY(desk.find<QToolButton>("SpeedButtonUndo5")->isEnabled());

        desk.click("SpeedButtonUndo5");
        for (int c = 1; c <= 7; ++c) QCOMPARE(int(show.level(3, c)), 100 + c);
    }

    void levelBlockLimitWarnsAndChangesNothing() {
        Desk desk;
        auto& show = desk.state().show;
        for (int c = 1; c <= 255; ++c) show.setLevel(0, c, static_cast<std::uint8_t>(c));
        const auto before = image(desk);
        setFields(
            desk,
            {{"SpinEditLevelFirst", 1}, {"SpinEditLevelLast", 200}, {"SpinEditLevelFrom", 58}});
        desk.click("SpeedButtonLevelBlocCopy");
        QCOMPARE(desk.log->warnings, QStringList{kChannelWarning});
        QVERIFY(image(desk) == before);
        // The undo copy was taken before the refusal.
        QVERIFY(desk.find<QToolButton>("SpeedButtonUndo1")->isEnabled());

        // One less is admitted; the block runs into itself and is cut at
        // channel 255, which repeats the beginning every 56 channels.
        desk.find<QSpinBox>("SpinEditLevelFrom")->setValue(57);
        desk.click("SpeedButtonLevelBlocCopy");
        QCOMPARE(desk.log->warnings.size(), 1);
        QCOMPARE(int(show.level(0, 57)), 1);
        QCOMPARE(int(show.level(0, 112)), 56);
        QCOMPARE(int(show.level(0, 113)), 1);
        QCOMPARE(int(show.level(0, 255)), 31);

        desk.find<QSpinBox>("SpinEditLevelFrom")->setValue(55);
        desk.click("SpeedButtonLevelBlocCopy");
        QCOMPARE(desk.log->warnings.size(), 1);
    }

    void channelBlockInEveryScene() {
        Desk desk;
        auto& show = desk.state().show;
        for (int s : {0, 100, 255}) show.setLevel(s, 5, static_cast<std::uint8_t>(s / 2 + 1));
        setFields(desk, {{"SpinEditChBeg", 5}, {"SpinEditChFin", 5}, {"SpinEditChTo", 20}});
        desk.click("SpeedButtonLevelJobScens");
        for (int s : {0, 100, 255}) QCOMPARE(int(show.level(s, 20)), s / 2 + 1);
        QVERIFY(desk.log->warnings.isEmpty());

        // L + S - F = 256 is refused here (one less than the current-scene copy).
        desk.find<QSpinBox>("SpinEditChFin")->setValue(200);
        desk.find<QSpinBox>("SpinEditChTo")->setValue(61);
        desk.click("SpeedButtonLevelJobScens");
        QCOMPARE(desk.log->warnings, QStringList{kChannelWarning});
    }

    void channelBlockInARangeOfScenes() {
        Desk desk;
        auto& show = desk.state().show;
        for (int s = 0; s < 6; ++s) show.setLevel(s, 1, static_cast<std::uint8_t>(s + 1));
        // Channel 1 -> 2 (with its neighbour 2 -> 3) in scenes 2..3, visiting
        // them in place.
        setFields(desk, {{"SpinEditAllScChbeg", 1},
                         {"SpinEditAllScChFin", 1},
                         {"SpinEditAllScChTo", 2},
                         {"SpinEditAllScChbegSc", 2},
                         {"SpinEditAllScChFinSc", 3},
                         {"SpinEditAllScChToSc", 2}});
        desk.click("SpeedButtonScenAllCopy");
        QVERIFY(desk.log->warnings.isEmpty());
        for (int s = 0; s < 6; ++s) {
            const bool visited = s == 1 || s == 2;
            QCOMPARE(int(show.level(s, 2)), visited ? s + 1 : 0);
        }

        // The channel test comes first; then the scene test.
        const auto before = image(desk);
        setFields(desk, {{"SpinEditAllScChFin", 200},
                         {"SpinEditAllScChTo", 57},
                         {"SpinEditAllScChFinSc", 200},
                         {"SpinEditAllScChToSc", 100}});
        desk.click("SpeedButtonScenAllCopy");
        QCOMPARE(desk.log->warnings, QStringList{kChannelWarning});
        desk.find<QSpinBox>("SpinEditAllScChTo")->setValue(56);
        desk.click("SpeedButtonScenAllCopy");
        QCOMPARE(desk.log->warnings, (QStringList{kChannelWarning, kSceneWarning}));
        QVERIFY(image(desk) == before);
    }

    void wholeScenesCopy() {
        Desk desk;
        auto& show = desk.state().show;
        for (int s = 0; s < 3; ++s) show.setLevel(s, 9, static_cast<std::uint8_t>(s + 50));
        const int last = show.lastScene();
        setFields(desk,
                  {{"SpinEditScenaFirst", 1}, {"SpinEditScenaLast", 3}, {"SpinEditScenaFrom", 2}});
        desk.click("SpeedButtonScenaBlocCopy");
        // Scenes 1..3 as they were land on 2..4, overlap or not.
        const int expected[] = {50, 50, 51, 52};
        for (int s = 0; s < 4; ++s) QCOMPARE(int(show.level(s, 9)), expected[s]);
        QCOMPARE(show.lastScene(), last);

        desk.find<QSpinBox>("SpinEditScenaFrom")->setValue(255);
        desk.click("SpeedButtonScenaBlocCopy");
        QCOMPARE(desk.log->warnings, QStringList{kSceneWarning});
    }
};

QTEST_MAIN(CopyPageTest)
#include "CopyPageTest.moc"
