#include "app/TBaseForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ScreenFit.h"
#include "remote/CoreRemote.h"
#include "app/SideWindows.h"
#include "sound/BeatControls.h"
#include "host/SteadyText.h"
#include "show/PathBytes.h"
// scene list and patch
#include "output/OutputControls.h"
#include "output/PatchPage.h"
#include "show/CopyPage.h"
#include "show/SceneCommands.h"
// playback and faders
#include "edit/FaderPage.h"
#include "playback/KeyControl.h"
#include "playback/KonveyrGroup.h"
#include "playback/SequencerPage.h"
// chase generators and static pictures
#include "playback/AvtomatPage.h"
#include "playback/StaticForm.h"
// names, colours and the channel graph
#include "edit/GraphPage.h"
#include "edit/NamePage.h"
// beam editor
#include "edit/BeamPage.h"
// sound
#include "sound/SoundPage.h"
// 3D viewer
#include "view/DevicePlacement.h"

// The manual is compiled into this library; a static library's resources
// are registered by hand.
static void initAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace lumetra::ui {

TBaseForm::TBaseForm(const Options& options, io::DataFolder folder,
                     std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      core_(folder.autosavePath()),
      options_(options),
      folder_(std::move(folder)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()) {
    initAppResources();
    setObjectName("BaseForm");
    setWindowTitle("LUMETRA");
    core_.observe([this](const CoreEvent& event) { coreChanged(event); });
    buildWindow();
}

QString TBaseForm::konveyorPath(int slot) const {
    return pathFromBytes(core_.conveyorPath(slot));
}

void TBaseForm::setKonveyorPath(int slot, const QString& path) {
    core_.setConveyorPath(slot, pathToBytes(path));
}

TBaseForm::~TBaseForm() = default;

void TBaseForm::buildWindow() {
    static const char* slotNames[] = {"SlotSequencerSceneButtons",
                                      "SlotFaderOutputButtons",
                                      "SlotFaderUndo",
                                      "SlotRateMode",
                                      "SlotRateGroup",
                                      "SlotLevelsOutput",
                                      "SlotLevelsFaders"};
    // The interface group of "Опции" is the last place; it is built with
    // that page.
    for (int i = 0; i < static_cast<int>(Slot::OptionsInterface); ++i) {
        auto* w = new QWidget(this);
        w->setObjectName(slotNames[i]);
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        slots_[i] = w;
    }
    buildMenus();
    buildToolBar();

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(4, 4, 4, 4);

    auto* left = new QVBoxLayout;
    auto* sceneGroup = new QGroupBox("Управление сценами", central);
    sceneGroup->setObjectName("GroupBoxScenes");
    buildSceneGroup(sceneGroup);
    left->addWidget(sceneGroup);

    auto* settingsGroup = new QGroupBox(" Установки каналов и Клавиатуры  ", central);
    settingsGroup->setObjectName("GroupBoxUst");
    buildSettingsGroup(settingsGroup);
    left->addWidget(settingsGroup);

    auto* conveyorGroup = new QGroupBox("Конвейр потоков Шоу ", central);
    conveyorGroup->setObjectName("GroupBoxKonveyr");
    conveyorBox_ = conveyorGroup;  // filled by the conveyor below
    left->addWidget(conveyorGroup);
    left->addStretch(1);
    columns->addLayout(left, 0);

    PageControlInput = new QTabWidget(central);
    PageControlInput->setObjectName("PageControlInput");
    buildInputPages();
    columns->addWidget(PageControlInput, 1);
    // On a screen smaller than the window's contents the whole window
    // scrolls instead of running off the screen; where it fits, nothing
    // shows of the scrolled region.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("CentralScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    setCentralWidget(scroll);

    buildStatusBar();

    // live output
    output_ = new OutputControls(*this, options_);

    TimerAvtoSave = new QTimer(this);
    TimerAvtoSave->setObjectName("TimerAvtoSave");
    TimerAvtoSave->setInterval(180000);
    connect(TimerAvtoSave, &QTimer::timeout, this, &TBaseForm::TimerAvtoSaveTimer);

    // scene list and patch
    sceneCommands_ = new SceneCommands(*this);
    copyPage_ = new CopyPage(*this, *sceneCommands_, inputPage(PageCopy));
    patchPage_ = new PatchPage(*this, inputPage(PagePatch));

    // playback and faders
    sequencerPage_ = new SequencerPage(*this);
    keyControl_ = new KeyControl(*this, *sequencerPage_, sequencerPage_->keyboardArea());
    faderPage_ = new FaderPage(*this, *sequencerPage_);
    konveyr_ = new KonveyrGroup(*this, *sequencerPage_, conveyorBox_);

    // chase generators and static pictures
    avtomatPage_ = new AvtomatPage(*this);
    staticEditMode_ = new StaticEditMode(*this, *faderPage_);
    core_.setImageFilter([this](ShowMemory::Image& image) { staticEditMode_->imageToSave(image); });

    // names, colours and the channel graph
    namePage_ = new NamePage(*this, *faderPage_);
    graphPage_ = new GraphPage(*this);

    // beam editor
    beamPage_ = new BeamPage(*this, *sceneCommands_);

    // sound
    soundPage_ = new SoundPage(*this);
    // steps on the music's beat: the sequencer, the chase generators, taps
    BeatControls& beat = soundPage_->beat();
    connect(&beat, &BeatControls::sequencerBeat, sequencerPage_, &SequencerPage::stepOnBeat);
    connect(&beat, &BeatControls::chaseBeat, avtomatPage_, &AvtomatPage::stepOnBeat);
    connect(&beat, &BeatControls::tappedTempo, sequencerPage_, &SequencerPage::showTappedTempo);
    connect(keyControl_, &KeyControl::tapKey, &beat, &BeatControls::tap);
    connect(avtomatPage_, &AvtomatPage::followsBeatChanged, &beat, &BeatControls::setChaseFollows);

    // 3D viewer
    devicePlacement_ = new DevicePlacement(*this, inputPage(PageOptions));

    fitToScreen(central);
}

void TBaseForm::fitToScreen(QWidget* central) {
    // Every window of the console opens wholly on its screen.
    if (!qApp->findChild<QObject*>("KeepOnScreen", Qt::FindDirectChildrenOnly)) {
        auto* keeper = new KeepOnScreen(qApp);
        keeper->setObjectName("KeepOnScreen");
        qApp->installEventFilter(keeper);
    }
    auto* toolBar = findChild<QToolBar*>("ToolBar");
    // What the window adds around its contents: as laid out once shown,
    // as the parts ask for before.
    auto chrome = [this, toolBar] {
        int height = 0;
        for (const QWidget* part :
             std::initializer_list<const QWidget*>{menuBar(), toolBar, statusBar()})
            height += part->isVisible() ? part->height() : part->sizeHint().height();
        return height;
    };
    // The roomy layout where the screen has room for all of it; otherwise
    // the same controls closer together.
    QSize content = freshMinimumSize(central);
    if (screen() && !fitsOnScreen(content + QSize(0, chrome()), screen()->availableGeometry())) {
        compactLayouts(central);
        toolBar->setIconSize(QSize(16, 16));
        content = freshMinimumSize(central);
    }
    // Room for all of the contents where the screen has it; the keeper then
    // bounds the window by the screen when it is shown.
    new ScrollOnlyWhatDoesNotFit(findChild<QScrollArea*>("CentralScroll"), central, chrome);
    resize(std::max(1280, content.width()), std::max(860, content.height() + chrome()));
}

void TBaseForm::buildSceneGroup(QGroupBox* box) {
    auto* layout = new QVBoxLayout(box);
    PageControlTemp = new QTabWidget(box);
    PageControlTemp->setObjectName("PageControlTemp");
    auto* sequencer = new QWidget;
    sequencer->setObjectName("TabSheetAvtomat");
    PageControlTemp->addTab(sequencer, "Секвенсер");
    auto* color = new QWidget;
    color->setObjectName("TabSheetColor");
    PageControlTemp->addTab(color, "Цвет канала");
    auto* sound = new QWidget;
    sound->setObjectName("TabSheetSound");
    PageControlTemp->addTab(sound, "Звук");
    layout->addWidget(PageControlTemp);
}

void TBaseForm::buildSettingsGroup(QGroupBox* box) {
    auto* layout = new QVBoxLayout(box);
    PageControlUst = new QTabWidget(box);
    PageControlUst->setObjectName("PageControlUst");
    auto* rate = new QWidget;
    rate->setObjectName("TabSheetRate");
    auto* rateLayout = new QVBoxLayout(rate);
    rateLayout->addWidget(slot(Slot::RateMode));
    rateLayout->addWidget(slot(Slot::RateGroup));
    rateLayout->addStretch(1);
    PageControlUst->addTab(rate, "Плавность");
    auto* levels = new QWidget;
    levels->setObjectName("TabSheetLevels");
    auto* levelsLayout = new QHBoxLayout(levels);
    levelsLayout->addWidget(slot(Slot::LevelsOutput));
    levelsLayout->addWidget(slot(Slot::LevelsFaders));
    levelsLayout->addStretch(1);
    PageControlUst->addTab(levels, "Уровни");
    auto* pictures = new QWidget;
    pictures->setObjectName("TabSheetSttica");
    PageControlUst->addTab(pictures, "Стат. картины");
    layout->addWidget(PageControlUst);
}

void TBaseForm::buildInputPages() {
    struct PageDef {
        const char* name;
        const char* caption;
    };
    static const PageDef pages[] = {
        {"TabSheetScroll", "Фэйдера"},     {"TabSheetGrafik", "График Канала"},
        {"TabSheetEdit", "Редактор луча"}, {"TabSheetBlocCopy", "Копирование"},
        {"TabSheetVisual", "Автоматы"},    {"TabSheetOptions", "Опции"},
        {"TabSheetCoder", "DMX coder"},
    };
    for (const PageDef& def : pages) {
        auto* page = new QWidget;
        page->setObjectName(def.name);
        PageControlInput->addTab(page, def.caption);
    }
    buildOptionsPage(PageControlInput->widget(PageOptions));
    connect(PageControlInput, &QTabWidget::currentChanged, this,
            [this](int) { ReturnPageControlAll(); });
}

void TBaseForm::buildOptionsPage(QWidget* page) {
    auto* layout = new QGridLayout(page);
    auto* usb = new QGroupBox("USB - DMX интерфейс", page);
    usb->setObjectName("GroupBoxUsb");
    usbBox_ = usb;
    auto* usbLayout = new QVBoxLayout(usb);
    LabelKolvoUSB = new QLabel(usb);
    LabelKolvoUSB->setObjectName("LabelKolvoUSB");
    LabelTipFtdi = new QLabel(usb);
    LabelTipFtdi->setObjectName("LabelTipFtdi");
    LabelUSBnomber = new QLabel(usb);
    LabelUSBnomber->setObjectName("LabelUSBnomber");
    // The listing of several outputs runs long: it wraps instead of widening
    // the page.
    for (QLabel* label : {LabelKolvoUSB, LabelTipFtdi, LabelUSBnomber}) {
        label->setWordWrap(true);
        usbLayout->addWidget(label);
    }
    usbLayout->addStretch(1);
    layout->addWidget(usb, 0, 0);

    auto* disk = new QGroupBox("Диск", page);
    disk->setObjectName("GroupBoxDisk");
    auto* diskLayout = new QVBoxLayout(disk);
    LabelDiskFree = new QLabel(disk);
    LabelDiskFree->setObjectName("LabelDiskFree");
    LabelDiskSize = new QLabel(disk);
    LabelDiskSize->setObjectName("LabelDiskSize");
    diskLayout->addWidget(LabelDiskFree);
    diskLayout->addWidget(LabelDiskSize);
    diskLayout->addStretch(1);
    layout->addWidget(disk, 1, 0);

    GroupBoxColor = new QGroupBox("Цвет формы", page);
    GroupBoxColor->setObjectName("GroupBoxColor");
    GroupBoxColor->setAutoFillBackground(true);
    auto* colorLayout = new QGridLayout(GroupBoxColor);
    auto makeColorBar = [this](const char* name, const char* hint, int cellIndex) {
        auto* bar = new QScrollBar(Qt::Vertical, GroupBoxColor);
        bar->setObjectName(name);
        bar->setRange(0, 255);
        bar->setToolTip(QString::fromUtf8(hint));
        bar->setMinimumHeight(120);
        connect(bar, &QScrollBar::valueChanged, this, [this, cellIndex](int v) {
            console_.show.setCell(cellIndex, static_cast<std::uint8_t>(v));
            SetColorAll();
        });
        return bar;
    };
    ScrollBarRed =
        makeColorBar("ScrollBarRed", "Красная компонента цвета базовой формы", cell::kColorRed);
    ScrollBarGreen =
        makeColorBar("ScrollBarGreen", "Зеленая компонента цвета базовой формы", cell::kColorGreen);
    ScrollBarBlue =
        makeColorBar("ScrollBarBlue", "Синяя компонента цвета базовой формы", cell::kColorBlue);
    colorLayout->addWidget(ScrollBarRed, 0, 0);
    colorLayout->addWidget(ScrollBarGreen, 0, 1);
    colorLayout->addWidget(ScrollBarBlue, 0, 2);
    CheckBoxColorZamok = new QCheckBox("Вкл. цвет", GroupBoxColor);
    CheckBoxColorZamok->setObjectName("CheckBoxColorZamok");
    CheckBoxColorZamok->setChecked(true);
    connect(CheckBoxColorZamok, &QCheckBox::clicked, this, [this](bool on) {
        console_.show.setCell(cell::kColorOn, on ? 1 : 0);
        SetColorAll();
    });
    CheckBoxColorAvto = new QCheckBox("Менять цвет автоматически", GroupBoxColor);
    CheckBoxColorAvto->setObjectName("CheckBoxColorAvto");
    colorLayout->addWidget(CheckBoxColorZamok, 1, 0, 1, 3);
    colorLayout->addWidget(CheckBoxColorAvto, 2, 0, 1, 3);
    layout->addWidget(GroupBoxColor, 0, 1, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(2, 1);
}

void TBaseForm::buildStatusBar() {
    statusPanel_ = new QLabel("empty", this);
    statusPanel_->setObjectName("StatusPanel");
    statusPanel_->setMinimumWidth(200);
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(statusPanel_, 0);

    TimerStatus = new QTimer(this);
    TimerStatus->setObjectName("TimerStatus");
    TimerStatus->setInterval(2000);
    connect(TimerStatus, &QTimer::timeout, this, [this] {
        setSteadyText(statusPanel_, QString());
        TimerStatus->stop();
        tellRemote();
    });
}

void TBaseForm::OutStatus(const QString& text) {
    setSteadyText(statusPanel_, text);
    tellRemote();
    // A running timer is not restarted: a second message within the period
    // goes when the first period ends.
    if (!TimerStatus->isActive()) TimerStatus->start();
}

QString TBaseForm::statusText() const {
    return statusPanel_->text();
}

QWidget* TBaseForm::slot(Slot s) const {
    if (s == Slot::OptionsInterface) return usbBox_;
    return slots_[static_cast<int>(s)];
}

QWidget* TBaseForm::inputPage(InputPage page) const {
    return PageControlInput->widget(page);
}

void TBaseForm::addSceneToolButton(QToolButton* button) {
    button->setParent(toolBar_);
    toolBar_->insertWidget(sceneToolAnchor_, button);
}

void TBaseForm::setUndoEnabled(bool enabled) {
    for (QToolButton* b : undoButtons_)
        if (b) b->setEnabled(enabled);
}

void TBaseForm::setCaption(const QString& name) {
    setWindowTitle(captionPrefix_ + pathForDisplay(name));
}

void TBaseForm::closeEvent(QCloseEvent* event) {
    // Closing is never refused.
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    event->accept();
}

}  // namespace lumetra::ui
