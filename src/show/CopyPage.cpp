#include "show/CopyPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"
#include "show/SceneCommands.h"

namespace lumetra::ui {

namespace {
QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// The start field is captioned on two lines: "Начиная " over "с канала ".
QWidget* caption(QWidget* parent, const QString& caption) {
    const QStringList lines = caption.split('\n');
    if (lines.size() == 1) return new QLabel(caption, parent);
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const QString& line : lines) column->addWidget(new QLabel(line, box));
    return box;
}

QToolButton* copyButton(QWidget* parent, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText("Копировать");
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

const QString kFrom = " От канала ";
const QString kTo = "До канала ";
const QString kStart = "Начиная \nс канала ";
const QString kFromScene = " От Сцены";
const QString kToScene = "До Сцены ";
const QString kStartScene = "Начиная \nс сцены ";
}  // namespace

CopyPage::CopyPage(PageHost& form, SceneCommands& commands, QWidget* page)
    : QWidget(page), form_(form), commands_(commands) {
    setObjectName("CopyPage");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(this);

    auto* layout = new QGridLayout(this);
    auto* title = new QLabel("Копирование данных блоками ", this);
    title->setObjectName("LabelBlocCopy");
    layout->addWidget(title, 0, 0, 1, 2);

    QSpinBox* level[3];
    QGroupBox* levelGroup =
        channelGroup("GroupBoxLevelBloc", "Каналов текущей Сцены ", "SpinEditLevelFirst",
                     "SpinEditLevelLast", "SpinEditLevelFrom", "SpeedButtonLevelBlocCopy", level);
    SpinEditLevelFirst = level[0];
    SpinEditLevelLast = level[1];
    SpinEditLevelFrom = level[2];
    connect(findChild<QToolButton*>("SpeedButtonLevelBlocCopy"), &QToolButton::clicked, this,
            &CopyPage::ButtonLevelBlocCopyClick);
    layout->addWidget(levelGroup, 1, 0);

    QSpinBox* channels[3];
    QGroupBox* channelsGroup =
        channelGroup("GroupBoxChBloc", "Каналов (все сцены)", "SpinEditChBeg", "SpinEditChFin",
                     "SpinEditChTo", "SpeedButtonLevelJobScens", channels);
    SpinEditChBeg = channels[0];
    SpinEditChFin = channels[1];
    SpinEditChTo = channels[2];
    connect(findChild<QToolButton*>("SpeedButtonLevelJobScens"), &QToolButton::clicked, this,
            &CopyPage::SpeedButtonLevelJobScensClick);
    layout->addWidget(channelsGroup, 1, 1);

    // Channels within a range of scenes: channel fields left, scene fields right.
    auto* inScenes = new QGroupBox("Каналов в сценах", this);
    inScenes->setObjectName("GroupBoxAllScChBloc");
    auto* inScenesGrid = new QGridLayout(inScenes);
    QSpinBox* inScenesChannels[3];
    addTriple(inScenesGrid, 0, {"SpinEditAllScChbeg", "SpinEditAllScChFin", "SpinEditAllScChTo"},
              false, 254, inScenesChannels);
    SpinEditAllScChbeg = inScenesChannels[0];
    SpinEditAllScChFin = inScenesChannels[1];
    SpinEditAllScChTo = inScenesChannels[2];
    QSpinBox* inScenesScenes[3];
    addTriple(inScenesGrid, 3,
              {"SpinEditAllScChbegSc", "SpinEditAllScChFinSc", "SpinEditAllScChToSc"}, true, 255,
              inScenesScenes);
    SpinEditAllScChbegSc = inScenesScenes[0];
    SpinEditAllScChFinSc = inScenesScenes[1];
    SpinEditAllScChToSc = inScenesScenes[2];
    QToolButton* allCopy = copyButton(inScenes, "SpeedButtonScenAllCopy");
    inScenesGrid->addWidget(allCopy, 3, 0, 1, 6, Qt::AlignRight);
    connect(allCopy, &QToolButton::clicked, this, &CopyPage::SpeedButtonScenAllCopyClick);
    layout->addWidget(inScenes, 2, 0);

    GroupBoxScenaBloc = new QGroupBox("Сцен (все каналы)", this);
    GroupBoxScenaBloc->setObjectName("GroupBoxScenaBloc");
    auto* scenaGrid = new QGridLayout(GroupBoxScenaBloc);
    QSpinBox* scenes[3];
    addTriple(scenaGrid, 0, {"SpinEditScenaFirst", "SpinEditScenaLast", "SpinEditScenaFrom"}, true,
              254, scenes);
    SpinEditScenaFirst = scenes[0];
    SpinEditScenaLast = scenes[1];
    SpinEditScenaFrom = scenes[2];
    QToolButton* scenaCopy = copyButton(GroupBoxScenaBloc, "SpeedButtonScenaBlocCopy");
    scenaGrid->addWidget(scenaCopy, 3, 0, 1, 3, Qt::AlignRight);
    connect(scenaCopy, &QToolButton::clicked, this, &CopyPage::SpeedButtonScenaBlocCopyClick);
    layout->addWidget(GroupBoxScenaBloc, 2, 1);

    // Filled by the channel names room.
    GroupBoxNameBloc = new QGroupBox("Имен ", this);
    GroupBoxNameBloc->setObjectName("GroupBoxNameBloc");
    layout->addWidget(GroupBoxNameBloc, 3, 0);

    QWidget* pair = commands_.undoPair(3);
    pair->setParent(this);
    layout->addWidget(pair, 3, 1, Qt::AlignLeft | Qt::AlignBottom);

    layout->setRowStretch(4, 1);
    layout->setColumnStretch(2, 1);
}

QSpinBox* CopyPage::addField(QGridLayout* grid, int row, int column, const char* name,
                             const QString& text, int maximum, int value) {
    QWidget* parent = grid->parentWidget();
    grid->addWidget(caption(parent, text), row, column);
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(1, maximum);
    spin->setValue(value);
    spin->setMaximumWidth(80);
    grid->addWidget(spin, row, column + 1);
    return spin;
}

QGroupBox* CopyPage::channelGroup(const char* name, const QString& title, const char* first,
                                  const char* last, const char* start, const char* button,
                                  QSpinBox** spins) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(name);
    auto* grid = new QGridLayout(group);
    addTriple(grid, 0, {first, last, start}, false, 254, spins);
    grid->addWidget(copyButton(group, button), 3, 0, 1, 3, Qt::AlignRight);
    return group;
}

