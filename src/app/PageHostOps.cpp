// What the pages ask of the window: the operations one page offers the
// others, answered by the frame, which knows where each control lives.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "app/SideWindows.h"
#include "app/TBaseForm.h"
#include "host/SteadyText.h"
#include "show/CopyPage.h"
#include "show/SceneCommands.h"

namespace lumetra::ui {

void TBaseForm::showSteadyStatus(const QString& text) {
    if (TimerStatus->isActive() || statusPanel_->text() == text) return;
    setSteadyText(statusPanel_, text);
    tellRemote();
}

int TBaseForm::sceneSliderPosition() const {
    // The scene slider of the sequencer page.
    if (auto* step = findChild<QScrollBar*>("ScrollBarStep")) return step->value();
    return console_.show.currentScene();
}

void TBaseForm::keysOffForTyping() {
    // The conveyor's letters and the hot keys.
    for (const char* name : {"CheckBoxKeyKonveyr", "CheckBoxFlashOn"})
        if (auto* box = findChild<QCheckBox*>(name)) box->setChecked(false);
}

void TBaseForm::windowColor(int& red, int& green, int& blue) const {
    red = ScrollBarRed->value();
    green = ScrollBarGreen->value();
    blue = ScrollBarBlue->value();
}

QScrollBar* TBaseForm::wheelSlider(InputPage page) const {
    switch (page) {
        case PageFaders:
            return findChild<QScrollBar*>("ScrolbarVertPos");
        case PageGraph:
            return findChild<QScrollBar*>("ScrollBarChanellGrafik");
        case PageBeam:
            return findChild<QScrollBar*>("ScrollBarEditXYCh1");
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
    if (auto* off = findChild<QRadioButton*>("RadioGroupRateItem2")) off->setChecked(true);
}

void TBaseForm::setPlayAllowed(bool allowed) {
    playAllowed_ = allowed;
    if (auto* play = findChild<QToolButton*>("SpeedButtonPlay")) play->setVisible(allowed);
}

TStaticForm& TBaseForm::staticPicturesWindow() {
    return side_->staticPictures();
}

Tform3Dlumi& TBaseForm::view3dWindow() {
    return side_->view3d();
}

}  // namespace lumetra::ui
