#pragma once

#include <QWidget>

class QOpenGLWidget;
class QTimer;

namespace lumetra {
class DeviceFeed;
}

namespace lumetra::ui {

class View3dGl;

// The 3D preview window "3D wiever": a box-shaped stage seen from the front
// with the fixtures and their beams. Its GL view is made only when the
// window is first shown on a real display: a GL widget cannot live under
// the offscreen platform. Timer3D redraws whenever the output tick has fed
// new data, shown or not.
class Tform3Dlumi : public QWidget {
    Q_OBJECT
  public:
    Tform3Dlumi();
    ~Tform3Dlumi() override;

    // The device table and the lights to draw, and their new-data flag.
    void bind(DeviceFeed& feed);
    const DeviceFeed* feed() const { return feed_; }

    // Null until the window has been shown on a display that has GL.
    QOpenGLWidget* glView() const;

    void Timer3DTimer();

    void setVisible(bool visible) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    DeviceFeed* feed_ = nullptr;
    View3dGl* gl_ = nullptr;
    QTimer* Timer3D = nullptr;
};

}  // namespace lumetra::ui
