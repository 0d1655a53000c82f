// The show file commands of the main window: new, open, save, save as,
// autosave and the clearing of the show.
#include <QCheckBox>
#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>

#include "app/TBaseForm.h"
#include "show/PathBytes.h"
#include "playback/StaticForm.h"
#include "show/ShowFile.h"
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
    openName_ = *chosen;
    BlocOpenFile();
    graphZoom_ = graphZoomAfterOpen(console_.show.cell(cell::kLastScene));
    ReturnPageControlAll();  // also derives the sequencer interval from the loaded tempo
}

bool TBaseForm::BlocOpenFile() {
    const io::FileResult result = io::loadShow(local(openName_), console_.show);
    setUndoEnabled(false);
    if (result.notFound()) {
        dialogs_->error(this, "Файл не существует !");
        return false;
    }
    if (!result.ok()) {
        // Nothing was changed: the show, its name and the caption stay.
        dialogs_->error(this, fromStd(result.message));
        return false;
    }
    setCaption(openName_);
    saveName_ = openName_;
    named_ = true;
    run(Hook::ShowLoaded);
    return true;
}

void TBaseForm::SaveItemClick() {
    SaveFile();
}

void TBaseForm::SaveFile() {
    if (!named_) {
        SaveFileAs();
        return;
    }
    writeShowTo(saveName_);
}

TBaseForm::SaveOutcome TBaseForm::SaveFileAs() {
    auto chosen = dialogs_->saveFile(this, {kShowFilter, "lum", saveName_});
    if (!chosen) return SaveOutcome::Cancelled;
    saveName_ = *chosen;
    if (!writeShowTo(saveName_)) return SaveOutcome::Failed;
    named_ = true;
    return SaveOutcome::Saved;
}

bool TBaseForm::writeShowTo(const QString& path) {
    console_.show.writeSignature();
    setCaption(path);
    const io::FileResult result = io::saveShow(local(path), showImageToSave());
    if (!result.ok()) {
        dialogs_->error(this, fromStd(result.message));
        return false;
    }
    return true;
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
    ShowMemory::Image image;
    console_.show.snapshot(image);
    if (staticEditMode_) staticEditMode_->imageToSave(image);
    return image;
}

void TBaseForm::ClearAll() {
    ClearAllMemory(console_);
    setUndoEnabled(false);
    named_ = false;
    setCaption(kNoFileName);
    run(Hook::ClearAll);  // check boxes, fader bank
    PageControlInput->setCurrentIndex(PageFaders);
    PageControlUst->setCurrentIndex(2);
    PageControlTemp->setCurrentIndex(0);
    graphZoom_ = clearedGraphZoom();
}

void TBaseForm::TimerAvtoSaveTimer() {
    if (!TimerStatus->isActive()) TimerStatus->start();
    if (!saveName_.isEmpty()) OutStatus("Автосохранение файла " + QFileInfo(saveName_).fileName());
    const io::FileResult result = io::autosaveShow(folder_.autosavePath(), showImageToSave());
    // A failed autosave must not stop a running show with a modal box: it
    // is reported on the status line at every attempt.
    if (!result.ok()) OutStatus(fromStd(result.message));
}

}  // namespace lumetra::ui
