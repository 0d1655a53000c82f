#include "edit/GoboPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <array>
#include <functional>
#include <vector>

#include "edit/ChannelNames.h"

namespace lumetra::ui {

namespace {

constexpr double kC = 8.0;  // centre of a picture
const QColor kInk(20, 20, 20);
const QColor kLight(250, 250, 250);

using Draw = std::function<void(QPainter&)>;

QPointF polar(double radius, double turns) {
    const double a = turns * 2.0 * M_PI - M_PI / 2.0;
    return {kC + radius * std::cos(a), kC + radius * std::sin(a)};
}

// A gobo: a dark disc with a light pattern cut into it.
Draw gobo(std::function<void(QPainter&)> pattern) {
    return [pattern](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(kC, kC), 7.5, 7.5);
        p.setBrush(kLight);
        p.setPen(QPen(kLight, 1.2));
        pattern(p);
    };
}

QPolygonF star(int points, double outer, double inner, double turn = 0) {
    QPolygonF poly;
    for (int k = 0; k < 2 * points; ++k)
        poly << polar(k % 2 ? inner : outer, turn + k / (2.0 * points));
    return poly;
}

QPolygonF polygon(int sides, double radius) {
    QPolygonF poly;
    for (int k = 0; k < sides; ++k) poly << polar(radius, double(k) / sides);
    return poly;
}

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QLineF l(to, from);
    for (double turn : {30.0, -30.0}) {
        QLineF head(l);
        head.setLength(3.5);
        head.setAngle(l.angle() + turn);
        p.drawLine(head);
    }
}

// Lamp, movement, beam and effect functions: pictures 0..15.
void addFunctions(std::vector<Draw>& list) {
    const QPen ink(kInk, 1.4);
    list.push_back([ink](QPainter& p) {  // 0 lamp (dimmer)
        p.setPen(ink);
        p.setBrush(QColor(255, 230, 80));
        p.drawEllipse(QPointF(kC, 6.5), 4.5, 4.5);
        p.setBrush(QColor(120, 120, 120));
        p.drawRect(QRectF(5.5, 11, 5, 3.5));
    });
    list.push_back([ink](QPainter& p) {
        p.setPen(ink);
        arrow(p, {2, 8}, {14, 8});
        arrow(p, {14, 8}, {2, 8});
    });
    list.push_back([ink](QPainter& p) {
        p.setPen(ink);
        arrow(p, {8, 2}, {8, 14});
        arrow(p, {8, 14}, {8, 2});
    });
    list.push_back([ink](QPainter& p) {  // pan and tilt
        p.setPen(ink);
        for (auto [a, b] : {std::pair{QPointF(8, 8), QPointF(8, 1.5)},
                            {QPointF(8, 8), QPointF(8, 14.5)},
                            {QPointF(8, 8), QPointF(1.5, 8)},
                            {QPointF(8, 8), QPointF(14.5, 8)}})
            arrow(p, a, b);
    });
    list.push_back([ink](QPainter& p) {  // shutter
        p.setPen(ink);
        p.setBrush(kInk);
        p.drawChord(QRectF(1.5, 1.5, 13, 13), 0, 180 * 16);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    });
    list.push_back([](QPainter& p) {  // strobe
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 180, 0));
        p.drawPolygon(QPolygonF({{9, 1}, {3, 9}, {7.5, 9}, {6, 15}, {13, 6}, {8.5, 6}, {10.5, 1}}));
    });
    list.push_back([ink](QPainter& p) {  // focus
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(kC, kC), 6.5, 6.5);
        p.drawEllipse(QPointF(kC, kC), 3.5, 3.5);
        p.drawPoint(QPointF(kC, kC));
    });
    list.push_back([ink](QPainter& p) {  // zoom: narrow to wide beam
        p.setPen(ink);
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 2));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 14));
        p.drawLine(QPointF(14.5, 2), QPointF(14.5, 14));
    });
    list.push_back([ink](QPainter& p) {  // iris
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(kC, kC), 6.5, 6.5);
        for (int k = 0; k < 6; ++k) p.drawLine(polar(6.5, k / 6.0), polar(2.5, k / 6.0 + 0.2));
    });
    list.push_back([ink](QPainter& p) {  // prism
        p.setPen(ink);
        p.setBrush(QColor(170, 210, 255));
        p.drawPolygon(polygon(3, 6.8));
    });
    list.push_back([](QPainter& p) {  // frost
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 12; ++k) {
            p.setBrush(QColor(150, 170, 200, 120 + 10 * k));
            p.drawEllipse(polar(1 + k * 0.5, k * 0.37), 1.6, 1.6);
        }
    });
    list.push_back([ink](QPainter& p) {  // speed
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(kC, kC), 6.5, 6.5);
        p.drawLine(QPointF(kC, kC), polar(5, 0));
        p.drawLine(QPointF(kC, kC), polar(3.5, 0.3));
    });
    list.push_back([ink](QPainter& p) {  // macro: a gear
        p.setPen(ink);
        p.setBrush(QColor(160, 160, 160));
        p.drawPolygon(star(8, 7, 5));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(kC, kC), 2, 2);
    });
    list.push_back([ink](QPainter& p) {  // reset
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2, 2, 12, 12), 60 * 16, 300 * 16);
        arrow(p, polar(6, 0.2) + QPointF(-2, -2), polar(6, 0.085));
    });
    list.push_back([](QPainter& p) {  // colour wheel
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 6; ++k) {
            p.setBrush(QColor::fromHsv(k * 60, 255, 255));
            p.drawPie(QRectF(1, 1, 14, 14), k * 60 * 16, 60 * 16);
        }
    });
    list.push_back(gobo([](QPainter& p) {  // gobo wheel
        for (int k = 0; k < 6; ++k) p.drawEllipse(polar(4.8, k / 6.0), 1.3, 1.3);
    }));
}

