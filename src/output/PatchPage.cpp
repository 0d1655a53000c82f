#include "output/PatchPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/PageHost.h"
#include "show/PatchFile.h"
#include "show/PathBytes.h"

namespace lumetra::ui {

namespace {
const char* const kRowHint =
    "Устанавливаем из какого канала будет пееренаправлятся в какой канал DMX";

FileDialogRequest patchDialog() {
    return {QStringLiteral("Файлы перекодировки Lumetra  (*.lmd)"), QStringLiteral("lmd"),
            QString()};
}

std::string local(const QString& path) {
    return pathToBytes(path);
}
}  // namespace

PatchPage::PatchPage(PageHost& form, QWidget* page) : QWidget(page), form_(form) {
    setObjectName("PatchPage");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(this);

    auto* columns = new QHBoxLayout(this);

    ScrollBarCoderPos = new QScrollBar(Qt::Vertical, this);
    ScrollBarCoderPos->setObjectName("ScrollBarCoderPos");
    ScrollBarCoderPos->setRange(0, 225);
    ScrollBarCoderPos->setPageStep(20);
    ScrollBarCoderPos->setToolTip("Установка изменяемого канала");
    connect(ScrollBarCoderPos, &QScrollBar::valueChanged, this, [this] { UpDateDmxCoder(); });
    columns->addWidget(ScrollBarCoderPos);

    auto* rows = new QGridLayout;
    rows->setVerticalSpacing(1);
    for (int n = 1; n <= kRows; ++n) {
        const QString number = QString("%1").arg(n, 2, 10, QChar('0'));
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName("ScrollBarCoder" + number);
        bar->setRange(1, 255);
        bar->setPageStep(12);
        bar->setValue(n);
        bar->setToolTip(kRowHint);
        bar->setMinimumWidth(260);
        auto* label = new QLabel(this);
        label->setObjectName("Labelcoder" + number);
        label->setText(QString("Канал %1 выводится в канал %1 ").arg(n, 3, 10, QChar('0')));
        ScrollBarCoder[n - 1] = bar;
        Labelcoder[n - 1] = label;
        rows->addWidget(bar, n - 1, 0);
        rows->addWidget(label, n - 1, 1);
        connect(bar, &QScrollBar::valueChanged, this,
                [this, n](int position) { ScrollBarCoderChange(n, position); });
    }
    columns->addLayout(rows, 1);

    auto* tools = new QVBoxLayout;
    auto* reset = new QToolButton(this);
    reset->setObjectName("SpeedButtonResetCoder");
    reset->setText("R");
    reset->setToolTip("Сбросить все установки 1=1, 2=2 и т.д.");
    connect(reset, &QToolButton::clicked, this, &PatchPage::SpeedButtonResetCoderClick);
    tools->addWidget(reset);

    stepGroup_ = new QButtonGroup(this);
    stepGroup_->setExclusive(true);
    for (int step : {3, 4, 6, 8, 12, 16}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("SpeedButtonCoderCh%1").arg(step));
        button->setText(QString::number(step));
        button->setToolTip("Измение канала на ...");
        button->setCheckable(true);
        button->setChecked(step == 12);
        stepGroup_->addButton(button, step);
        tools->addWidget(button);
    }
    connect(stepGroup_, &QButtonGroup::idClicked, this, &PatchPage::SpeedButtonLarge);

    tools->addSpacing(12);
    auto* open = new QToolButton(this);
    open->setObjectName("SpeedButtonOpenCoderTab");
    open->setText("Загрузить");
    open->setToolTip("Загрузить таблицу");
    connect(open, &QToolButton::clicked, this, &PatchPage::SpeedButtonOpenCoderTabClick);
    tools->addWidget(open);
    auto* save = new QToolButton(this);
    save->setObjectName("SpeedButtonSaveCoderTab");
    save->setText("Сохранить");
    save->setToolTip("Сохранить таблицу");
    connect(save, &QToolButton::clicked, this, &PatchPage::SpeedButtonSaveCoderTabClick);
    tools->addWidget(save);
    tools->addStretch(1);
    columns->addLayout(tools);

    form_.on(PageHost::Hook::UpDateDmxCoder, [this] { UpDateDmxCoder(); });
}

QString PatchPage::rowText(int source, int output) {
    return "Канал " + QString::number(source) + " выводится в канал " + QString::number(output);
}

int PatchPage::firstRowOffset() const {
    return ScrollBarCoderPos->value();
}

void PatchPage::relabel(int row) {
    const int output = firstRowOffset() + row;
    Labelcoder[row - 1]->setText(rowText(form_.console().patchTable.get(output), output));
}

void PatchPage::UpDateDmxCoder() {
    const int p = firstRowOffset();
    for (int n = 1; n <= kRows; ++n) {
        QScrollBar* bar = ScrollBarCoder[n - 1];
        const QSignalBlocker block(bar);
        // The slider limits what it shows to 1..255; the entry itself stays.
        bar->setValue(form_.console().patchTable.get(p + n));
        relabel(n);
    }
}

void PatchPage::ScrollBarCoderChange(int row, int position) {
    if (row < 1 || row > kRows) return;
    form_.console().patchTable.set(firstRowOffset() + row, static_cast<std::uint16_t>(position));
    relabel(row);
}

void PatchPage::SpeedButtonResetCoderClick() {
    form_.console().resetPatch();
    UpDateDmxCoder();
}

void PatchPage::SpeedButtonLarge(int step) {
    for (QScrollBar* bar : ScrollBarCoder) bar->setPageStep(step);
}

void PatchPage::SpeedButtonOpenCoderTabClick() {
    const auto path = form_.dialogs().openFile(form_.widget(), patchDialog());
    if (!path) return;
    // Whole or nothing: a file that fails leaves the table and the rows.
    const io::FileResult result = io::LoadPatchFile(local(*path), form_.console().patchTable);
    if (!result.ok()) {
        form_.dialogs().error(form_.widget(), QString::fromStdString(result.message));
        return;
    }
    UpDateDmxCoder();
}

void PatchPage::SpeedButtonSaveCoderTabClick() {
    const auto path = form_.dialogs().saveFile(form_.widget(), patchDialog());
    if (!path) return;
    const io::FileResult result = io::SavePatchFile(local(*path), form_.console().patchTable);
    if (!result.ok()) form_.dialogs().error(form_.widget(), QString::fromStdString(result.message));
}

}  // namespace lumetra::ui
