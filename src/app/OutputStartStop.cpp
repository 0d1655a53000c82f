// The frame's start-up and shutdown steps that belong to the live output
// and the sound input.
#include "app/TBaseForm.h"
#include "output/OutputControls.h"

namespace lumetra::ui {

void TBaseForm::startInterface() { output_->InitUsbDevise(); }
void TBaseForm::stopInterface() { output_->CloseUsbDevise(); }
void TBaseForm::startRealTimeTick() { output_->startTick(); }
void TBaseForm::stopRealTimeTick() { output_->stopTick(); }
QString TBaseForm::interfaceStatusText() const { return output_->InterfaceStatusText(); }
void TBaseForm::toggleBlackoutFromKey() { output_->toggleBlackoutFromKey(); }
InterfaceState TBaseForm::interfaceState() const { return output_->interfaceState(); }

// Sound capture and its analysis start here once the sound room is built;
// until then the sound level stays at full, so selected channels are not
// dimmed.
void TBaseForm::startSoundInput() {}

}  // namespace lumetra::ui
