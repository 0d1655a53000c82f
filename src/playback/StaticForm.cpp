#include "playback/StaticForm.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"
#include "edit/FaderPage.h"

namespace lumetra::ui {

namespace {

constexpr int kPictures = lumetra::layout::kPictureCount;

// Object names of the read buttons in picture order; the write buttons are
// SpeedButton9 .. SpeedButton24.
const char* const kReadNames[kPictures] = {
    "SpeedButton1",     "SpeedButton2", "SpeedButton3", "SpeedButton4",
    "SpeedButton5",     "SpeedButton6", "SpeedButton7", "SpeedButton8",
    "SpeedButtonSpase", "SpeedButtonZ", "SpeedButtonX", "SpeedButtonC",
    "SpeedButtonV",     "SpeedButtonB", "SpeedButtonN", "SpeedButtonM"};

QToolButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(QString::fromUtf8(hint));
    b->setMinimumWidth(30);
    return b;
}

}  // namespace

TStaticForm::TStaticForm() {
    setObjectName("StaticForm");
    setWindowTitle("Статические картинки");
    // A dialog frame over the main window that never blocks it.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::NonModal);
    QPalette teal = palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(teal);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    buttons_ = new QButtonGroup(this);
    buttons_->setExclusive(true);
    auto pictureRow = [this](const char* title, const char* name, const char* hint, bool read) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        box->setObjectName(name);
        auto* row = new QHBoxLayout(box);
        for (int k = 0; k < kPictures; ++k) {
            const QString objectName =
                read ? QString(kReadNames[k]) : QString("SpeedButton%1").arg(k + 9);
            QToolButton* b = makeButton(box, objectName, lumetra::kPictureCaptions[k], hint);
            b->setCheckable(true);
            buttons_->addButton(b);
            row->addWidget(b);
            // A button acts when it goes down, clicked or toggled through the
            // accessibility interface, and is released at once.
            connect(b, &QToolButton::toggled, this, [this, k, read](bool down) {
                if (down) read ? ReadChaser(k) : SaveChaser(k);
            });
        }
        return box;
    };
    layout->addWidget(
        pictureRow("Считать", "GroupBoxRead", "Редактируемая статическая картинка", true));
    layout->addWidget(
        pictureRow("Записать ", "GroupBoxWrite", "Записать в  статическую картинку", false));
    // Two invisible members of the group: pressing one releases every
    // visible button.
    for (QToolButton*& hidden : released_) {
        hidden = new QToolButton(this);
        hidden->setCheckable(true);
        hidden->hide();
        buttons_->addButton(hidden);
    }
    released_[0]->setObjectName("SpeedButtonNone1");
    released_[1]->setObjectName("SpeedButtonNone2");
    releaseButtons();

    auto* bottom = new QHBoxLayout;
    auto* scene = new QGroupBox(" Выбор сцены  ", this);
    scene->setObjectName("GroupBoxScene");
    auto* sceneRow = new QHBoxLayout(scene);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, scene);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->setRange(0, 255);
    ScrollBar1->setPageStep(10);
    ScrollBar1->setValue(1);
    ScrollBar1->setMinimumWidth(200);
    Label1 = new QLabel("1", scene);
    Label1->setObjectName("Label1");
    Label1->setMinimumWidth(30);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TStaticForm::ScrollBar1Change);
    sceneRow->addWidget(ScrollBar1, 1);
    sceneRow->addWidget(Label1);
    bottom->addWidget(scene, 1);

    auto* erase = new QGroupBox("Стереть", this);
    erase->setObjectName("GroupBoxDelete");
    auto* eraseRow = new QHBoxLayout(erase);
    SpeedButtonDel1 =
        makeButton(erase, "SpeedButtonDel1", "Стереть", "Стереть редактируемую сцену");
    SpeedButtonDelAll =
        makeButton(erase, "SpeedButtonDelAll", "Стереть все", "Стереть все статические картинки ");
    SpeedButtonUndoSt = makeButton(erase, "SpeedButtonUndoSt", "Вернуть", "Вернуть прежнюю сцену");
    SpeedButtonUndoSt->setEnabled(false);
    connect(SpeedButtonDel1, &QToolButton::clicked, this, &TStaticForm::SpeedButtonDel1Click);
    connect(SpeedButtonDelAll, &QToolButton::clicked, this, &TStaticForm::SpeedButtonDelAllClick);
    connect(SpeedButtonUndoSt, &QToolButton::clicked, this, &TStaticForm::SpeedButtonUndoStClick);
    for (QToolButton* b : {SpeedButtonDel1, SpeedButtonDelAll, SpeedButtonUndoSt})
        eraseRow->addWidget(b);
    bottom->addWidget(erase);
    layout->addLayout(bottom);
}

void TStaticForm::openEditor() {
    forgetUndo();
    show();
    raise();
    activateWindow();
}

