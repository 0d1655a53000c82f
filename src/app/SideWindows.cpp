#include "app/SideWindows.h"

namespace lumetra::ui {

THandScanForm::THandScanForm() {
    setObjectName("HandScanForm");
    setWindowTitle("Ручное управление сканером");
    resize(420, 420);
}

TStaticForm::TStaticForm() {
    setObjectName("StaticForm");
    setWindowTitle("Статические картинки");
    resize(640, 480);
}

SideWindows::SideWindows()
    : handScan_(std::make_unique<THandScanForm>()),
      static_(std::make_unique<TStaticForm>()),
      view3d_(std::make_unique<Tform3Dlumi>()) {}

SideWindows::~SideWindows() = default;

void SideWindows::closeAll() {
    view3d_->close();
    static_->close();
    handScan_->close();
}

}  // namespace lumetra::ui