void CopyPage::addTriple(QGridLayout* grid, int column, const std::array<const char*, 3>& names,
                         bool scenes, int firstMaximum, QSpinBox** spins) {
    spins[0] = addField(grid, 0, column, names[0], scenes ? kFromScene : kFrom, firstMaximum, 1);
    spins[1] = addField(grid, 1, column, names[1], scenes ? kToScene : kTo, 255, 10);
    grid->addWidget(new QLabel("включительно", grid->parentWidget()), 1, column + 2);
    spins[2] = addField(grid, 2, column, names[2], scenes ? kStartScene : kStart, 255, 11);
}

void CopyPage::finish(BlockCopyResult result) {
    // The undo copy is taken before the limits are tested, so it is there
    // whether or not the copy ran.
    commands_.snapshotTaken();
    if (result.refused()) form_.dialogs().warning(form_.widget(), text(result.warning));
    form_.ReturnPageControlAll();
}

void CopyPage::ButtonLevelBlocCopyClick() {
    finish(lumetra::ButtonLevelBlocCopyClick(
        form_.console(),
        {SpinEditLevelFirst->value(), SpinEditLevelLast->value(), SpinEditLevelFrom->value()}));
}

void CopyPage::SpeedButtonLevelJobScensClick() {
    finish(lumetra::SpeedButtonLevelJobScensClick(
        form_.console(), {SpinEditChBeg->value(), SpinEditChFin->value(), SpinEditChTo->value()}));
}

void CopyPage::SpeedButtonScenAllCopyClick() {
    finish(lumetra::SpeedButtonScenAllCopyClick(
        form_.console(),
        {SpinEditAllScChbeg->value(), SpinEditAllScChFin->value(), SpinEditAllScChTo->value()},
        {SpinEditAllScChbegSc->value(), SpinEditAllScChFinSc->value(),
         SpinEditAllScChToSc->value()}));
}

void CopyPage::SpeedButtonScenaBlocCopyClick() {
    finish(lumetra::SpeedButtonScenaBlocCopyClick(
        form_.console(),
        {SpinEditScenaFirst->value(), SpinEditScenaLast->value(), SpinEditScenaFrom->value()}));
}

}  // namespace lumetra::ui
