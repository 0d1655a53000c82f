#include "show/SceneCommands.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"

namespace lumetra::ui {

namespace {
QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QAction* addItem(QMenu* menu, const char* name, const char* caption, const char* key) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    if (key) action->setShortcut(QKeySequence(QString::fromLatin1(key)));
    return action;
}

QToolButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QString::fromUtf8(caption));
    button->setToolTip(QString::fromUtf8(hint));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

const char* const kNewPasteHint =
    "Создать новую сцену после текущей и скопировать в нее сцену из буфера";
const char* const kReplaceHint = "Заменить текущую сцену Сценой  из буфера";
}  // namespace

SceneCommands::SceneCommands(PageHost& form) : QObject(form.widget()), form_(form) {
    setObjectName("SceneCommands");
    buildMenu();
    buildToolButtons();
    buildSequencerButtons();
    buildUndoPairs();
    form_.on(PageHost::Hook::ModePlay, [this] { ModePlay(); });
    form_.on(PageHost::Hook::ModeStop, [this] { ModeStop(); });
}

void SceneCommands::buildMenu() {
    QMenu* menu = form_.editMenu();
    CopyPredScena = addItem(menu, "CopyPredScena", "Копировать предыдущую сцену", "Ctrl+P");
    CopyToBufferItem = addItem(menu, "CopyToBufferItem", "Копировать сцену в буфер", "Ctrl+C");
    NewPasteItem =
        addItem(menu, "NewPasteItem", "Создать новую и заменить сценой из буфера", "Ctrl+V");
    PasteFromBufferItem =
        addItem(menu, "PasteFromBufferItem", "Заменить сценой  из буфера", nullptr);
    menu->addSeparator();
    ClearScenaItem = addItem(menu, "ClearScenaItem", "Очистить Сцену", "Ctrl+E");
    DeleteScenaItem = addItem(menu, "DeleteScenaItem", "Удалить Сцену из Шоу ", "Ctrl+Del");
    InsertScenaItem = addItem(menu, "InsertScenaItem", "Создать новую Сцену", "Ctrl+Ins");
    // Nothing to paste until a scene has been copied.
    NewPasteItem->setEnabled(false);
    PasteFromBufferItem->setEnabled(false);

    connect(CopyPredScena, &QAction::triggered, this, &SceneCommands::CopyPredScenaClick);
    connect(CopyToBufferItem, &QAction::triggered, this, &SceneCommands::CopyToBufferItemClick);
    connect(NewPasteItem, &QAction::triggered, this, &SceneCommands::SpeedButtonNewScenaPasteClick);
    connect(PasteFromBufferItem, &QAction::triggered, this,
            &SceneCommands::PasteFromBufferItemClick);
    connect(ClearScenaItem, &QAction::triggered, this, &SceneCommands::ClearScenaItemClick);
    connect(DeleteScenaItem, &QAction::triggered, this, &SceneCommands::DeleteScenaItemClick);
    connect(InsertScenaItem, &QAction::triggered, this, &SceneCommands::InsertScenaItemClick);

    AvtoDobScenaItem = form_.optionsMenu()->addAction("Разрешить автодобавление сцен");
    AvtoDobScenaItem->setObjectName("AvtoDobScenaItem");
    AvtoDobScenaItem->setCheckable(true);
    AvtoDobScenaItem->setChecked(false);
    connect(AvtoDobScenaItem, &QAction::triggered, this, &SceneCommands::AvtoDobScenaItemClick);
}

void SceneCommands::buildToolButtons() {
    QWidget* none = nullptr;
    auto add = [&](const char* name, const char* caption, const char* hint) {
        QToolButton* button = makeButton(none, name, caption, hint);
        form_.addSceneToolButton(button);
        return button;
    };
    connect(add("SpeedButtonCOPYPREDSCEN", "Пред.", "Копировать предыдущую Сцену"),
            &QToolButton::clicked, this, &SceneCommands::CopyPredScenaClick);
    connect(add("SpeedButtonCOPY", "В буфер", "Копировать Сцену"), &QToolButton::clicked, this,
            &SceneCommands::CopyToBufferItemClick);
    connect(add("SpeedButtonCLEAR", "Очистить", "Новая сцена"), &QToolButton::clicked, this,
            &SceneCommands::ClearScenaItemClick);
    connect(add("SpeedButtonDELSCEN", "Удалить", "Удалить сцену"), &QToolButton::clicked, this,
            &SceneCommands::DeleteScenaItemClick);
    // The button shows the state of the menu's check mark and toggles it.
    SpeedButtonAVTOPLUS = add("SpeedButtonAVTOPLUS", "Авто+", "Автодобавление сцен ");
    SpeedButtonAVTOPLUS->setCheckable(true);
    connect(SpeedButtonAVTOPLUS, &QToolButton::clicked, this,
            [this] { AvtoDobScenaItem->trigger(); });
}

