#pragma once

#include <QObject>

#include "view/DeviceFeed.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class PageHost;

// The 3D viewer's side of the main window: the group
// "Позиционирование приборов " where the operator places the devices and
// sets their kinds, the button that shows the viewer, and the feed that the
// output tick runs into the device table. Places and kinds live in the
// colour file's device table; nothing is stored unless "Enable Record" is
// ticked.
class DevicePlacement : public QObject {
    Q_OBJECT
  public:
    DevicePlacement(PageHost& form, QWidget* page);
    ~DevicePlacement() override;

    DeviceFeed& feed() { return feed_; }
    int device() const;

    void SpeedButton3DonClick();

  private:
    void buildGroup(QWidget* page);
    void ScrollBarNomberDevChange(int number);
    void setType(std::uint8_t type);
    void setParBeam(io::DeviceTable& table, int position);
    bool recording() const;

    PageHost& form_;
    io::ChannelColors& devices_;
    DeviceFeed feed_;

    QScrollBar* ScrollBarNomberDev = nullptr;
    QLabel* LabelNomberPosDevice = nullptr;
    QScrollBar* ScrollBarXdev = nullptr;
    QScrollBar* ScrollBarYdev = nullptr;
    QScrollBar* ScrollBarZdev = nullptr;
    QCheckBox* CheckBoxFixX = nullptr;
    QCheckBox* CheckBoxFixY = nullptr;
    QCheckBox* CheckBoxFixZ = nullptr;
    QCheckBox* CheckBoxEnableRecord = nullptr;
    QToolButton* SpeedButton3Don = nullptr;
};

}  // namespace lumetra::ui
