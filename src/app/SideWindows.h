#pragma once

#include <QWidget>
#include <memory>

#include "view/View3dForm.h"

namespace lumetra::ui {

// The manual scanner window. Its field comes with the scanner room.
class THandScanForm : public QWidget {
    Q_OBJECT
public:
    THandScanForm();
};

// The static pictures editor window.
class TStaticForm : public QWidget {
    Q_OBJECT
public:
    TStaticForm();
};

// The three windows that live beside the main window from start to end,
// created hidden in this order.
class SideWindows {
public:
    SideWindows();
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