// Colours: pictures 16..39, a filled spot each.
void addColors(std::vector<Draw>& list) {
    std::vector<QColor> colors{Qt::white, QColor(255, 214, 170), QColor(200, 220, 255)};
    for (int k = 0; k < 18; ++k) colors.push_back(QColor::fromHsv(k * 20, 255, 255));
    colors.push_back(QColor(110, 0, 220));    // UV
    colors.push_back(QColor(255, 150, 190));  // pink
    colors.push_back(QColor(255, 191, 0));    // amber
    for (const QColor& c : colors)
        list.push_back([c](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(c);
            p.drawEllipse(QPointF(kC, kC), 6.5, 6.5);
        });
}

// Gobo patterns: pictures 40..141.
void addPatterns(std::vector<Draw>& list) {
    for (int n = 3; n <= 10; ++n)  // stars
        list.push_back(gobo([n](QPainter& p) { p.drawPolygon(star(n, 6.5, 2.8)); }));
    for (int n = 3; n <= 12; ++n)  // rings of dots
        list.push_back(gobo([n](QPainter& p) {
            for (int k = 0; k < n; ++k) p.drawEllipse(polar(4.6, double(k) / n), 1.2, 1.2);
        }));
    for (int n = 2; n <= 9; ++n)  // spokes
        list.push_back(gobo([n](QPainter& p) {
            for (int k = 0; k < n; ++k) p.drawLine(QPointF(kC, kC), polar(6.5, double(k) / n));
        }));
    for (int n = 1; n <= 4; ++n)  // concentric rings
        list.push_back(gobo([n](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            for (int k = 1; k <= n; ++k)
                p.drawEllipse(QPointF(kC, kC), 6.5 * k / (n + 0.5), 6.5 * k / (n + 0.5));
        }));
    for (int n = 3; n <= 8; ++n)  // polygon outlines
        list.push_back(gobo([n](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(polygon(n, 5.8));
        }));
    for (int n = 3; n <= 8; ++n)  // filled polygons
        list.push_back(gobo([n](QPainter& p) { p.drawPolygon(polygon(n, 5.5)); }));
    for (int n = 3; n <= 8; ++n)  // flowers
        list.push_back(gobo([n](QPainter& p) {
            const double petal = std::min(2.2, 7.0 / n);
            for (int k = 0; k < n; ++k) p.drawEllipse(polar(4.3, double(k) / n), petal, petal);
            p.drawEllipse(QPointF(kC, kC), 1.0, 1.0);
        }));
    for (int n = 1; n <= 4; ++n)  // spirals
        list.push_back(gobo([n](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            for (int arm = 0; arm < n; ++arm) {
                QPainterPath path(QPointF(kC, kC));
                for (int s = 1; s <= 20; ++s)
                    path.lineTo(polar(s * 0.33, double(arm) / n + s * 0.05));
                p.drawPath(path);
            }
        }));
    for (int n = 2; n <= 5; ++n)  // grids of dots
        list.push_back(gobo([n](QPainter& p) {
            const double step = 9.0 / (n - 1);
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    p.drawEllipse(QPointF(3.5 + i * step, 3.5 + j * step), 0.8, 0.8);
        }));
    for (int vertical = 0; vertical < 2; ++vertical)  // stripes
        for (int n = 2; n <= 5; ++n)
            list.push_back(gobo([n, vertical](QPainter& p) {
                p.setPen(QPen(kLight, 1.3));
                for (int k = 0; k < n; ++k) {
                    const double at = 3 + k * 10.0 / (n - 1);
                    if (vertical)
                        p.drawLine(QPointF(at, 2.5), QPointF(at, 13.5));
                    else
                        p.drawLine(QPointF(2.5, at), QPointF(13.5, at));
                }
            }));
    for (int n = 2; n <= 6; ++n)  // windmill blades
        list.push_back(gobo([n](QPainter& p) {
            for (int k = 0; k < n; ++k)
                p.drawPie(QRectF(1.5, 1.5, 13, 13), int(k * 360.0 / n * 16), int(180.0 / n * 16));
        }));
    for (int n = 1; n <= 7; ++n)  // sectors of eighths
        list.push_back(gobo([n](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.drawPie(QRectF(1.5, 1.5, 13, 13), 90 * 16, -n * 45 * 16);
        }));
    for (int n = 1; n <= 4; ++n)  // waves
        list.push_back(gobo([n](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            for (int k = 0; k < n; ++k) {
                const double y = 8 + (k - (n - 1) / 2.0) * 3;
                QPainterPath path(QPointF(2, y));
                for (int s = 1; s <= 12; ++s) path.lineTo(2 + s, y + 1.5 * std::sin(s * 0.9));
                p.drawPath(path);
            }
        }));
    for (int n = 2; n <= 4; ++n)  // chequers
        list.push_back(gobo([n](QPainter& p) {
            p.setPen(Qt::NoPen);
            const double cell = 11.0 / n;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    if ((i + j) % 2 == 0)
                        p.drawRect(QRectF(2.5 + i * cell, 2.5 + j * cell, cell, cell));
        }));
    for (int n = 3; n <= 8; ++n)  // double rings of dots
        list.push_back(gobo([n](QPainter& p) {
            for (int k = 0; k < n; ++k) {
                p.drawEllipse(polar(5.2, double(k) / n), 1, 1);
                p.drawEllipse(polar(2.4, (k + 0.5) / n), 0.8, 0.8);
            }
        }));
    for (int n = 4; n <= 8; ++n)  // star outlines
        list.push_back(gobo([n](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(star(n, 6.3, 3));
        }));
    for (unsigned seed = 1; seed <= 8; ++seed)  // break-up textures
        list.push_back(gobo([seed](QPainter& p) {
            p.setPen(Qt::NoPen);
            unsigned v = seed * 2654435761u;
            for (int k = 0; k < 9; ++k) {
                v = v * 1103515245u + 12345u;
                const double r = 1 + (v >> 8) % 50 / 10.0;
                const double t = ((v >> 16) % 100) / 100.0;
                p.drawEllipse(polar(r, t), 0.6 + (v >> 24) % 3 * 0.4, 0.6 + (v >> 26) % 3 * 0.4);
            }
        }));
}

