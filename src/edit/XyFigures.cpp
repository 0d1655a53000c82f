#include "edit/XyFigures.h"

#include <cstdint>

namespace lumetra {

namespace {

// Keeps the low 8 bits, as the byte arithmetic of the figures does.
constexpr int byte(int v) {
    return static_cast<std::uint8_t>(v);
}

// Writes the points of one figure, never outside its range.
class FigureWriter {
  public:
    FigureWriter(ShowMemory& show, int firstChannel, XyRange range)
        : show_(show), first_(firstChannel), range_(range) {}

    // Straight figures: each coordinate clamped to 0..255.
    void clamped(int scene, int x, int y) {
        if (range_.contains(scene))
            show_.DataWriteXY(static_cast<std::uint8_t>(scene), first_, x, y);
    }
    // Circular figures: bytes stored as computed.
    void bytes(int scene, int x, int y) {
        if (range_.contains(scene)) setPoint(show_, first_, scene, {byte(x), byte(y)});
    }

  private:
    ShowMemory& show_;
    int first_;
    XyRange range_;
};

// The quantities every generator starts from (integer division truncates
// toward zero, as the figures are defined).
struct Figure {
    int F, T, S, w;
    int n() const { return T - F + 1; }
    int span() const { return T - F; }
};

void line(FigureWriter& out, const Figure& f) {
    const int d = byte(2 * (f.S / f.n()));
    int x = (256 - f.S) / 2 + f.w;
    int y = x;
    const int turn = f.F + f.span() / 2;
    for (int i = f.F - 1; i <= f.T - 1; ++i) {
        if (i < turn) {
            out.clamped(i, x - f.w, y + f.w);
            x += d;
            y += d;
            continue;
        }
        if (i == turn) {
            x = x - d + 2 * f.w;
            y = y - d - 2 * f.w;
        } else {
            x -= d;
            y -= d;
        }
        out.clamped(i, x - f.w, y + f.w);
    }
}

void triangle(FigureWriter& out, const Figure& f) {
    const int c = byte(3 * (f.S / f.n()));
    const int h = c / 2;
    const int k = f.span() <= 3 ? 1 : f.span() / 3 + 1;
    const int x0 = 127 - k * h;
    const int y0 = (256 - k * c) / 2;
    const int start = f.F - 1;
    for (int j = 0; j <= k; ++j) out.clamped(start + j, x0 + j * h, y0 + j * c);
    for (int j = 0; j <= k; ++j) out.clamped(start + k + j, x0 + (k + j) * h, y0 + (k - j) * c);
    for (int i = start + 2 * k, j = 0; i <= f.T - 1; ++i, ++j)
        out.clamped(i, x0 + 2 * k * h - j * (c + f.w), y0);
}

// Side length and corner of the rectangle and the X figure.
struct Square {
    int c, k, x0;
};

Square square(const Figure& f) {
    const int c = byte(4 * (f.S / f.n()));
    const int span = f.span();
    const int k = span <= 4 ? 1 : (span <= 8 ? 2 : span / 4 + 1);
    return {c, k, (256 - k * c) / 2};
}

void rectangle(FigureWriter& out, const Figure& f) {
    const auto [c, k, o] = square(f);
    const int start = f.F - 1;
    for (int j = 0; j <= k; ++j) out.clamped(start + j, o, o + j * c);
    for (int j = 0; j <= k; ++j) out.clamped(start + k + j, o + j * c, o + k * c);
    for (int j = 0; j <= k; ++j) out.clamped(start + 2 * k + j, o + k * c, o + (k - j) * c);
    for (int i = start + 3 * k, j = 0; i <= f.T - 1; ++i, ++j)
        out.clamped(i, o + k * c - j * (c + f.w), o);
}

void cross(FigureWriter& out, const Figure& f) {
    const auto [c, k, o] = square(f);
    const int start = f.F - 1;
    for (int j = 0; j <= k; ++j) out.clamped(start + j, o, o + j * c);
    for (int j = 0; j <= k; ++j) out.clamped(start + k + j, o + j * c, o + (k - j) * c);
    for (int j = 0; j <= k; ++j) out.clamped(start + 2 * k + j, o + k * c, o + j * c);
    for (int i = start + 3 * k, j = 0; i <= f.T - 1; ++i, ++j) {
        const int back = o + k * c - j * (c + f.w);
        out.clamped(i, back, back);
    }
}

void snake(FigureWriter& out, const Figure& f) {
    const int v = byte((f.S / f.span()) * (f.w + 1));
    const int rowStep = 256 / (f.w + 1);
    int x = (256 - f.S) / 2;
    int y = 128 / (f.w + 1);
    bool right = true;
    for (int i = f.F - 1; i <= f.T - 1; ++i) {
        out.clamped(i, x, y);
        const int next = right ? x + v : x - v;
        if (next > 255 || next < 0) {
            right = !right;
            y += rowStep;
        } else {
            x = next;
        }
    }
}

void circle(FigureWriter& out, const Figure& f) {
    const int step = 50 * f.w / f.span();
    for (int i = f.F - 1, angle = 0; i <= f.T - 1; ++i, angle += step) {
        const SinusBytes b = Sinus(angle, f.S);
        out.bytes(i, b.sine, b.cosine);
    }
}

void eight(FigureWriter& out, const Figure& f) {
    const int r = f.S / 2;
    const int q = r / 2;
    const int step = 100 * f.w / f.span();
    const int m = f.span() / 2;
    for (int j = 0; j <= m; ++j) {
        const SinusBytes b = Sinus(180 + j * step, r);
        out.bytes(f.F - 1 + j, b.sine, b.cosine + q);
    }
    for (int i = f.F - 1 + m, angle = 0; i <= f.T - 1; ++i, angle += step) {
        const SinusBytes b = Sinus(angle, r);
        out.bytes(i, b.sine, b.cosine - q);
    }
}

void fourLeaf(FigureWriter& out, const Figure& f) {
    const int r = f.S / 2;
    const int g = r / 2;
    const int step = 150 * f.w / f.span();
    const int e = byte(f.span() / 4);
    struct Quarter {
        int angle, dx, dy;
    };
    const Quarter quarters[4] = {{90, -g, g}, {180, g, g}, {270, g, -g}, {0, -g, -g}};
    for (int q = 0; q < 4; ++q) {
        const int first = f.F - 1 + q * e;
        const int last = q < 3 ? first + e : f.T - 1;  // the last quarter runs to the end
        for (int i = first, angle = quarters[q].angle; i <= last; ++i, angle -= step) {
            const SinusBytes b = Sinus(angle, r);
            out.bytes(i, b.sine + quarters[q].dx, b.cosine + quarters[q].dy);
        }
    }
}

void spiral(FigureWriter& out, const Figure& f) {
    const int step = 250 * f.w / f.span();
    const int shrink = byte(f.S / f.span());
    for (int i = f.F - 1, angle = 0, size = f.S; i <= f.T - 1;
         ++i, angle += step, size = byte(size - shrink)) {
        const SinusBytes b = Sinus(angle, size);
        out.bytes(i, b.sine, b.cosine);
    }
}

}  // namespace

bool needsTwoScenes(XyFigure figure) {
    switch (figure) {
        case XyFigure::Line:
        case XyFigure::Triangle:
        case XyFigure::Rectangle:
        case XyFigure::Cross:
            return false;
        default:
            return true;
    }
}

FigureResult makeFigure(ShowMemory& show, int firstChannel, XyFigure figure,
                        const FigureParams& params) {
    const Figure f{params.range.from, params.range.to, params.size, params.option};
    if (f.n() < 1 || (needsTwoScenes(figure) && f.span() < 1)) return FigureResult::TooFewScenes;
    // In the order of XyFigure.
    using Generator = void (*)(FigureWriter&, const Figure&);
    static constexpr Generator generators[] = {line,   triangle, rectangle, cross, snake,
                                               circle, eight,    fourLeaf,  spiral};
    FigureWriter out(show, firstChannel, params.range);
    generators[static_cast<int>(figure)](out, f);
    return FigureResult::Done;
}

}  // namespace lumetra
