#include "output/OutputControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"
#include "output/RealTimeThread.h"

namespace lumetra::ui {

namespace {
const char* kBlackoutHint = "Выключает все каналы DMX  Горячая кнопка = O = ";

QLayout* layoutOf(QWidget* w) {
    return w->layout();
}
}  // namespace

OutputControls::OutputControls(PageHost& form, const Options& options)
    : QObject(form.widget()),
      form_(form),
      console_(form.console()),
      core_(form.core()),
      outputs_(form.console(), options) {
    buildRateMode();
    buildLevels();
    buildOutputButtons();
    buildPictures();
    buildOffline();
    core_.observe([this](const CoreEvent& event) { coreChanged(event); });

    TimerPolling = new QTimer(this);
    TimerPolling->setObjectName("TimerPolling");
    TimerPolling->setInterval(1000);
    connect(TimerPolling, &QTimer::timeout, this, &OutputControls::TimerPollingTimer);

    Timerstrob = new QTimer(this);
    Timerstrob->setObjectName("Timerstrob");
    Timerstrob->setInterval(300);
    connect(Timerstrob, &QTimer::timeout, this, &OutputControls::TimerstrobTimer);
    Timerstrob->start();

    // The tick asks for the blackout button's blink through a flag; the
    // window carries it out here, never making the tick wait. The flag is
    // read five times per tick so that each 50 ms toggle shows within 10 ms;
    // the timer runs only while blackout is on (and until the button is
    // back in view).
    blink_ = new QTimer(this);
    blink_->setObjectName("TimerBlackOutBlink");
    blink_->setInterval(10);
    blink_->setTimerType(Qt::PreciseTimer);
    connect(blink_, &QTimer::timeout, this, &OutputControls::blinkTimer);
}

OutputControls::~OutputControls() {
    stopTick();
    CloseUsbDevise();
}

void OutputControls::buildRateMode() {
    RadioGroupRate = new QGroupBox("Плавность перехода  сцен ");
    RadioGroupRate->setObjectName("RadioGroupRate");
    auto* grid = new QGridLayout(RadioGroupRate);
    rateItems_ = new QButtonGroup(RadioGroupRate);
    const char* items[] = {"Фейдера", "Автомат", "Выкл"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(items[i], RadioGroupRate);
        item->setObjectName(QString("RadioGroupRateItem%1").arg(i));
        rateItems_->addButton(item, i);
        grid->addWidget(item, i / 2, i % 2);
    }
    rateItems_->button(0)->setChecked(true);
    console_.controls.crossfadeMode.set(0);
    connect(rateItems_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) console_.controls.crossfadeMode.set(static_cast<std::uint8_t>(id));
    });
    layoutOf(form_.slot(PageHost::Slot::RateMode))->addWidget(RadioGroupRate);
}

void OutputControls::buildLevels() {
    QWidget* host = form_.slot(PageHost::Slot::LevelsOutput);
    CheckBoxBlackOut = new QCheckBox("BlackOut", host);
    CheckBoxBlackOut->setObjectName("CheckBoxBlackOut");
    CheckBoxBlackOut->setToolTip(kBlackoutHint);
    connect(CheckBoxBlackOut, &QCheckBox::toggled, this, &OutputControls::CheckBoxBlackOutClick);
    CheckBoxManual = new QCheckBox("Ручное управление", host);
    CheckBoxManual->setObjectName("CheckBoxManual");
    CheckBoxManual->setToolTip("Ручное управление выделенными каналами в текущей сцене");
    connect(CheckBoxManual, &QCheckBox::toggled, this,
            [this](bool on) { console_.controls.manual.set(on ? 1 : 0); });
    layoutOf(host)->addWidget(CheckBoxBlackOut);
    layoutOf(host)->addWidget(CheckBoxManual);
}

void OutputControls::buildOutputButtons() {
    QWidget* host = form_.slot(PageHost::Slot::FaderOutputButtons);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    auto make = [&](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(host);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(hint);
        b->setCheckable(true);
        b->setMinimumWidth(70);
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        group->addButton(b);
        layoutOf(host)->addWidget(b);
        return b;
    };
    SpeedButtonOnScena = make("SpeedButtonOnScena", "Сцена", "Разрешить нормальную работу ");
    SpeedButtonBlackOut = make("SpeedButtonBlackOut", "BlackOut", kBlackoutHint);
    SpeedButtonMacrosOut =
        make("SpeedButtonMacrosOut", "Макро M",
             "Выключает все каналы  и включает  каналы статической каркинки =M= ");
    SpeedButtonOnScena->setChecked(true);
    connect(SpeedButtonOnScena, &QToolButton::clicked, this,
            [this] { core_.setOutputMode(OutputMode::Scene); });
    connect(SpeedButtonBlackOut, &QToolButton::clicked, this,
            [this] { core_.setOutputMode(OutputMode::Blackout); });
    connect(SpeedButtonMacrosOut, &QToolButton::clicked, this,
            [this] { core_.setOutputMode(OutputMode::Macro); });
}

void OutputControls::CheckBoxBlackOutClick() {
    // Every change of blackout, on or off, stops the show (the core).
    core_.setBlackout(CheckBoxBlackOut->isChecked());
}