// The drawings are listed once; each picture is drawn the first time it is
// asked for (a fader page usually shows a handful of the 256).
struct Pictures {
    std::vector<Draw> draws;
    std::vector<QPixmap> drawn;
};

Pictures& pictures() {
    static Pictures list = [] {
        Pictures p;
        addFunctions(p.draws);
        addColors(p.draws);
        addPatterns(p.draws);
        p.drawn.resize(p.draws.size());
        return p;
    }();
    return list;
}

QPixmap render(const Draw& draw) {
    QImage image(kGoboPictureSize, kGoboPictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace

int goboPictureCount() {
    return static_cast<int>(pictures().draws.size());
}

QPixmap goboPicture(int n) {
    if (n < 0 || n >= lumetra::kGoboPictures || n >= goboPictureCount()) return {};
    Pictures& p = pictures();
    if (p.drawn[n].isNull()) p.drawn[n] = render(p.draws[n]);
    return p.drawn[n];
}

GoboImage::GoboImage(QWidget* parent) : QWidget(parent) {
    setFixedSize(kGoboPictureSize, kGoboPictureSize);
}

void GoboImage::setPicture(int n) {
    if (n == picture_) return;
    picture_ = n;
    setAccessibleName(n >= 0 && n < lumetra::kGoboPictures ? QString::number(n) : QString());
    update();
}

void GoboImage::paintEvent(QPaintEvent*) {
    const QPixmap pixmap = goboPicture(picture_);
    if (pixmap.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap);
}

}  // namespace lumetra::ui