void TStaticForm::forgetUndo() {
    SpeedButtonUndoSt->setEnabled(false);
}

void TStaticForm::releaseButtons() {
    released_[0]->setChecked(true);
}

void TStaticForm::refreshSurface() {
    if (mode_) mode_->refreshSurface();
}

void TStaticForm::ReadChaser(int picture) {
    if (mode_ && mode_->editing()) {
        mode_->editor().ReadChaser(picture);
        refreshSurface();
    }
    releaseButtons();
}

void TStaticForm::SaveChaser(int picture) {
    if (mode_ && mode_->editing()) {
        mode_->CheckBoxToMemory();
        mode_->editor().SaveChaser(picture);
    }
    releaseButtons();
}

void TStaticForm::ScrollBar1Change(int position) {
    Label1->setText(QString::number(position + 1));
    releaseButtons();
    if (!mode_ || !mode_->editing()) return;
    mode_->editor().copyScene(position);
    refreshSurface();
}

void TStaticForm::SpeedButtonDel1Click() {
    deleteAfterQuestion("Удалить статическую картинку?",
                        &lumetra::StaticPictureEditor::deleteSurface);
}

void TStaticForm::SpeedButtonDelAllClick() {
    deleteAfterQuestion("Удалить все Статические картинки?",
                        &lumetra::StaticPictureEditor::deleteAll);
}

void TStaticForm::deleteAfterQuestion(const QString& question,
                                      void (lumetra::StaticPictureEditor::*erase)()) {
    if (!mode_ || !mode_->editing()) return;
    if (!mode_->form().dialogs().confirm(this, question)) return;
    SpeedButtonUndoSt->setEnabled(true);
    (mode_->editor().*erase)();
    releaseButtons();
    refreshSurface();
}

void TStaticForm::SpeedButtonUndoStClick() {
    SpeedButtonUndoSt->setEnabled(false);
    if (!mode_ || !mode_->editing()) return;
    mode_->editor().undo();
    mode_->form().ReturnPageControlAll();
}

void TStaticForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TStaticForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TStaticForm::FormClose() {
    if (mode_) mode_->leave();
}

// ---- The main window's edit mode -----------------------------------------

StaticEditMode::StaticEditMode(PageHost& form, FaderPage& faders)
    : QObject(form.widget()), form_(form), faders_(faders), editor_(form.console()) {
    setObjectName("StaticEditMode");
    ChaserItem = form.optionsMenu()->addAction("Запись и редактирование Статических картинок");
    ChaserItem->setObjectName("ChaserItem");
    connect(ChaserItem, &QAction::triggered, this, &StaticEditMode::ChaserItemClick);

    SpeedButtonRECORD = new QToolButton;
    SpeedButtonRECORD->setObjectName("SpeedButtonRECORD");
    SpeedButtonRECORD->setText("Запись");
    SpeedButtonRECORD->setToolTip("Запись статических картинок ");
    SpeedButtonRECORD->setToolButtonStyle(Qt::ToolButtonTextOnly);
    form.addSceneToolButton(SpeedButtonRECORD);
    connect(SpeedButtonRECORD, &QToolButton::clicked, this, &StaticEditMode::ChaserItemClick);

    form.on(PageHost::Hook::ClearAll, [this] { showReplaced(); });
    form.on(PageHost::Hook::ShowLoaded, [this] { showReplaced(); });
}

void StaticEditMode::ChaserItemClick() {
    TStaticForm& window = form_.staticPicturesWindow();
    window.attach(*this);
    // Entering twice would borrow the surface as the show's own scene 0.
    if (editor_.editing()) {
        window.raise();
        window.activateWindow();
        return;
    }
    CheckBoxToMemory();
    editor_.enter();
    faders_.CheckBoxFromMemory();
    setPlayButtonVisible(false);
    form_.ReturnPageControlAll();
    // The output follows the surface without crossfade.
    form_.crossfadeOff();
    window.openEditor();
}

void StaticEditMode::leave() {
    if (!editor_.editing()) return;
    editor_.leave();
    faders_.CheckBoxFromMemory();
    setPlayButtonVisible(true);
    form_.ReturnPageControlAll();
}

void StaticEditMode::CheckBoxToMemory() {
    lumetra::FaderTools(form_.console()).CheckBoxToMemory(faders_.checkStates());
}

void StaticEditMode::refreshSurface() {
    faders_.CheckBoxFromMemory();
    form_.ReturnPageControlAll();
    faders_.ReturnScrollBars();
}

void StaticEditMode::showReplaced() {
    if (!editor_.editing()) return;
    editor_.showReplaced();
    form_.staticPicturesWindow().forgetUndo();
    faders_.CheckBoxFromMemory();
}

void StaticEditMode::setPlayButtonVisible(bool visible) {
    // The play button belongs to the sequencer page; in edit mode the show
    // cannot be started from it.
    form_.setPlayAllowed(visible);
}

}  // namespace lumetra::ui
