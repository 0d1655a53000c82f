#include "app/SideWindows.h"

#include "app/TBaseForm.h"

namespace lumetra::ui {

SideWindows::SideWindows(TBaseForm& form)
    : handScan_(std::make_unique<THandScanForm>(form)),
      static_(std::make_unique<TStaticForm>()),
      view3d_(std::make_unique<Tform3Dlumi>()) {}

SideWindows::~SideWindows() = default;

void SideWindows::closeAll() {
    view3d_->close();
    static_->close();
    handScan_->close();
}

}  // namespace lumetra::ui
