// The tab "Звук" in the main window: its controls, a click track that
// steps the show through "Работа от звука", a tone and silence that lift
// and darken the selected channels, and the boxes of a sound input that
// does not open. TimerAudio, the sequencer step and the output tick are
// stepped by hand against a clock the test moves.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "UiHarness.h"
#include "output/OutputControls.h"
#include "output/OutputCycle.h"
#include "playback/SequencerPage.h"
#include "sound/SoundPage.h"
#include "sound/WavFile.h"  // tests/sound

using lumetra::testing::Desk;
namespace layout = lumetra::layout;
namespace cell = lumetra::cell;

namespace {

struct SoundDesk {
    Desk desk;
    std::chrono::nanoseconds now{0};
    lumetra::ui::SoundPage* sound = desk.form->findChild<lumetra::ui::SoundPage*>("SoundPage");
    lumetra::ui::SequencerPage* sequencer =
        desk.form->findChild<lumetra::ui::SequencerPage*>("SequencerPage");

    // Plays `samples` as the sound file; every timer is held.
    void play(const std::vector<std::int16_t>& samples) {
        const QString path = desk.home.path() + "/track.wav";
        lumetra::testing::writeWav(path.toStdString(), 44100, 1, samples);
        sound->start("file:" + path.toStdString(), [this] { return now; });
        for (const char* name : {"TimerAudio", "TimerSeqveser", "TimerShouClock"})
            desk.find<QTimer>(name)->stop();
        desk.form->output().stopTick();
    }
    // One 10 ms tick of the sound analysis.
    void audioTick() {
        now += std::chrono::milliseconds(10);
        sound->TimerAudioTimer();
    }
    void setSlider(const char* name, int v) { desk.find<QScrollBar>(name)->setValue(v); }
};

}  // namespace

class SoundPageTest : public QObject {
    Q_OBJECT

  private slots:
    void slidersLabelsAndIndicator() {
        SoundDesk s;
        auto* attack = s.desk.find<QScrollBar>("ScrollBarAtaka");
        QCOMPARE(attack->minimum(), 50);
        QCOMPARE(attack->toolTip(), QString("Время атаки компрессора"));
        QCOMPARE(s.desk.find<QScrollBar>("ScrollBarRel")->minimum(), 5);
        QCOMPARE(s.desk.find<QScrollBar>("ScrollBarTimeScen")->maximum(), 100);
        auto* floor = s.desk.find<QScrollBar>("ScrollBarLevelSmu");
        QCOMPARE(floor->orientation(), Qt::Vertical);
        QCOMPARE(floor->value(), 255);
        QCOMPARE(s.desk.find<QLabel>("LabelAtaka")->text(), QString("A-50"));
        QCOMPARE(s.desk.find<QLabel>("LabelRelease")->text(), QString("R-50"));
        QCOMPARE(s.desk.find<QLabel>("LabelTimeScena")->text(), QString("T-20"));
        s.setSlider("ScrollBarAtaka", 77);
        s.setSlider("ScrollBarRel", 5);
        s.setSlider("ScrollBarTimeScen", 100);
        QCOMPARE(s.desk.find<QLabel>("LabelAtaka")->text(), QString("A-77"));
        QCOMPARE(s.desk.find<QLabel>("LabelRelease")->text(), QString("R-5"));
        QCOMPARE(s.desk.find<QLabel>("LabelTimeScena")->text(), QString("T-100"));
        QCOMPARE(s.sound->analysis().settings().attack, 77);
        QCOMPARE(s.sound->analysis().settings().holdTicks, 100);
        // Beat counter 0: ShapeS4 lit, ShapeFlip red.
        QCOMPARE(s.desk.find<QWidget>("ShapeS4")->accessibleDescription(), QString("#00ff00"));
        QCOMPARE(s.desk.find<QWidget>("ShapeS1")->accessibleDescription(), QString("#808080"));
        QCOMPARE(s.desk.find<QWidget>("ShapeFlip")->accessibleDescription(), QString("#ff0000"));
        QCOMPARE(s.desk.find<QWidget>("Panelosc")->size(), QSize(121, 49));
        QVERIFY(s.desk.find<QTimer>("TimerAudio")->isActive());
        QCOMPARE(s.desk.find<QTimer>("TimerAudio")->interval(), 10);
    }

