// Start-up and shutdown of the console, in their fixed order, and the
// settings file.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/SideWindows.h"
#include "remote/RemoteHub.h"
#include "app/TBaseForm.h"
#include "playback/AvtomatPage.h"
#include "playback/SequencerPage.h"
#include "sound/BeatControls.h"
#include "sound/SoundPage.h"
#include "playback/KonveyrGroup.h"
#include "show/PathBytes.h"
#include "show/SettingsFile.h"
#include "show/ShowFile.h"
#include "show/SystemErrorText.h"

namespace lumetra::ui {

namespace {
std::string local(const QString& path) {
    return pathToBytes(path);
}
}  // namespace

void TBaseForm::FormCreate(DeviceStart devices) {
    const bool now = devices == DeviceStart::WithForm;
    // 1-2. The interface driver lists the devices and starts polling.
    if (now) startInterface();
    // 3. Edit colours of the channel name fields.
    colors_ = io::ChannelColors::startupDefaults();
    // 4. The patch starts as the identity (the console state is made so).
    console_.resetPatch();
    // 5. No channel names; both chase generators at speed 50.
    StartupMemoryReset(console_.show);
    // 6. The name fields show the (empty) names.
    run(Hook::ReturnName);
    // 7. Disk space of the data folder's drive.
    fillDiskLabels();
    // 8. A cleared show.
    ClearAll();
    // 9. The 50 ms output tick runs from here on.
    startRealTimeTick();
    // 10-11. The settings file names the last show, which is reopened.
    if (now) reopenLastShow();
    // 12.
    ReturnPageControlAll();
    // 13. What the interface driver had to say.
    if (now) OutStatus(interfaceStatusText());
    // 14. Colours of the name fields, marker colours and pictures.
    if (now) loadColorsAtStart();
    // 15. The patch editor shows the table.
    run(Hook::UpDateDmxCoder);
    // 16-17. Sound capture and its analysis start with the sound room.
    if (now) startSoundInput();

    if (now) installManual();
    TimerAvtoSave->start();

    // The three side windows, created hidden in their fixed order.
    side_ = std::make_unique<SideWindows>(*this);
    created_ = true;
    // The remote comes last, on a window that is complete.
    startRemoteControl();
    shownStepsPending_ = !now;
}

void TBaseForm::FormShown() {
    if (!shownStepsPending_ || closing_) return;
    // The steps 1-2 and 10-17 of FormCreate but 15, in their order. The tick
    // already runs: until the first poll opens the interface it sends
    // nothing, as before that poll at any start, and until the last show is
    // loaded it sends the cleared show, as from step 9 at any start.
    // A box may wait for the operator; a quit signal answers it and closes
    // the console, and then the rest is left undone.
    startInterface();
    reopenLastShow();
    if (closing_) return;
    ReturnPageControlAll();
    OutStatus(interfaceStatusText());
    loadColorsAtStart();
    if (closing_) return;
    startSoundInput();
    if (closing_) return;
    installManual();
    shownStepsPending_ = false;
    if (options_.play != Options::Play::No)
        sequencerPage_->playFromCommandLine(options_.play == Options::Play::Sound);
}

void TBaseForm::reopenLastShow() {
    ReadIniFile();
    if (!core_.openName().empty()) BlocOpenFile();
}

void TBaseForm::loadColorsAtStart() {
    LoadColorEdit(QString::fromStdString(folder_.colorPath()));
    run(Hook::UpdateColorEditAll);
}

void TBaseForm::FormClose() {
    // No operation from afar while the console shuts down.
    stopRemote();
    if (shownStepsPending_) {
        // Closed before the start-up was through (a quit signal at once or
        // at one of its boxes): the settings, the show and the colours may
        // not have been read, and nothing could be edited yet, so nothing is
        // written over the operator's files. Only the output stops.
        if (side_) side_->view3d().close();
        stopRealTimeTick();
        stopInterface();
        TimerAvtoSave->stop();
        if (side_) side_->closeAll();
        return;
    }
    // 1. Colours and pictures of the channels.
    SaveColorEdit(QString::fromStdString(folder_.colorPath()));
    // 2. The 3D window goes first.
    if (side_) side_->view3d().close();
    // 3-4. Output stops for good, then the interface is closed.
    stopRealTimeTick();
    stopInterface();
    // 5. The operator may save the show; a cancel loses it. When the
    //    console is told to quit without a desk (a signal), the show is kept
    //    in the autosave file instead of asking.
    //    A chosen place that refused the show keeps it there too rather
    //    than lose it with the program.
    if (quietShutdown_ || SaveFileAs() == SaveOutcome::Failed) {
        const io::FileResult r = core_.keepShow();
        if (!r.ok()) reportError(QString::fromStdString(r.message));
    }
    // 6.
    WriteIniFile();
    TimerAvtoSave->stop();
    if (side_) side_->closeAll();
}

void TBaseForm::shutdownQuietly() {
    quietShutdown_ = true;
    // A waiting message box or dialog is answered with its cancel button;
    // the close comes once the event loop is back at the top.
    while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    if (created_) QTimer::singleShot(0, this, [this] { close(); });
}

void TBaseForm::fillDiskLabels() {
    const QStorageInfo storage(QString::fromStdString(folder_.root()));
    const qint64 freeMb = storage.bytesAvailable() / 1000000;
    const qint64 sizeMb = storage.bytesTotal() / 1000000;
    LabelDiskFree->setText(QString("Свободно на диске%1 Mb").arg(freeMb));
    LabelDiskSize->setText(QString("Размер диска  %1 Mb").arg(sizeMb));
}

void TBaseForm::ReadIniFile() {
    const io::FileResult read = core_.readSettings(folder_.settingsPath());
    if (!read.ok() && !read.notFound()) OutStatus(QString::fromStdString(read.message));
    readBeatSettings(core_.beatSettings());
    konveyr_->labelFromSettings();
}

void TBaseForm::WriteIniFile() {
    core_.setBeatSettings(beatSettingsToWrite());
    const io::FileResult result = core_.writeSettings(folder_.settingsPath());
    if (!result.ok()) reportError(QString::fromStdString(ConsoleCore::settingsFailureText(result)));
}

void TBaseForm::readBeatSettings(const std::array<std::string, 5>& ritm) {
    beatInFile_ = std::any_of(ritm.begin(), ritm.end(), [](const auto& v) { return !v.empty(); });
    BeatSettings beat;
    beat.byBeat = ritm[0] == "beat";
    beat.every = std::atoi(ritm[1].c_str());
    beat.keepTap = ritm[2] == "1";
    soundPage_->beat().applySettings(beat);
    for (int n = 0; n < 2; ++n) avtomatPage_->setFollowsBeat(n, ritm[3 + n] == "1");
}

std::array<std::string, 5> TBaseForm::beatSettingsToWrite() const {
    const BeatSettings beat = soundPage_->beat().settings();
    const bool chase1 = avtomatPage_->followsBeat(0), chase2 = avtomatPage_->followsBeat(1);
    // A console that never left the defaults writes no section of them.
    if (!beatInFile_ && beat == BeatSettings{} && !chase1 && !chase2) return {};
    return {beat.byBeat ? "beat" : "level", std::to_string(beat.every), beat.keepTap ? "1" : "0",
            chase1 ? "1" : "0", chase2 ? "1" : "0"};
}

void TBaseForm::reportError(const QString& text) {
    // Nobody answers a box while the console quits on a signal.
    if (quietShutdown_)
        std::fprintf(stderr, "lumetra: %s\n", text.toLocal8Bit().constData());
    else
        dialogs_->error(this, text);
}

void TBaseForm::LoadColorEdit(const QString& path) {
    const io::FileResult result = io::LoadColorEdit(local(path), colors_);
    if (result.notFound())
        dialogs_->error(this, "Файл -Color- не существует !");
    else if (!result.ok())
        dialogs_->error(this, QString::fromStdString(result.message));
}

void TBaseForm::SaveColorEdit(const QString& path) {
    const io::FileResult result = io::SaveColorEdit(local(path), colors_);
    if (!result.ok()) reportError(QString::fromStdString(result.message));
}

void TBaseForm::installManual() {
    // The manual ships inside the program and is laid into DOC/ so that it
    // can be read with any browser too.
    const QString target = QString::fromStdString(folder_.helpPath());
    QFile shipped(":/doc/Helplumi.html");
    if (!shipped.open(QIODevice::ReadOnly)) return;
    const QByteArray text = shipped.readAll();
    QFile current(target);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text) return;
    current.close();
    QFile out(target);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(text);
}

void TBaseForm::ExitItemClick() {
    close();
}

}  // namespace lumetra::ui
