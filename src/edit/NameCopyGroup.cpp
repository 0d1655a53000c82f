#include "edit/NameCopyGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "host/PageHost.h"
#include "show/CopyPage.h"
#include "show/SceneCommands.h"

namespace lumetra::ui {

NameCopyGroup::NameCopyGroup(PageHost& form, std::function<void()> returnName)
    : QObject(form.widget()), form_(form), returnName_(std::move(returnName)) {
    setObjectName("NameCopyGroup");
    QWidget* group = form.nameCopyPlace();
    auto* grid = new QGridLayout(group);
    int row = 0;
    auto spin = [&](const char* name, const char* caption, int max, int value) {
        auto* label = new QLabel(QString::fromUtf8(caption), group);
        auto* box = new QSpinBox(group);
        box->setObjectName(name);
        box->setRange(1, max);
        box->setValue(value);
        box->setMaximumWidth(80);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row++, 1);
        return box;
    };
    const lumetra::NameCopyFields start;
    SpinEditNameFirst = spin("SpinEditNameFirst", "От канала", 254, start.first);
    SpinEditNameLast = spin("SpinEditNameLast", "До канала", 255, start.last);
    SpinEditNameFrom = spin("SpinEditNameFrom", "с канала", 254, start.from);
    SpinEditRepeatName = spin("SpinEditRepeatName", "Колво приборов", 8, start.repeat);
    SpinEditFifsrtDigit = spin("SpinEditFifsrtDigit", "Первая цифра", 8, start.digit);

    auto check = [&](const char* name, const char* caption, bool on) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), group);
        box->setObjectName(name);
        box->setChecked(on);
        grid->addWidget(box, row++, 0, 1, 2);
        return box;
    };
    CheckBoxNamePlus = check("CheckBoxNamePlus", "+ Namber Name", start.numberName);
    CheckBoxbEGcH = check("CheckBoxbEGcH", "Отмечать первый канал", start.markFirst);
    CheckBoxTogmame = check("CheckBoxTogmame", "Связать", start.linked);

    auto* button = new QToolButton(group);
    button->setObjectName("SpeedButtonNameBlocCopy");
    button->setText("Копировать");
    button->setToolTip("Выполнить копирование");
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    grid->addWidget(button, row, 0, 1, 2, Qt::AlignRight);
    connect(button, &QToolButton::clicked, this, &NameCopyGroup::ButtonNameBlocCopyClick);

    connect(SpinEditNameFirst, &QSpinBox::valueChanged, this,
            [this] { show(lumetra::nameFirstChanged(fields())); });
    connect(SpinEditNameLast, &QSpinBox::valueChanged, this,
            [this] { show(lumetra::nameLastChanged(fields())); });
    connect(SpinEditNameFrom, &QSpinBox::valueChanged, this,
            [this] { show(lumetra::nameFromChanged(fields())); });
}

lumetra::NameCopyFields NameCopyGroup::fields() const {
    return {SpinEditNameFirst->value(),   SpinEditNameLast->value(),
            SpinEditNameFrom->value(),    SpinEditRepeatName->value(),
            SpinEditFifsrtDigit->value(), CheckBoxNamePlus->isChecked(),
            CheckBoxbEGcH->isChecked(),   CheckBoxTogmame->isChecked()};
}

void NameCopyGroup::show(const lumetra::NameCopyFields& f) {
    // The linking rules set the fields without running themselves again.
    for (auto [box, v] : {std::pair{SpinEditNameLast, f.last}, {SpinEditNameFrom, f.from}}) {
        const QSignalBlocker block(box);
        box->setValue(v);
    }
}

void NameCopyGroup::ButtonNameBlocCopyClick() {
    const lumetra::NameCopyResult result =
        lumetra::ButtonNameBlocCopyClick(form_.console(), form_.channelColors(), fields());
    form_.sceneSnapshotTaken();
    if (result.refused) {
        const std::string_view text = lumetra::nameText::kTooManyNames;
        form_.dialogs().warning(form_.widget(),
                                QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    } else {
        for (auto [box, v] :
             {std::pair{SpinEditNameFrom, result.from}, {SpinEditFifsrtDigit, result.digit}}) {
            const QSignalBlocker block(box);
            box->setValue(v);
        }
    }
    returnName_();
    form_.ReturnPageControlAll();
}

}  // namespace lumetra::ui
