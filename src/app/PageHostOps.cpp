// What the pages ask of the window: the operations one page offers the
// others, passed on by the frame to the page that owns them.
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

#include "app/SideWindows.h"
#include "app/TBaseForm.h"
#include "edit/BeamPage.h"
#include "edit/FaderPage.h"
#include "edit/GraphPage.h"
#include "host/SteadyText.h"
#include "output/OutputControls.h"
#include "playback/KeyControl.h"
#include "playback/KonveyrGroup.h"
#include "playback/SequencerPage.h"
#include "show/CopyPage.h"
#include "show/SceneCommands.h"

namespace lumetra::ui {

void TBaseForm::showSteadyStatus(const QString& text) {
    if (TimerStatus->isActive() || statusPanel_->text() == text) return;
    setSteadyText(statusPanel_, text);
    tellRemote();
}

int TBaseForm::sceneSliderPosition() const {
    return sequencerPage_->scenePosition();
}

void TBaseForm::keysOffForTyping() {
    // The conveyor's letters, then the hot keys.
    konveyr_->keysOff();
    keyControl_->keysOff();
}

void TBaseForm::windowColor(int& red, int& green, int& blue) const {
    red = ScrollBarRed->value();
    green = ScrollBarGreen->value();
    blue = ScrollBarBlue->value();
}

QScrollBar* TBaseForm::wheelSlider(InputPage page) const {
    switch (page) {
        case PageFaders:
            return faderPage_->wheelBar();
        case PageGraph:
            return graphPage_->wheelBar();
        case PageBeam:
            return beamPage_->wheelBar();
        default:
            return nullptr;
    }
}

void TBaseForm::showInterfaceListing(const QString& count, const QString& description,
                                     const QString& serial) {
    LabelKolvoUSB->setText(count);
    LabelTipFtdi->setText(description);
    LabelUSBnomber->setText(serial);
}

void TBaseForm::sceneSnapshotTaken() {
    if (sceneCommands_) sceneCommands_->snapshotTaken();
}

QWidget* TBaseForm::nameCopyPlace() const {
    return copyPage_->nameGroup();
}

void TBaseForm::crossfadeOff() {
    output_->crossfadeOff();
}

void TBaseForm::setPlayAllowed(bool allowed) {
    playAllowed_ = allowed;
    sequencerPage_->setPlayButtonVisible(allowed);
}

TStaticForm& TBaseForm::staticPicturesWindow() {
    return side_->staticPictures();
}

Tform3Dlumi& TBaseForm::view3dWindow() {
    return side_->view3d();
}

}  // namespace lumetra::ui
