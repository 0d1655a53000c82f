#pragma once

#include <QObject>
#include <functional>

class QLabel;
class QScrollBar;
class QToolButton;

namespace lumetra::ui {

class ColorShape;
class GoboImage;
class PageHost;

// The tab "Цвет канала": the name colour of the channel chosen by a
// double-click on its name field, the marker colour and the picture of a
// channel chosen with its own slider.
class ColorPage : public QObject {
    Q_OBJECT

  public:
    // `repaintField` repaints the name field of a channel after its colour
    // changed (UstColorEditOne).
    ColorPage(PageHost& form, std::function<void(int)> repaintField);

    // A double-click on the name field of a channel selects it.
    void UpdateScrollRGBtxt(int channel);
    int selectedChannel() const { return selected_; }

  private:
    void build(QWidget* page);
    void colorSliderChange(int component, int position);
    void SpeedButton21Click();
    void goboLabel();
    void ScrollBar36Change(int position);
    void SpeedButton22Click();
    void showPreview();

    PageHost& form_;
    std::function<void(int)> repaintField_;
    int selected_ = 0;

    QScrollBar* ScrollBar31 = nullptr;
    QScrollBar* ScrollBar32 = nullptr;
    QScrollBar* ScrollBar33 = nullptr;
    QScrollBar* ScrollBar35 = nullptr;
    QScrollBar* ScrollBar36 = nullptr;
    ColorShape* ShapeCltrey = nullptr;
    GoboImage* ImageGobo = nullptr;
    QLabel* LabelEditColor = nullptr;
    QToolButton* SpeedButton21 = nullptr;
    QToolButton* SpeedButton22 = nullptr;
};

}  // namespace lumetra::ui
