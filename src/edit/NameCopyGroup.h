#pragma once

#include <QObject>
#include <functional>

#include "edit/ChannelNames.h"

class QCheckBox;
class QSpinBox;

namespace lumetra::ui {

class PageHost;

// The names block copy in the group "Имен " on "Копирование".
class NameCopyGroup : public QObject {
    Q_OBJECT

  public:
    // `returnName` refreshes the name fields after a copy.
    NameCopyGroup(PageHost& form, std::function<void()> returnName);

    void ButtonNameBlocCopyClick();

  private:
    lumetra::NameCopyFields fields() const;
    void show(const lumetra::NameCopyFields& f);

    PageHost& form_;
    std::function<void()> returnName_;

    QSpinBox* SpinEditNameFirst = nullptr;
    QSpinBox* SpinEditNameLast = nullptr;
    QSpinBox* SpinEditNameFrom = nullptr;
    QSpinBox* SpinEditRepeatName = nullptr;
    QSpinBox* SpinEditFifsrtDigit = nullptr;
    QCheckBox* CheckBoxNamePlus = nullptr;
    QCheckBox* CheckBoxbEGcH = nullptr;
    QCheckBox* CheckBoxTogmame = nullptr;
};

}  // namespace lumetra::ui
