// The main menu and the tool bar of the main window.
#include <QAction>
#include <QApplication>
#include <QIconEngine>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/TBaseForm.h"

namespace lumetra::ui {

namespace {
QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& key) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
}

// A standard icon of the style, looked up when it is first painted: the
// lookup searches the icon themes on disk, which need not delay the window.
class StandardIconEngine final : public QIconEngine {
  public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : which_(which) {}
    QIconEngine* clone() const override { return new StandardIconEngine(which_); }
    bool isNull() override { return false; }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

  private:
    const QIcon& icon() {
        if (icon_.isNull()) icon_ = QApplication::style()->standardIcon(which_);
        return icon_;
    }
    QStyle::StandardPixmap which_;
    QIcon icon_;
};

QIcon standardIcon(QStyle::StandardPixmap which) {
    return QIcon(new StandardIconEngine(which));
}

QToolButton* addButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon,
                       const QString& text) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setText(text);
    button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    bar->addWidget(button);
    return button;
}
}  // namespace

void TBaseForm::buildMenus() {
    QMenu* show = menuBar()->addMenu("Шоу");
    show->setObjectName("FileItem");
    connect(addItem(show, "NewItem", "Создать новое Шоу", QKeySequence("Ctrl+N")),
            &QAction::triggered, this, &TBaseForm::NewItemClick);
    connect(addItem(show, "OpenItem", "Открыть Шоу", QKeySequence("Ctrl+O")), &QAction::triggered,
            this, &TBaseForm::OpenItemClick);
    connect(addItem(show, "SaveAsItem", "Сохранить Шоу как ...", QKeySequence("Ctrl+W")),
            &QAction::triggered, this, &TBaseForm::SaveAsItemClick);
    connect(addItem(show, "SaveItem", "Сохранить Шоу", QKeySequence("Ctrl+S")), &QAction::triggered,
            this, &TBaseForm::SaveItemClick);
    show->addSeparator();
    connect(addItem(show, "ExitItem", "Выход", QKeySequence("Ctrl+Q")), &QAction::triggered, this,
            &TBaseForm::ExitItemClick);

    EditItem = menuBar()->addMenu("Сцены");
    EditItem->setObjectName("EditItem");

    SetupItem = menuBar()->addMenu("Установки");
    SetupItem->setObjectName("SetupItem");

    OptionsMenu = menuBar()->addMenu("Опции");
    OptionsMenu->setObjectName("OptionsItem");

    QMenu* help = menuBar()->addMenu("Помощь");
    help->setObjectName("HelpMenu");
    connect(addItem(help, "HelpItem", "Справка", QKeySequence(Qt::Key_F1)), &QAction::triggered,
            this, &TBaseForm::HelpItemClick);
    connect(addItem(help, "AboutItem", "О программе", QKeySequence()), &QAction::triggered, this,
            &TBaseForm::AboutItemClick);
}

void TBaseForm::buildToolBar() {
    QToolBar* bar = addToolBar("Инструменты");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    connect(
        addButton(bar, "SpeedButtonNEW", "Новое Шоу", standardIcon(QStyle::SP_FileIcon), "Новое"),
        &QToolButton::clicked, this, &TBaseForm::NewItemClick);
    connect(addButton(bar, "SpeedButtonOPEN", "Открыть Шоу",
                      standardIcon(QStyle::SP_DialogOpenButton), "Открыть"),
            &QToolButton::clicked, this, &TBaseForm::OpenItemClick);
    connect(addButton(bar, "SpeedButtonSAVEAS", "Записать Шоу под новым Именем ",
                      standardIcon(QStyle::SP_DriveFDIcon), "Как"),
            &QToolButton::clicked, this, &TBaseForm::SaveAsItemClick);
    connect(addButton(bar, "SpeedButtonSAVE", "Сохранить существующее Шоу ",
                      standardIcon(QStyle::SP_DialogSaveButton), "Сохранить"),
            &QToolButton::clicked, this, &TBaseForm::SaveItemClick);
    bar->addSeparator();
    toolBar_ = bar;
    // Scene commands are inserted before this separator.
    sceneToolAnchor_ = bar->addSeparator();
    connect(addButton(bar, "SpeedButtonABOUT", "О программе ",
                      standardIcon(QStyle::SP_MessageBoxInformation), "О программе"),
            &QToolButton::clicked, this, &TBaseForm::AboutItemClick);
    connect(addButton(bar, "SpeedButtonHELP", "Help ", standardIcon(QStyle::SP_DialogHelpButton),
                      "Справка"),
            &QToolButton::clicked, this, &TBaseForm::HelpItemClick);
}

}  // namespace lumetra::ui
