// The show file commands of the main window: new, open, save, save as,
// autosave and the clearing of the show.
#include <QCheckBox>
#include <QTabWidget>
#include <QTimer>

#include "app/TBaseForm.h"
#include "show/PathBytes.h"
#include "playback/StaticForm.h"
#include "show/ShowReset.h"

namespace lumetra::ui {

namespace {
const QString kNoFileName = QStringLiteral(" Нет имени файла ");

std::string local(const QString& path) {
    return pathToBytes(path);
}
QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

void TBaseForm::NewItemClick() {
    if (!dialogs_->confirm(this, "Создать новое ШОУ?")) return;
    // The operator may keep the old show; a cancel discards it. A save that
    // fails ends the command: the show stays in memory.
    if (SaveFileAs() == SaveOutcome::Failed) return;
    ClearAll();
    setCaption(kNoFileName);
    ReturnPageControlAll();
}

void TBaseForm::OpenItemClick() {
    auto chosen = dialogs_->openFile(this, {kShowFilter, "lum", QString()});
    if (!chosen) return;
    setOpenFileName(*chosen);
    BlocOpenFile();
    graphZoom_ = graphZoomAfterOpen(console_.show.cell(cell::kLastScene));
    ReturnPageControlAll();  // also derives the sequencer interval from the loaded tempo
}

// The window's part of a load is done where the core tells of it
// (coreChanged): the undo buttons, the error box, the caption.
bool TBaseForm::BlocOpenFile() {
    return core_.open();
}

QString TBaseForm::currentFileName() const {
    return pathFromBytes(core_.fileName());
}

QString TBaseForm::openFileName() const {
    return pathFromBytes(core_.openName());
}

void TBaseForm::setOpenFileName(const QString& name) {
    core_.setOpenName(local(name));
}

void TBaseForm::SaveItemClick() {
    SaveFile();
}

void TBaseForm::SaveFile() {
    if (!isNamed()) {
        SaveFileAs();
        return;
    }
    setCaption(currentFileName());
    core_.saveAs(core_.fileName());
}

TBaseForm::SaveOutcome TBaseForm::SaveFileAs() {
    auto chosen = dialogs_->saveFile(this, {kShowFilter, "lum", currentFileName()});
    if (!chosen) return SaveOutcome::Cancelled;
    // The caption names the file before the write, and stays if it fails.
    setCaption(*chosen);
    return core_.saveAs(local(*chosen)).ok() ? SaveOutcome::Saved : SaveOutcome::Failed;
}

void TBaseForm::SaveAsItemClick() {
    // A cancelled dialog still shifts the colour; a failed write ends the
    // command before it.
    if (SaveFileAs() == SaveOutcome::Failed) return;
    if (CheckBoxColorAvto->isChecked()) {
        ShowMemory& show = console_.show;
        show.setCell(cell::kColorRed, static_cast<std::uint8_t>(show.cell(cell::kColorRed) + 103));
        show.setCell(cell::kColorGreen,
                     static_cast<std::uint8_t>(show.cell(cell::kColorGreen) + 43));
        show.setCell(cell::kColorBlue, static_cast<std::uint8_t>(show.cell(cell::kColorBlue) - 33));
        SetColorAll();
    }
}

ShowMemory::Image TBaseForm::showImageToSave() const {
    return core_.imageToSave();
}

void TBaseForm::ClearAll() {
    core_.clear();
}

void TBaseForm::TimerAvtoSaveTimer() {
    if (!TimerStatus->isActive()) TimerStatus->start();
    core_.autosave();
}

void TBaseForm::coreChanged(const CoreEvent& event) {
    using Kind = CoreEvent::Kind;
    switch (event.kind) {
        case Kind::ShowLoaded:
            setUndoEnabled(false);
            if (event.index == 0) {
                dialogs_->error(this, fromStd(event.text));
                return;
            }
            setCaption(openFileName());
            run(Hook::ShowLoaded);
            return;
        case Kind::ShowCleared:
            setUndoEnabled(false);
            setCaption(kNoFileName);
            run(Hook::ClearAll);  // check boxes, fader bank
            PageControlInput->setCurrentIndex(PageFaders);
            PageControlUst->setCurrentIndex(2);
            PageControlTemp->setCurrentIndex(0);
            graphZoom_ = clearedGraphZoom();
            return;
        case Kind::Status:
            OutStatus(fromStd(event.text));
            return;
        case Kind::Error:
            dialogs_->error(this, fromStd(event.text));
            return;
        default:
            return;
    }
}

}  // namespace lumetra::ui