    void clickTrackStepsTheShowOncePerClick() {
        SoundDesk s;
        auto& c = s.desk.state();
        c.show.setCell(cell::kLastScene, 7);
        s.setSlider("ScrollBarTemp", 10);       // a step may come every 100 ms
        s.setSlider("ScrollBarTimeScen", 100);  // one beat per click
        s.desk.find<QCheckBox>("CheckBoxAudio1")->click();
        s.desk.click("SpeedButtonPlay");
        // Four clicks, 1.5 s apart, after 0.3 s of silence.
        s.play(lumetra::testing::clickTrack(4, 1500, 300));
        std::vector<int> stepsAtMs;
        int scene = c.show.currentScene();
        for (int t = 10; t <= 6600; t += 10) {
            s.audioTick();
            if (t % 100 == 0) s.sequencer->TimerSeqveserTimer();
            if (c.show.currentScene() != scene) {
                scene = c.show.currentScene();
                stepsAtMs.push_back(t);
            }
        }
        QCOMPARE(stepsAtMs.size(), std::size_t{4});
        for (int k = 0; k < 4; ++k) {
            const int onset = 300 + 1500 * k;
            QVERIFY2(stepsAtMs[k] > onset && stepsAtMs[k] <= onset + 110,
                     qPrintable(QString("step %1 at %2 ms").arg(k).arg(stepsAtMs[k])));
        }
        QCOMPARE(scene, 4);
        QCOMPARE(s.sound->analysis().beatCounter(), 0);  // four beats
        QCOMPARE(s.desk.find<QWidget>("ShapeS4")->accessibleDescription(), QString("#00ff00"));
    }

    void toneAndSilenceDimTheSelectedChannels() {
        SoundDesk s;
        auto& c = s.desk.state();
        c.show.setLevel(0, 1, 200);
        c.show.setLevel(0, 2, 200);
        c.show.set(layout::rateOffset(1), 255);
        c.show.set(layout::rateOffset(2), 255);
        c.show.set(layout::selectionOffset(1), 1);
        s.setSlider("ScrollBarLevelSmu", 0);
        // Half a second of a loud tone, then silence.
        std::vector<std::int16_t> samples(44100 * 2);
        for (int n = 0; n < 22050; ++n) samples[n] = (n / 22) % 2 ? -29490 : 29490;
        s.play(samples);
        const auto outputAt = [&](int untilMs) {
            while (s.now < std::chrono::milliseconds(untilMs)) {
                s.audioTick();
                if (s.now.count() / 1000000 % 50 == 0) s.desk.form->output().cycle().RealTimeTick();
            }
            return c.dmxLine.get(1);
        };
        QCOMPARE(outputAt(400), 200);  // loud: not dimmed
        QCOMPARE(c.dmxLine.get(2), 200);
        QVERIFY(s.desk.find<QProgressBar>("ProgressBarRealLevel")->value() > 20000);
        const int fading = outputAt(800);
        QVERIFY(fading > 0 && fading < 200);
        QCOMPARE(outputAt(1600), 0);      // silent: dark
        QCOMPARE(c.dmxLine.get(2), 200);  // not selected
        QCOMPARE(c.soundLevel.load(), 0);
    }

    // Without an input the analysis runs down and its timer stops; a setting
    // wakes it for as long as the change takes to reach the sound level.
    void withoutAnInputTheAnalysisRestsUntilASettingMoves() {
        Desk desk;
        auto* page = desk.form->findChild<lumetra::ui::SoundPage*>("SoundPage");
        QTimer* timer = desk.find<QTimer>("TimerAudio");
        QVERIFY(!page->hasInput());
        QVERIFY(timer->isActive());
        int ticks = 0;
        while (timer->isActive() && ticks < 1000) {
            page->TimerAudioTimer();
            ++ticks;
        }
        QVERIFY(!timer->isActive());
        QVERIFY(ticks > 1);  // it ran down first
        QCOMPARE(page->analysis().realLevel(), 0);

        desk.find<QScrollBar>("ScrollBarLevelSmu")->setValue(60);
        QVERIFY(timer->isActive());
        page->TimerAudioTimer();
        QCOMPARE(desk.state().soundLevel.load(), 60);
        QVERIFY(timer->isActive());
        page->TimerAudioTimer();
        QVERIFY(!timer->isActive());
        desk.find<QScrollBar>("ScrollBarRel")->setValue(9);
        QVERIFY(timer->isActive());
    }

    void failedInputShowsItsBoxAndRunsOn() {
        lumetra::Options options = Desk::quietOptions();
        options.audio = "alsa:nosuchdevice";
        Desk desk(true, QString(), options);
        QVERIFY(desk.log->messages.contains("не открывается waveIn: Error"));
        QVERIFY(desk.find<QTimer>("TimerAudio")->isActive());
        auto* page = desk.form->findChild<lumetra::ui::SoundPage*>("SoundPage");
        QVERIFY(!page->hasInput());
        desk.find<QScrollBar>("ScrollBarLevelSmu")->setValue(60);
        for (int k = 0; k < 5; ++k) page->TimerAudioTimer();
        QCOMPARE(desk.state().soundLevel.load(), 60);  // rests on the floor

        options.audio = "file:/no/such/track.wav";
        Desk missing(true, QString(), options);
        QCOMPARE(missing.log->errors.size(), 1);
        QVERIFY(missing.log->errors[0].contains("/no/such/track.wav"));
    }
};

QTEST_MAIN(SoundPageTest)
#include "SoundPageTest.moc"