void SceneCommands::buildSequencerButtons() {
    QWidget* place = form_.slot(PageHost::Slot::SequencerSceneButtons);
    SpeedButtonNewScena =
        makeButton(place, "SpeedButtonNewScena", "Новая", "Создать новую сцену после текущей");
    SpeedButtonScenaCopy =
        makeButton(place, "SpeedButtonScenaCopy", "Копировать", "Копировать текущую сцену в буфер");
    SpeedButtonNewScenaPaste =
        makeButton(place, "SpeedButtonNewScenaPaste", "Вставить новую", kNewPasteHint);
    ButtonScenaPaste = makeButton(place, "ButtonScenaPaste", "Заменить", kReplaceHint);
    SpeedButtonScenaDelete =
        makeButton(place, "SpeedButtonScenaDelete", "Удалить", "Удалить текущую сцену");
    SpeedButtonNewScenaPaste->setEnabled(false);
    ButtonScenaPaste->setEnabled(false);
    for (QToolButton* b : {SpeedButtonNewScena, SpeedButtonScenaCopy, SpeedButtonNewScenaPaste,
                           ButtonScenaPaste, SpeedButtonScenaDelete}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        place->layout()->addWidget(b);
    }
    connect(SpeedButtonNewScena, &QToolButton::clicked, this, &SceneCommands::InsertScenaItemClick);
    connect(SpeedButtonScenaCopy, &QToolButton::clicked, this,
            &SceneCommands::CopyToBufferItemClick);
    connect(SpeedButtonNewScenaPaste, &QToolButton::clicked, this,
            &SceneCommands::SpeedButtonNewScenaPasteClick);
    connect(ButtonScenaPaste, &QToolButton::clicked, this,
            &SceneCommands::PasteFromBufferItemClick);
    connect(SpeedButtonScenaDelete, &QToolButton::clicked, this,
            &SceneCommands::DeleteScenaItemClick);
}

void SceneCommands::buildUndoPairs() {
    static const int numbers[] = {1, 3, 4, 5};
    for (int i = 0; i < 4; ++i) {
        auto* pair = new QWidget;
        pair->setObjectName(QString("UndoPair%1").arg(numbers[i]));
        auto* row = new QHBoxLayout(pair);
        row->setContentsMargins(0, 0, 0, 0);
        auto* mem = new QToolButton(pair);
        mem->setObjectName(QString("SpeedButtonMem%1").arg(numbers[i]));
        // The beam editor's memory button reads "Запомнить" over "картинку ".
        mem->setText(numbers[i] == 4 ? "Запомнить\nкартинку " : "Запомнить");
        mem->setToolTip("Запомнить Сцену");
        auto* undo = new QToolButton(pair);
        undo->setObjectName(QString("SpeedButtonUndo%1").arg(numbers[i]));
        undo->setText("Вернуть");
        // The beam editor's undo button carries no hint.
        if (numbers[i] != 4) undo->setToolTip("Вернуть прежнюю сцену");
        undo->setEnabled(false);
        row->addWidget(mem);
        row->addWidget(undo);
        row->addStretch(1);
        connect(mem, &QToolButton::clicked, this, &SceneCommands::SpeedButtonMemClick);
        connect(undo, &QToolButton::clicked, this, &SceneCommands::SpeedButtonUndo1Click);
        form_.registerUndoButton(i, undo);
        undoPairs_[i] = pair;
    }

    QWidget* faderPlace = form_.slot(PageHost::Slot::FaderUndo);
    undoPairs_[0]->setParent(faderPlace);
    faderPlace->layout()->addWidget(undoPairs_[0]);

    // The channel graph and beam editor pages get their pair at the top
    // left; their editors lay themselves out below it in the same column.
    for (auto [page, index] :
         {std::pair{PageHost::PageGraph, 1}, std::pair{PageHost::PageBeam, 2}}) {
        QWidget* widget = form_.inputPage(page);
        auto* column = qobject_cast<QBoxLayout*>(widget->layout());
        if (!column) column = new QVBoxLayout(widget);
        undoPairs_[index]->setParent(widget);
        column->insertWidget(0, undoPairs_[index], 0, Qt::AlignLeft | Qt::AlignTop);
        if (column->count() == 1) column->addStretch(1);
    }
}

