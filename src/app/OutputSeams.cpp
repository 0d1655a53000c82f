// Placeholder wiring of the output room until its driver lands.
#include "app/TBaseForm.h"

namespace lumetra::ui {

void TBaseForm::startInterface() {}
void TBaseForm::stopInterface() {}
void TBaseForm::startRealTimeTick() {}
void TBaseForm::stopRealTimeTick() {}
QString TBaseForm::interfaceStatusText() const { return {}; }
void TBaseForm::startSoundInput() {}
void TBaseForm::toggleBlackoutFromKey() {}
InterfaceState TBaseForm::interfaceState() const { return {}; }

}  // namespace lumetra::ui
