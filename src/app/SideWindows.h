#pragma once

#include <QWidget>
#include <memory>

#include "playback/StaticForm.h"
#include "view/HandScanForm.h"

namespace lumetra::ui {

class TBaseForm;

// The 3D preview window. Its GL view is made only when the window is first
// shown on a real display: a GL widget cannot live under the offscreen
// platform.
class Tform3Dlumi : public QWidget {
    Q_OBJECT
public:
    Tform3Dlumi();
};

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
