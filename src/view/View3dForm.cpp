#include "view/View3dForm.h"

#include <GL/glu.h>

#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "view/DeviceFeed.h"

namespace lumetra::ui {

// The GL view of the stage. Fixed-function OpenGL with GLU quadrics: the
// room, then every device that has a type, its beam blended over the rest.
class View3dGl : public QOpenGLWidget {
  public:
    explicit View3dGl(Tform3Dlumi& owner) : QOpenGLWidget(&owner), owner_(owner) {
        setObjectName("View3dGl");
        QSurfaceFormat f = format();
        f.setDepthBufferSize(24);
        setFormat(f);
    }

    ~View3dGl() override {
        if (!bodies_ && !beams_) return;
        makeCurrent();
        gluDeleteQuadric(bodies_);
        gluDeleteQuadric(beams_);
        doneCurrent();
    }

  protected:
    void initializeGL() override {
        glClearColor(0, 0, 0, 1);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        static const GLfloat light[] = {0.5f, 0.75f, 1.5f, 1.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        bodies_ = gluNewQuadric();
        beams_ = gluNewQuadric();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    void resizeGL(int w, int h) override {
        const qreal ratio = devicePixelRatioF();
        glViewport(0, 0, static_cast<GLsizei>(w * ratio), static_cast<GLsizei>(h * ratio));
        // The camera lives on the projection matrix, so the model-view stays
        // the identity and the light stays where it was put.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.01, 10.0);
        gluLookAt(0, 0, 2.577, 0, 0, -5, 0, 1, 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    void paintGL() override {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        drawRoom();
        const DeviceFeed* feed = owner_.feed();
        if (!feed) return;
        glEnable(GL_BLEND);
        for (int device = 0; device < io::kDevices; ++device)
            if (feed->devices().DeviceType[device] != 0) drawDevice(*feed, device);
        glDisable(GL_BLEND);
        glLoadIdentity();
    }

  private:
    static void material(const GLfloat* color) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, color);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, color);
    }

    static float coordinate(std::uint8_t v) { return (v - 127) / 127.0f; }

    static void drawRoom() {
        static const GLfloat room[] = {0.3f, 0.3f, 0.3f, 0.9f};
        glLoadIdentity();
        material(room);
        glBegin(GL_QUADS);
        glNormal3f(0, 1, 0);  // floor
        glVertex3f(-1, -1, 1);
        glVertex3f(1, -1, 1);
        glVertex3f(1, -1, -1);
        glVertex3f(-1, -1, -1);
        glNormal3f(0, -1, 0);  // ceiling
        glVertex3f(-1, 1, -1);
        glVertex3f(1, 1, -1);
        glVertex3f(1, 1, 1);
        glVertex3f(-1, 1, 1);
        glNormal3f(1, 0, 0);  // left wall
        glVertex3f(-1, -1, -1);
        glVertex3f(-1, 1, -1);
        glVertex3f(-1, 1, 1);
        glVertex3f(-1, -1, 1);
        glNormal3f(-1, 0, 0);  // right wall
        glVertex3f(1, -1, 1);
        glVertex3f(1, 1, 1);
        glVertex3f(1, 1, -1);
        glVertex3f(1, -1, -1);
        glNormal3f(0, 0, 1);  // back wall; the front stays open
        glVertex3f(-1, -1, -1);
        glVertex3f(1, -1, -1);
        glVertex3f(1, 1, -1);
        glVertex3f(-1, 1, -1);
        glEnd();
    }

    void drawDevice(const DeviceFeed& feed, int device) {
        static const GLfloat body[] = {0.5f, 0.5f, 0.5f, 1.0f};
        const io::ChannelColors& table = feed.devices();
        const DeviceLights& light = feed.lights();
        const int type = table.DeviceType[device];
        const float x = coordinate(table.DeviceX[device]);
        const float y = coordinate(table.DeviceY[device]);
        const float z = coordinate(table.DeviceZ[device]);
        const bool moving = type == 1 || type == 2;

        if (moving) {
            // The yoke: a four-sided cylinder shows as a square box.
            glLoadIdentity();
            glTranslatef(x, y - 0.05f, z);
            glRotatef(90, 0, 1, 0);
            glRotatef(45, 0, 0, 1);
            material(body);
            const double radius = type == 1 ? 0.04 : 0.05;
            gluCylinder(bodies_, radius, radius, 0.05, 4, 1);
        }

        glLoadIdentity();
        glTranslatef(x, y, z);
        const float pan = 2.0f * (table.DevicePan[device] - 127);
        const float tilt = table.DeviceTilt[device] - 127.0f;
        if (moving || type == 3) {
            glRotatef(pan, 0, 1, 0);
            glRotatef(tilt - (moving ? 90.0f : 20.0f), 1, 0, 0);
        }

        const int red = light.red.get(device), green = light.green.get(device),
                  blue = light.blue.get(device);
        const GLfloat beam[] = {
            red / 48.0f, green / 48.0f, blue / 48.0f,
            std::max({red, green, blue}) * light.intensity.get(device) / 131072.0f + 0.01f};
        if (beam[3] > 0.01f) {
            const double width = table.DeviceBeamWidth[device];
            material(beam);
            gluCylinder(beams_, 0.0, width / 50 + 0.2, width / 100 + 5, 21, 1);
        }

        material(body);
        if (type == 1) gluCylinder(bodies_, 0.03, 0.03, 0.1, 21, 1);
        if (type == 2) gluDisk(bodies_, 0.0, 0.03, 4, 1);  // the mirror
        if (type == 3) gluCylinder(bodies_, 0.03, 0.04, 0.1, 21, 1);
    }

    const Tform3Dlumi& owner_;
    GLUquadric* bodies_ = nullptr;
    GLUquadric* beams_ = nullptr;
};

namespace {
// A GL widget crashes the offscreen platform; there is nothing to see there.
bool platformHasGl() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}
}  // namespace

Tform3Dlumi::Tform3Dlumi()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint) {
    setObjectName("form3Dlumi");
    setWindowTitle("3D wiever");
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    resize(325, 306);

    Timer3D = new QTimer(this);
    Timer3D->setObjectName("Timer3D");
    Timer3D->setInterval(33);
    connect(Timer3D, &QTimer::timeout, this, &Tform3Dlumi::Timer3DTimer);
    // It runs while the window is shown (setVisible): a hidden view has
    // nothing to draw, and new data waits in the feed until it shows.
}

Tform3Dlumi::~Tform3Dlumi() = default;

void Tform3Dlumi::bind(DeviceFeed& feed) {
    feed_ = &feed;
    if (gl_) gl_->update();
}

QOpenGLWidget* Tform3Dlumi::glView() const {
    return gl_;
}

void Tform3Dlumi::Timer3DTimer() {
    if (!feed_ || !feed_->takeNewData()) return;
    if (gl_) gl_->update();
}

void Tform3Dlumi::setVisible(bool visible) {
    // The GL view joins before the window first shows, so the window is
    // made with a GL surface once instead of being remade.
    if (visible && !gl_ && platformHasGl()) {
        gl_ = new View3dGl(*this);
        layout()->addWidget(gl_);
    }
    QWidget::setVisible(visible);
    if (isVisible())
        Timer3D->start();
    else
        Timer3D->stop();
}

void Tform3Dlumi::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The stage is drawn with aspect 1: the window stays square. Squared
    // once this resize is done, so that the layout sees the new size too.
    if (height() != width())
        QMetaObject::invokeMethod(
            this, [this] { resize(width(), width()); }, Qt::QueuedConnection);
}

}  // namespace lumetra::ui
