// The frame's start-up and shutdown steps that belong to the live output
// and the sound input.
#include "app/TBaseForm.h"
#include "output/OutputControls.h"
#include "sound/SoundPage.h"

namespace lumetra::ui {

void TBaseForm::startInterface() { output_->InitUsbDevise(); }
void TBaseForm::stopInterface() { output_->CloseUsbDevise(); }
void TBaseForm::startRealTimeTick() { output_->startTick(); }
void TBaseForm::stopRealTimeTick() { output_->stopTick(); }
QString TBaseForm::interfaceStatusText() const { return output_->InterfaceStatusText(); }
void TBaseForm::toggleBlackoutFromKey() { core_.toggleBlackout(); }
InterfaceState TBaseForm::interfaceState() const { return output_->interfaceState(); }

// Sound capture opens (with its boxes when it cannot) and its analysis
// timer starts, with or without an input.
void TBaseForm::startSoundInput() { soundPage_->start(options_.audio); }

}  // namespace lumetra::ui