void OutputControls::coreChanged(const CoreEvent& event) {
    switch (event.kind) {
        case CoreEvent::Kind::Output: {
            {
                const QSignalBlocker block(CheckBoxBlackOut);
                CheckBoxBlackOut->setChecked(core_.blackout());
            }
            if (blink_ && !blink_->isActive()) blink_->start();
            const OutputMode mode = core_.outputMode();
            (mode == OutputMode::Macro      ? SpeedButtonMacrosOut
             : mode == OutputMode::Blackout ? SpeedButtonBlackOut
                                            : SpeedButtonOnScena)
                ->setChecked(true);
            return;
        }
        case CoreEvent::Kind::Picture: {
            const QSignalBlocker block(pictureBoxes_[event.index]);
            pictureBoxes_[event.index]->setChecked(core_.picture(event.index));
            return;
        }
        case CoreEvent::Kind::Offline: {
            const QSignalBlocker block(CheckBoxNoUSBconnect);
            CheckBoxNoUSBconnect->setChecked(core_.offline());
            return;
        }
        default:
            return;
    }
}

void OutputControls::buildPictures() {
    QWidget* page = form_.settingsTabs()->widget(2);
    auto* grid = new QGridLayout(page);
    struct Key {
        const char* name;
        const char* caption;
        const char* hotKey;
    };
    static const Key keys[16] = {
        {"CheckBoxChs1", "1", "1"}, {"CheckBoxChs2", "2", "2"}, {"CheckBoxChs3", "3", "3"},
        {"CheckBoxChs4", "4", "4"}, {"CheckBoxChs5", "5", "5"}, {"CheckBoxChs6", "6", "6"},
        {"CheckBoxChs7", "7", "7"}, {"CheckBoxChs8", "8", "8"}, {"CheckBoxChsSpace", "==", "прбел"},
        {"CheckBoxChsZ", "Z", "Z"}, {"CheckBoxChsX", "X", "X"}, {"CheckBoxChsC", "C", "C"},
        {"CheckBoxChsV", "V", "V"}, {"CheckBoxChsB", "B", "B"}, {"CheckBoxChsN", "N", "N"},
        {"CheckBoxChsM", "M", "M"},
    };
    for (int k = 0; k < 16; ++k) {
        auto* box = new QCheckBox(keys[k].caption, page);
        box->setObjectName(keys[k].name);
        box->setToolTip(QString("Запрограммированая статическая картинка - Горячая кнопка =%1= ")
                            .arg(QString::fromUtf8(keys[k].hotKey)));
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) { core_.setPicture(k, on); });
        pictureBoxes_[k] = box;
        grid->addWidget(box, k / 8, k % 8);
    }
    grid->setRowStretch(2, 1);
}

void OutputControls::buildOffline() {
    QWidget* usb = form_.slot(PageHost::Slot::OptionsInterface);
    CheckBoxNoUSBconnect = new QCheckBox("Работа в DEMO режиме", usb);
    CheckBoxNoUSBconnect->setObjectName("CheckBoxNoUSBconnect");
    CheckBoxNoUSBconnect->setToolTip("Ничего не отправлять в интерфейс");
    connect(CheckBoxNoUSBconnect, &QCheckBox::toggled, this,
            [this](bool on) { core_.setOffline(on); });
    usb->layout()->addWidget(CheckBoxNoUSBconnect);
    // Which priority the output clock got; filled once the clock has asked.
    LabelClockPriority = new QLabel(usb);
    LabelClockPriority->setObjectName("LabelClockPriority");
    LabelClockPriority->setWordWrap(true);
    LabelClockPriority->setToolTip(
        "Как получить реальное время без root: lumetra --help");
    usb->layout()->addWidget(LabelClockPriority);
}

void OutputControls::showClockPriority() {
    const io::RealTimeThread* thread = outputs_.thread();
    if (!thread || !thread->settled() || !LabelClockPriority->text().isEmpty()) return;
    LabelClockPriority->setText(QString::fromStdString(
        io::clockStateText(thread->priority(), thread->memoryLock())));
}

void OutputControls::InitUsbDevise() {
    outputs_.start();
    TimerPolling->start();
    // The listing labels are filled once, here.
    const OutputListing listing = outputs_.listing();
    form_.showInterfaceListing(QString::fromStdString(listing.count),
                               QString::fromStdString(listing.description),
                               QString::fromStdString(listing.serial));
}

void OutputControls::TimerPollingTimer() {
    outputs_.poll();
    showClockPriority();
    emit polled();
}

void OutputControls::startTick() {
    outputs_.startTick();
}

void OutputControls::stopTick() {
    outputs_.stopTick();
}

void OutputControls::CloseUsbDevise() {
    TimerPolling->stop();
    outputs_.stop();
}

InterfaceState OutputControls::interfaceState() const {
    return outputs_.interfaceState(CheckBoxNoUSBconnect->isChecked());
}

QString OutputControls::InterfaceStatusText() const {
    return QString::fromStdString(outputs_.statusText());
}

void OutputControls::TimerstrobTimer() {
    console_.strobe.set(console_.strobe.get() == 0 ? 255 : 0);
}

void OutputControls::blinkTimer() {
    const bool visible = console_.blackoutBlinkVisible.get() != 0;
    if (SpeedButtonBlackOut->isHidden() == visible) SpeedButtonBlackOut->setHidden(!visible);
    if (visible && console_.controls.blackout.get() == 0) blink_->stop();
}


void OutputControls::crossfadeOff() {
    rateItems_->button(2)->setChecked(true);
}
}  // namespace lumetra::ui
