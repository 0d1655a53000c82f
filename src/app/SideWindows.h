#pragma once

#include <QWidget>
#include <memory>

#include "playback/StaticForm.h"
#include "view/HandScanForm.h"
#include "view/View3dForm.h"

namespace lumetra::ui {

class TBaseForm;

// The three windows that live beside the main window from start to end,
// created hidden in this order.
class SideWindows {
public:
    explicit SideWindows(TBaseForm& form);
    ~SideWindows();
    THandScanForm& handScan() { return *handScan_; }
    TStaticForm& staticPictures() { return *static_; }
    Tform3Dlumi& view3d() { return *view3d_; }
    void closeAll();

private:
    std::unique_ptr<THandScanForm> handScan_;
    std::unique_ptr<TStaticForm> static_;
    std::unique_ptr<Tform3Dlumi> view3d_;
};

}  // namespace lumetra::ui