void SceneCommands::snapshotTaken() {
    form_.OutStatus(text(sceneText::kSnapshot));
    form_.setUndoEnabled(true);
}

void SceneCommands::finish(SceneCommand result) {
    // A refused command (the show plays) leaves no trace but the refresh;
    // an insert that found no room says why.
    if (result == SceneCommand::Done) snapshotTaken();
    if (result == SceneCommand::NotInserted)
        form_.OutStatus(text(insertRefusal(form_.console().show) == InsertRefusal::FullShow
                                 ? sceneText::kFullShow
                                 : sceneText::kNoRoomAfter));
    form_.ReturnPageControlAll();
}

void SceneCommands::InsertScenaItemClick() {
    finish(InsertScene(form_.console()));
}

void SceneCommands::DeleteScenaItemClick() {
    finish(DeleteScene(form_.console()));
}

void SceneCommands::ClearScenaItemClick() {
    finish(ClearScene(form_.console()));
}

void SceneCommands::CopyPredScenaClick() {
    finish(CopyPreviousScene(form_.console()));
}

void SceneCommands::CopyToBufferItemClick() {
    Console& console = form_.console();
    if (CopySceneToBuffer(console) == SceneCommand::Done) {
        const QString n = QString::number(console.show.currentScene() + 1);
        SpeedButtonNewScenaPaste->setToolTip(
            "Создать новую сцену после текущей и скопировать в нее сцену " + n + " из буфера");
        ButtonScenaPaste->setToolTip("Заменить текущую сцену Сценой " + n + " из буфера");
        NewPasteItem->setEnabled(true);
        PasteFromBufferItem->setEnabled(true);
        SpeedButtonNewScenaPaste->setEnabled(true);
        ButtonScenaPaste->setEnabled(true);
        form_.OutStatus(text(sceneText::kToBuffer));
    }
    form_.ReturnPageControlAll();
}

void SceneCommands::SpeedButtonNewScenaPasteClick() {
    finish(PasteAsNewScene(form_.console()));
}

void SceneCommands::PasteFromBufferItemClick() {
    finish(ReplaceSceneFromBuffer(form_.console()));
}

void SceneCommands::AvtoDobScenaItemClick(bool on) {
    form_.setAutoAddScenes(on);
    SpeedButtonAVTOPLUS->setChecked(on);
    form_.OutStatus(text(sceneText::kAutoAdd));
}

void SceneCommands::SpeedButtonMemClick() {
    ToMemoryUndo(form_.console());
    snapshotTaken();
}

void SceneCommands::SpeedButtonUndo1Click() {
    form_.OutStatus(text(sceneText::kUndone));
    form_.setUndoEnabled(false);
    UndoFromMemory(form_.console());
    form_.ReturnPageControlAll();
}

std::array<QAction*, 7> SceneCommands::menuItems() const {
    return {CopyPredScena,  CopyToBufferItem, NewPasteItem,   PasteFromBufferItem,
            ClearScenaItem, DeleteScenaItem,  InsertScenaItem};
}

void SceneCommands::ModePlay() {
    if (playing_) return;
    playing_ = true;
    const auto items = menuItems();
    // The items themselves go off too, so that their shortcuts are dead while
    // the menu is.
    for (std::size_t i = 0; i < items.size(); ++i) {
        menuStateBeforePlay_[i] = items[i]->isEnabled();
        items[i]->setEnabled(false);
    }
    form_.editMenu()->menuAction()->setEnabled(false);
    for (QToolButton* b : {SpeedButtonNewScena, SpeedButtonScenaCopy, SpeedButtonNewScenaPaste,
                           ButtonScenaPaste, SpeedButtonScenaDelete})
        b->setEnabled(false);
}

void SceneCommands::ModeStop() {
    if (!playing_) return;
    playing_ = false;
    const auto items = menuItems();
    for (std::size_t i = 0; i < items.size(); ++i) items[i]->setEnabled(menuStateBeforePlay_[i]);
    form_.editMenu()->menuAction()->setEnabled(true);
    // The paste buttons wait for the next copy to the buffer.
    SpeedButtonNewScena->setEnabled(true);
    SpeedButtonScenaCopy->setEnabled(true);
    SpeedButtonScenaDelete->setEnabled(true);
}

}  // namespace lumetra::ui
