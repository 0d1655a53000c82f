#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "edit/ChannelGraph.h"

class QButtonGroup;
class QLabel;
class QScrollBar;
class QToolButton;

namespace lumetra::ui {

class PageHost;

// The graph itself (PaintBoxGrafik): 512 x 256 pixels painted from the
// engine's fills; its mouse goes to the page.
class GraphPaintBox : public QWidget {
    Q_OBJECT

  public:
    explicit GraphPaintBox(QWidget* parent);
    void setFills(std::vector<lumetra::graph::Fill> fills);

    std::function<void(Qt::MouseButton, QPoint)> onPress;
    std::function<void(QPoint)> onMove;
    std::function<void()> onRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::vector<lumetra::graph::Fill> fills_;
};

// The page "График Канала": one channel across the scenes, drawn with the
// arrow, pen and line tools; also the last scene of the show.
class GraphPage : public QObject {
    Q_OBJECT

  public:
    explicit GraphPage(PageHost& form);

    // The slider the mouse wheel moves on this page: the channel.
    QScrollBar* wheelBar() const { return ScrollBarChanellGrafik; }

    void ReturnGrafikLabel();
    void RepaintGrafik();

    lumetra::GraphView view() const;
    lumetra::ChannelGraph& graph() { return graph_; }

  private:
    void build(QWidget* page);
    void ScrollBarChanellGrafikChange();
    void ScrollBarGrafikZoomChange(int position);
    void ScrollBarMaxScenaGraficChange(int position);
    void PaintBoxGrafikMouseDown(Qt::MouseButton button, QPoint at);
    void PaintBoxGrafikMouseMove(QPoint at);
    void showPointer(const lumetra::PointerLabels& labels);
    void changed();
    int currentScene() const;

    PageHost& form_;
    lumetra::ChannelGraph graph_;

    GraphPaintBox* PaintBoxGrafik = nullptr;
    QScrollBar* ScrollBarChanellGrafik = nullptr;
    QScrollBar* ScrollBarGrafikZoom = nullptr;
    QScrollBar* ScrollBarGrafikArea = nullptr;
    QScrollBar* ScrollBarMaxScenaGrafic = nullptr;
    QToolButton* SpeedButtonGrafArrow = nullptr;
    QToolButton* SpeedButtonGrafPen = nullptr;
    QToolButton* SpeedButtonGrafLine = nullptr;
    QLabel* LabelNameChanel = nullptr;
    QLabel* LabelGrafZoom = nullptr;
    QLabel* LabelScenaGrafikFrom = nullptr;
    QLabel* LabelScenaGrafikLast = nullptr;
    QLabel* LabelScenaGrafik = nullptr;
    QLabel* LabelLevelNewGrafik = nullptr;
    QLabel* LabelLevelDmxGrafik = nullptr;
};

}  // namespace lumetra::ui
