// Refresh of the main window from the show: caption, system controls,
// window colour and the visible editor page.
#include <QCheckBox>
#include <QGroupBox>
#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/TBaseForm.h"

namespace lumetra::ui {

void TBaseForm::ReturnPageControlAll() {
    ReturnDataSystem();
    SetColorAll();
    ReturnDataSystem();
    for (const auto& refresh : pageRefreshers_[PageControlInput->currentIndex()]) refresh();
}

void TBaseForm::ReturnDataSystem() {
    if (!core_.fileName().empty())
        setCaption(currentFileName());
    else if (!core_.openName().empty())
        setCaption(openFileName());
    for (const auto& refresh : systemRefreshers_) refresh();
}

void TBaseForm::SetColorAll() {
    const ShowMemory& show = console_.show;
    const int on = show.cell(cell::kColorOn);
    {
        const QSignalBlocker block(CheckBoxColorZamok);
        if (on == 1) CheckBoxColorZamok->setChecked(true);
        if (on == 0) CheckBoxColorZamok->setChecked(false);
    }
    const int r = show.cell(cell::kColorRed);
    const int g = show.cell(cell::kColorGreen);
    const int b = show.cell(cell::kColorBlue);
    for (auto [bar, v] : {std::pair{ScrollBarRed, r}, {ScrollBarGreen, g}, {ScrollBarBlue, b}}) {
        const QSignalBlocker block(bar);
        bar->setValue(v);
    }
    QPalette groupPalette = GroupBoxColor->palette();
    groupPalette.setColor(QPalette::Window, QColor(r, g, b));
    GroupBoxColor->setPalette(groupPalette);
    applyWindowColor(on != 0, r, g, b);
}

void TBaseForm::applyWindowColor(bool on, int r, int g, int b) {
    QPalette p = palette();
    p.setColor(QPalette::Window, on ? QColor(r, g, b) : QPalette().color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(true);
}

}  // namespace lumetra::ui
