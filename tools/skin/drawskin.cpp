// Draws every skin picture of the program into one folder.
// BMP files are written here directly (24 bits per pixel); ICO and GIF
// pictures are written as PNG masters that tools/skin/draw converts.
//
//   drawskin OUTPUT_FOLDER PNG_FOLDER

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRadialGradient>
#include <QRegion>
#include <QTextStream>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// The palette the windows are built around; src/ui/skin_palette.h repeats
// the colours the window code paints behind these pictures.
namespace pal {
const QColor chrome(0xe9, 0xf0, 0xf8);  // toolbar strip, tab background
const QColor page(0xf5, 0xf8, 0xfc);    // pop-up body and pages
const QColor cream(244, 245, 235);      // behind the question page
const QColor barTop(0x55, 0x96, 0xe2), barBottom(0x1f, 0x5a, 0xae);
const QColor barEdge(0x12, 0x3a, 0x74), barGlow(0x8d, 0xbb, 0xf2), barFoot(0x18, 0x4a, 0x8f);
const QColor whiteTop(0xff, 0xff, 0xff), whiteBottom(0xe1, 0xe7, 0xef);
const QColor whiteEdge(0x8e, 0x9a, 0xa8), whiteFoot(0xb4, 0xbe, 0xcb);
const QColor frameEdge(0x4a, 0x66, 0x8c), frameFill(0xd9, 0xe4, 0xf1), frameInner(0xa6, 0xb9, 0xd1);
const QColor blue(0x2f, 0x6f, 0xc4), blueLight(0x62, 0xa0, 0xea), blueDark(0x17, 0x3f, 0x7a);
const QColor line(0x8f, 0xa6, 0xc4);
}  // namespace pal

QString g_out, g_png;
int g_written = 0;

void saveBmp(const QImage& img, const QString& name)
{
    // Qt writes a 32-bit image without alpha as a 24-bit BMP.
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    if (!rgb.save(g_out + "/" + name, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        std::exit(1);
    }
    ++g_written;
}

void savePng(const QImage& img, const QString& name)
{
    if (!img.save(g_png + "/" + name, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        std::exit(1);
    }
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QImage canvas(int w, int h, const QColor& bg)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(bg);
    return img;
}

QImage layer(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPen pen(const QColor& c, double w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vgrad(double y0, double y1, const QColor& a, const QColor& b)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// ---------------------------------------------------------------- frames

// The same outlines the windows cut themselves to, so the drawn edge
// follows the visible edge pixel for pixel.
QPolygon windowOutline(int w, int h)
{
    return QPolygon({{0, 5}, {1, 3}, {2, 2}, {3, 1}, {5, 0}, {w - 5, 0}, {w - 3, 1}, {w - 2, 2}, {w - 2, 3},
                     {w, 5}, {w, h}, {0, h}});
}

QPolygon popupOutline(int w, int h)
{
    return QPolygon({{0, 5}, {1, 3}, {2, 2}, {3, 1}, {5, 0}, {w - 5, 0}, {w - 3, 1}, {w - 2, 2}, {w - 2, 3},
                     {w, 5}, {w, h - 7}, {w - 2, h - 3}, {w - 3, h - 2}, {w - 7, h}, {7, h}, {3, h - 2},
                     {2, h - 3}, {0, h - 7}});
}

constexpr int kTitleHeight = 28;
constexpr int kSide = 6;
constexpr int kBottom = 7;

QColor titleRow(int y, bool active)
{
    if (y == kTitleHeight - 1) return active ? pal::barFoot : pal::whiteFoot;
    const double t = std::clamp((y - 1) / double(kTitleHeight - 3), 0.0, 1.0);
    return active ? mix(pal::barTop, pal::barBottom, t) : mix(pal::whiteTop, pal::whiteBottom, t);
}

// A whole window frame; the skin pieces are cut out of it.
QImage frame(int w, int h, bool active, bool popup)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(pal::page);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (y < kTitleHeight) {
                img.setPixelColor(x, y, titleRow(y, active));
                continue;
            }
            const int dl = x, dr = w - 1 - x, db = h - 1 - y;
            const int d = std::min({dl, dr, db});
            if (d >= kSide && db >= kBottom) continue;
            // Distance in from the outside, the bottom measured in its own width.
            const bool inner = (dl == kSide - 1 && db >= kBottom - 1) || (dr == kSide - 1 && db >= kBottom - 1) ||
                               (db == kBottom - 1 && dl >= kSide - 1 && dr >= kSide - 1);
            img.setPixelColor(x, y, inner ? pal::frameInner : pal::frameFill);
        }
    }
    const QRegion region(popup ? popupOutline(w, h) : windowOutline(w, h), Qt::WindingFill);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && region.contains(QPoint(x, y));
    };
    QImage out = img.copy();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y)) {
                out.setPixelColor(x, y, y < kTitleHeight ? (active ? pal::barEdge : pal::whiteEdge) : pal::frameEdge);
                continue;
            }
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge) {
                out.setPixelColor(x, y, y < kTitleHeight ? (active ? pal::barEdge : pal::whiteEdge) : pal::frameEdge);
            } else if (y < 10) {
                // A glow just inside the top edge and the rounded corners.
                const bool nearEdge = !inside(x - 2, y) || !inside(x + 2, y) || !inside(x, y - 2) ||
                                      !inside(x - 1, y - 1) || !inside(x + 1, y - 1);
                if (nearEdge) out.setPixelColor(x, y, active ? pal::barGlow : QColor(Qt::white));
            }
        }
    }
    return out;
}

void drawFrames()
{
    const int w = 160, h = 120;
    const QImage on = frame(w, h, true, false);
    const QImage off = frame(w, h, false, false);
    const QImage pop = frame(w, h, true, true);

    saveBmp(on.copy(w / 2, h - kBottom, 2, kBottom), "border_bot.bmp");
    saveBmp(on.copy(0, 60, kSide, 8), "border_left.bmp");
    saveBmp(on.copy(0, h - kBottom, kSide, kBottom), "border_left_corners.bmp");
    saveBmp(on.copy(w - kSide, 60, kSide, 8), "border_right.bmp");
    saveBmp(on.copy(w - kSide, h - kBottom, kSide, kBottom), "border_right_corners.bmp");
    saveBmp(on.copy(w / 2, 0, 2, kTitleHeight), "border_top_center.bmp");
    saveBmp(on.copy(0, 0, 48, kTitleHeight), "border_top_left.bmp");
    saveBmp(on.copy(w - 48, 0, 48, kTitleHeight), "border_top_right.bmp");
    saveBmp(off.copy(w / 2, 0, 2, kTitleHeight), "border_white_top_center.bmp");
    saveBmp(off.copy(0, 0, 48, kTitleHeight), "border_white_top_left.bmp");
    saveBmp(off.copy(w - 48, 0, 48, kTitleHeight), "border_white_top_right.bmp");
    savePng(pop.copy(0, h - kBottom, kSide, kBottom), "Border_bot_left.png");
    savePng(pop.copy(w - kSide, h - kBottom, kSide, kBottom), "Border_bot_right.png");
}

// ---------------------------------------------------------------- title-bar buttons

enum class TitleGlyph { Close, Max, Min, Norm };

void titleGlyph(QPainter& p, TitleGlyph g, const QColor& c)
{
    switch (g) {
    case TitleGlyph::Close:
        p.setPen(pen(c, 2.0));
        p.drawLine(QPointF(6, 6), QPointF(13, 13));
        p.drawLine(QPointF(13, 6), QPointF(6, 13));
        break;
    case TitleGlyph::Min:
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(5.5, 13), QPointF(13.5, 13));
        break;
    case TitleGlyph::Max:
        p.setPen(QPen(c, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(5.5, 5.5, 8, 8));
        p.fillRect(QRectF(5, 5, 9, 2.4), c);
        break;
    case TitleGlyph::Norm:  // drawn by titleButtonNorm, which needs the background
        break;
    }
}

// State: 0 inactive (white bar), 1 active, 2 active under the pointer.
QImage titleButton(TitleGlyph g, int state)
{
    const bool active = state > 0;
    QImage img(19, 19, QImage::Format_ARGB32_Premultiplied);
    // The buttons sit 4 pixels down the title bar; carry its gradient on.
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 19; ++x) img.setPixelColor(x, y, titleRow(y + 4, active));
    QPainter p(&img);
    smooth(p);
    const QRectF box(1.5, 1.5, 16, 16);
    if (state == 0) {
        p.setPen(QPen(QColor(0xb9, 0xc3, 0xcf), 1));
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawRoundedRect(box, 3, 3);
        titleGlyph(p, g, QColor(0x84, 0x8e, 0x9b));
    } else if (state == 1) {
        p.setPen(QPen(QColor(255, 255, 255, 110), 1));
        p.setBrush(QColor(255, 255, 255, 28));
        p.drawRoundedRect(box, 3, 3);
        titleGlyph(p, g, Qt::white);
    } else {
        const bool close = g == TitleGlyph::Close;
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(close ? QBrush(vgrad(1, 18, QColor(0xf0, 0x6d, 0x5e), QColor(0xc8, 0x30, 0x24)))
                         : QBrush(vgrad(1, 18, QColor(0x8c, 0xc0, 0xfa), QColor(0x3e, 0x80, 0xd6))));
        p.drawRoundedRect(box, 3, 3);
        titleGlyph(p, g, Qt::white);
    }
    p.end();
    return img;
}

QImage titleButtonNorm(int state)
{
    const bool active = state > 0;
    QImage img(19, 19, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 19; ++x) img.setPixelColor(x, y, titleRow(y + 4, active));
    QPainter p(&img);
    smooth(p);
    const QRectF box(1.5, 1.5, 16, 16);
    QColor glyph = Qt::white, fillBehind;
    if (state == 0) {
        p.setPen(QPen(QColor(0xb9, 0xc3, 0xcf), 1));
        p.setBrush(QColor(255, 255, 255, 120));
        glyph = QColor(0x84, 0x8e, 0x9b);
    } else if (state == 1) {
        p.setPen(QPen(QColor(255, 255, 255, 110), 1));
        p.setBrush(QColor(255, 255, 255, 28));
    } else {
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(QBrush(vgrad(1, 18, QColor(0x8c, 0xc0, 0xfa), QColor(0x3e, 0x80, 0xd6))));
    }
    p.drawRoundedRect(box, 3, 3);
    p.end();
    fillBehind = img.pixelColor(7, 11);
    QPainter q(&img);
    q.setRenderHint(QPainter::Antialiasing);
    q.setBrush(Qt::NoBrush);
    q.setPen(QPen(glyph, 1.2));
    q.drawRect(QRectF(7.5, 4.5, 6.5, 6.5));
    q.fillRect(QRectF(7, 4, 7.5, 2), glyph);
    q.fillRect(QRectF(4.4, 8, 7.2, 7.2), fillBehind);
    q.drawRect(QRectF(4.5, 8.5, 6.5, 6.5));
    q.fillRect(QRectF(4, 8, 7.5, 2), glyph);
    q.end();
    return img;
}

void drawTitleButtons()
{
    struct {
        TitleGlyph g;
        const char* name;
    } const glyphs[] = {{TitleGlyph::Close, "close"}, {TitleGlyph::Max, "max"}, {TitleGlyph::Min, "min"},
                        {TitleGlyph::Norm, "norm"}};
    const char* prefixes[] = {"prog_white_", "prog_blueoff_", "prog_blue_"};
    for (int state : {2, 1, 0}) {
        for (const auto& gl : glyphs) {
            const QImage img = gl.g == TitleGlyph::Norm ? titleButtonNorm(state) : titleButton(gl.g, state);
            saveBmp(img, QString(prefixes[state]) + gl.name + ".bmp");
        }
    }
}

// ---------------------------------------------------------------- toolbar glyphs (32 x 32)

void disc(QPainter& p, const QColor& light, const QColor& dark, const QColor& edge)
{
    QRadialGradient g(QPointF(13, 10), 16);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(edge, 1.2));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
    // A soft highlight on the upper half gives the disc its roundness.
    QPainterPath shine;
    shine.addEllipse(QRectF(7.5, 5, 17, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(5, 15, QColor(255, 255, 255, 110), QColor(255, 255, 255, 0)));
    p.drawPath(shine);
}

void glyphSave(QPainter& p)
{
    QPainterPath body;
    body.moveTo(6, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 26);
    body.quadTo(28, 28, 26, 28);
    body.lineTo(6, 28);
    body.quadTo(4, 28, 4, 26);
    body.lineTo(4, 6);
    body.quadTo(4, 4, 6, 4);
    p.setPen(QPen(QColor(0x15, 0x35, 0x66), 1.2));
    p.setBrush(vgrad(4, 28, QColor(0x4a, 0x82, 0xd0), QColor(0x22, 0x4c, 0x8c)));
    p.drawPath(body);
    p.setPen(QPen(QColor(0x7d, 0x8b, 0x9c), 1));
    p.setBrush(vgrad(4, 12, QColor(0xf2, 0xf5, 0xf8), QColor(0xc7, 0xcf, 0xd9)));
    p.drawRect(QRectF(9.5, 4.5, 13, 8));
    p.fillRect(QRectF(17.5, 6, 3, 5), QColor(0x22, 0x4c, 0x8c));
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xba), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(7.5, 16.5, 17, 11), 1.5, 1.5);
    p.setPen(pen(QColor(0x9f, 0xb3, 0xcc), 1.2));
    p.drawLine(QPointF(10, 20), QPointF(22, 20));
    p.drawLine(QPointF(10, 23.5), QPointF(22, 23.5));
}

void sheet(QPainter& p, const QRectF& r)
{
    QPainterPath s;
    const double fold = 5;
    s.moveTo(r.left(), r.top());
    s.lineTo(r.right() - fold, r.top());
    s.lineTo(r.right(), r.top() + fold);
    s.lineTo(r.right(), r.bottom());
    s.lineTo(r.left(), r.bottom());
    s.closeSubpath();
    p.setPen(QPen(QColor(0x74, 0x84, 0x9a), 1));
    p.setBrush(vgrad(r.top(), r.bottom(), Qt::white, QColor(0xee, 0xf2, 0xf7)));
    p.drawPath(s);
    QPainterPath f;
    f.moveTo(r.right() - fold, r.top());
    f.lineTo(r.right() - fold, r.top() + fold);
    f.lineTo(r.right(), r.top() + fold);
    f.closeSubpath();
    p.setBrush(QColor(0xd5, 0xdd, 0xe8));
    p.drawPath(f);
}

void glyphMark(QPainter& p)
{
    sheet(p, QRectF(6.5, 3.5, 19, 25));
    p.setPen(pen(QColor(0xc3, 0xcd, 0xda), 1.2));
    for (double y : {10.0, 14.0, 18.0, 22.0}) p.drawLine(QPointF(10, y), QPointF(y < 11 ? 18 : 22, y));
    QPainterPath tick;
    tick.moveTo(9, 17);
    tick.lineTo(14.5, 23.5);
    tick.lineTo(28, 7);
    p.setPen(pen(QColor(0x8a, 0x1a, 0x12), 5.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.setPen(pen(QColor(0xe0, 0x3e, 0x2c), 3.2));
    p.drawPath(tick);
}

void glyphPrint(QPainter& p)
{
    p.setPen(QPen(QColor(0x7b, 0x88, 0x99), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 3.5, 13, 9));
    p.setPen(QPen(QColor(0x3a, 0x44, 0x52), 1.2));
    p.setBrush(vgrad(10, 24, QColor(0x9a, 0xa6, 0xb5), QColor(0x55, 0x61, 0x71)));
    p.drawRoundedRect(QRectF(3.5, 10.5, 25, 13), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x66, 0xdd, 0x66));
    p.drawEllipse(QPointF(24.5, 14.5), 1.6, 1.6);
    p.setPen(QPen(QColor(0x7b, 0x88, 0x99), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 18.5, 15, 10));
    p.setPen(pen(QColor(0x6f, 0x9c, 0xd8), 1.2));
    p.drawLine(QPointF(11, 22), QPointF(21, 22));
    p.drawLine(QPointF(11, 25), QPointF(18, 25));
}

void glyphClose(QPainter& p)
{
    disc(p, QColor(0xf5, 0x86, 0x74), QColor(0xc2, 0x2b, 0x1e), QColor(0x86, 0x1c, 0x12));
    p.setPen(pen(Qt::white, 3.4));
    p.drawLine(QPointF(11.5, 11.5), QPointF(20.5, 20.5));
    p.drawLine(QPointF(20.5, 11.5), QPointF(11.5, 20.5));
}

void glyphArrow(QPainter& p, bool forward)
{
    disc(p, QColor(0x7f, 0xd6, 0x86), QColor(0x2b, 0x8a, 0x3a), QColor(0x1b, 0x5a, 0x25));
    QPolygonF a({{8.5, 13.5}, {16, 13.5}, {16, 8.5}, {24, 16}, {16, 23.5}, {16, 18.5}, {8.5, 18.5}});
    if (!forward) a = QTransform(-1, 0, 0, 1, 32, 0).map(a);
    p.setPen(QPen(QColor(0x1b, 0x5a, 0x25, 90), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(a);
}

void glyphHome(QPainter& p)
{
    p.setPen(QPen(QColor(0x5e, 0x26, 0x18), 1));
    p.setBrush(QColor(0x9a, 0x3e, 0x2a));
    p.drawRect(QRectF(21.5, 6.5, 3, 6));
    p.setPen(QPen(QColor(0x8a, 0x6d, 0x3b), 1));
    p.setBrush(vgrad(14, 28, QColor(0xfb, 0xf1, 0xd8), QColor(0xe8, 0xd6, 0xac)));
    p.drawRect(QRectF(7.5, 14.5, 17, 13.5));
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(19, 28, QColor(0x4a, 0x86, 0xd6), QColor(0x23, 0x55, 0x9e)));
    p.drawRect(QRectF(11, 19, 5.5, 9));
    p.setPen(QPen(QColor(0x4f, 0x6f, 0x96), 1));
    p.setBrush(QColor(0xb8, 0xda, 0xf7));
    p.drawRect(QRectF(18.5, 18.5, 4, 4));
    QPainterPath roof;
    roof.moveTo(3, 16.5);
    roof.lineTo(16, 4);
    roof.lineTo(29, 16.5);
    roof.lineTo(26.5, 17.5);
    roof.lineTo(16, 7.5);
    roof.lineTo(5.5, 17.5);
    roof.closeSubpath();
    p.setPen(QPen(QColor(0x7a, 0x22, 0x14), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vgrad(4, 17, QColor(0xf0, 0x6a, 0x48), QColor(0xbe, 0x36, 0x22)));
    p.drawPath(roof);
}

void glyphReport(QPainter& p)
{
    p.setPen(QPen(QColor(0x74, 0x84, 0x9a), 1));
    p.setBrush(vgrad(4, 28, Qt::white, QColor(0xee, 0xf2, 0xf7)));
    p.drawRoundedRect(QRectF(3.5, 4.5, 25, 23), 2, 2);
    auto bar = [&](double x, double top, const QColor& c) {
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(vgrad(top, 25, c.lighter(125), c));
        p.drawRect(QRectF(x + 0.5, top + 0.5, 4, 24.5 - top));
    };
    bar(8, 16, QColor(0x2f, 0x6f, 0xc4));
    bar(14, 9, QColor(0x2e, 0x9a, 0x44));
    bar(20, 13, QColor(0xe8, 0x8a, 0x24));
    p.setPen(QPen(QColor(0x4a, 0x58, 0x6a), 1.2));
    p.drawLine(QPointF(6, 25.5), QPointF(26, 25.5));
}

void glyphTrash(QPainter& p)
{
    p.setPen(QPen(QColor(0x46, 0x52, 0x60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12.5, 3.5, 7, 4), 1.5, 1.5);
    QPainterPath bin;
    bin.moveTo(7.5, 10);
    bin.lineTo(24.5, 10);
    bin.lineTo(22.8, 28.5);
    bin.lineTo(9.2, 28.5);
    bin.closeSubpath();
    p.setBrush(vgrad(10, 28, QColor(0xb3, 0xbd, 0xca), QColor(0x6e, 0x7a, 0x8a)));
    p.drawPath(bin);
    p.setPen(pen(QColor(0xf2, 0xf5, 0xf9), 1.5));
    for (double x : {12.3, 16.0, 19.7}) p.drawLine(QPointF(x, 13), QPointF(x + (x - 16) * 0.1, 25.5));
    p.setPen(QPen(QColor(0x46, 0x52, 0x60), 1.2));
    p.setBrush(vgrad(6, 10, QColor(0xa9, 0xb4, 0xc2), QColor(0x7b, 0x87, 0x97)));
    p.drawRoundedRect(QRectF(5.5, 6.5, 21, 4), 1.5, 1.5);
}

void glyphAbout(QPainter& p)
{
    disc(p, QColor(0x79, 0xb0, 0xf2), QColor(0x20, 0x5c, 0xb2), pal::blueDark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.8), 2.3, 2.3);
    QPainterPath i;
    i.moveTo(13, 14);
    i.lineTo(17.8, 14);
    i.lineTo(17.8, 22);
    i.lineTo(19.5, 22);
    i.lineTo(19.5, 24.2);
    i.lineTo(12.5, 24.2);
    i.lineTo(12.5, 22);
    i.lineTo(14.2, 22);
    i.lineTo(14.2, 16.2);
    i.lineTo(13, 16.2);
    i.closeSubpath();
    p.drawPath(i);
}

void glyphSetup(QPainter& p)
{
    QPainterPath gear;
    gear.addEllipse(QPointF(16, 16), 9.2, 9.2);
    for (int k = 0; k < 8; ++k) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-2.6, -13, 5.2, 6), 1.2, 1.2);
        QTransform t;
        t.translate(16, 16);
        t.rotate(k * 45.0 + 22.5);
        gear = gear.united(t.map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 3.8, 3.8);
    gear = gear.subtracted(hole);
    p.setPen(QPen(QColor(0x33, 0x3d, 0x4a), 1.1));
    p.setBrush(vgrad(3, 29, QColor(0xa4, 0xb0, 0xc0), QColor(0x55, 0x62, 0x73)));
    p.drawPath(gear);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
}

// Greys a glyph out and lightens it, so an unavailable button reads as such.
QImage disabledGlyph(const QImage& glyph)
{
    QImage img = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            QColor c = img.pixelColor(x, y);
            const double grey = 0.3 * c.redF() + 0.59 * c.greenF() + 0.11 * c.blueF();
            const double v = 0.62 + grey * 0.3;
            img.setPixelColor(x, y, QColor::fromRgbF(v, v, v + 0.02 > 1 ? 1 : v + 0.02, c.alphaF() * 0.8));
        }
    }
    return img;
}

enum class ToolState { Off, On, Pressed, Disabled };

QImage toolButton(const std::function<void(QPainter&)>& draw, ToolState s)
{
    QImage glyph = layer(32, 32);
    {
        QPainter g(&glyph);
        smooth(g);
        draw(g);
    }
    QImage img = canvas(44, 45, pal::chrome);
    QPainter p(&img);
    smooth(p);
    const QRectF box(1.5, 1.5, 41, 42);
    if (s == ToolState::On) {
        p.setPen(QPen(QColor(0x6a, 0x9f, 0xe0), 1));
        p.setBrush(vgrad(1, 44, QColor(0xfb, 0xfd, 0xff), QColor(0xcc, 0xe1, 0xfa)));
        p.drawRoundedRect(box, 5, 5);
    } else if (s == ToolState::Pressed) {
        p.setPen(QPen(QColor(0x2a, 0x5f, 0xaa), 1));
        p.setBrush(vgrad(1, 44, QColor(0x9d, 0xc0, 0xec), QColor(0xc9, 0xdd, 0xf6)));
        p.drawRoundedRect(box, 5, 5);
        // Shadow under the top edge: the button looks pushed in.
        p.setPen(QPen(QColor(0x5a, 0x85, 0xc0, 140), 1));
        p.drawLine(QPointF(5, 3), QPointF(39, 3));
    }
    const QPointF at = s == ToolState::Pressed ? QPointF(7, 7) : QPointF(6, 6);
    p.drawImage(at, s == ToolState::Disabled ? disabledGlyph(glyph) : glyph);
    p.end();
    return img;
}

void drawToolbar()
{
    struct Tool {
        const char* name;
        std::function<void(QPainter&)> draw;
        bool disabled;
    };
    const Tool tools[] = {
        {"about", glyphAbout, false},
        {"back", [](QPainter& p) { glyphArrow(p, false); }, true},
        {"close", glyphClose, false},
        {"forward", [](QPainter& p) { glyphArrow(p, true); }, true},
        {"home", glyphHome, false},
        {"mark", glyphMark, true},
        {"print", glyphPrint, false},
        {"report", glyphReport, false},
        {"save", glyphSave, true},
        {"setup", glyphSetup, false},
        {"trash", glyphTrash, false},
    };
    for (const Tool& t : tools) {
        const QString n = t.name;
        if (t.disabled) saveBmp(toolButton(t.draw, ToolState::Disabled), n + "_disabled.bmp");
        saveBmp(toolButton(t.draw, ToolState::Off), n + "_off.bmp");
        saveBmp(toolButton(t.draw, ToolState::On), n + "_on.bmp");
        saveBmp(toolButton(t.draw, ToolState::Pressed), n + "_pressed.bmp");
    }
}

// ---------------------------------------------------------------- tabs, buttons, strips

QPainterPath tabShape(bool closedBottom)
{
    QPainterPath s;
    s.moveTo(0.5, 24);
    s.lineTo(3.2, 4);
    s.quadTo(3.8, 0.5, 7.5, 0.5);
    s.lineTo(71.5, 0.5);
    s.quadTo(75.2, 0.5, 75.8, 4);
    s.lineTo(78.5, 24);
    if (closedBottom) s.closeSubpath();
    return s;
}

QImage tab(bool front, bool hover)
{
    QImage img = canvas(79, 24, pal::chrome);
    QPainter p(&img);
    smooth(p);
    QPainterPath shape = tabShape(true);
    p.setPen(Qt::NoPen);
    if (front)
        p.setBrush(vgrad(0, 24, Qt::white, pal::page));
    else if (hover)
        p.setBrush(vgrad(0, 24, QColor(0xf4, 0xf9, 0xff), QColor(0xd3, 0xe4, 0xf8)));
    else
        p.setBrush(vgrad(0, 24, QColor(0xe0, 0xe9, 0xf4), QColor(0xc4, 0xd3, 0xe6)));
    p.drawPath(shape);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pal::line, 1));
    p.drawPath(tabShape(false));
    if (!front) p.drawLine(QPointF(0, 23.5), QPointF(79, 23.5));
    if (hover) {
        // A coloured lip along the top marks the tab under the pointer.
        p.setClipPath(shape);
        p.fillRect(QRectF(0, 0, 79, 3), front ? QColor(0xf2, 0xa5, 0x2c) : pal::blueLight);
    }
    p.end();
    return img;
}

void drawTabs()
{
    saveBmp(tab(false, false), "tabs_back_off.bmp");
    saveBmp(tab(false, true), "tabs_back_on.bmp");
    saveBmp(tab(true, false), "tabs_front_off.bmp");
    saveBmp(tab(true, true), "tabs_front_on.bmp");
}

QImage loadButton(bool on)
{
    QImage img = canvas(35, 14, pal::page);
    QPainter p(&img);
    smooth(p);
    const QRectF r(0.5, 0.5, 34, 13);
    if (on) {
        p.setPen(QPen(QColor(0x1b, 0x4a, 0x8e), 1));
        p.setBrush(vgrad(0, 14, QColor(0x74, 0xac, 0xf0), QColor(0x23, 0x5e, 0xb4)));
    } else {
        p.setPen(QPen(QColor(0x7d, 0x93, 0xb2), 1));
        p.setBrush(vgrad(0, 14, QColor(0xfb, 0xfd, 0xff), QColor(0xcf, 0xdb, 0xea)));
    }
    p.drawRoundedRect(r, 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? QColor(Qt::white) : pal::blue);
    p.drawPolygon(QPolygonF({{14.5, 3.5}, {21.5, 7}, {14.5, 10.5}}));
    p.end();
    return img;
}

QImage plainButton(int state, int w = 80, int h = 25)
{
    QImage img = canvas(w, h, pal::page);
    QPainter p(&img);
    smooth(p);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    if (state == 0) {
        p.setPen(QPen(QColor(0x81, 0x97, 0xb5), 1));
        p.setBrush(vgrad(0, h, Qt::white, QColor(0xdb, 0xe4, 0xef)));
    } else if (state == 1) {
        p.setPen(QPen(QColor(0x35, 0x74, 0xc8), 1));
        p.setBrush(vgrad(0, h, QColor(0xf2, 0xf8, 0xff), QColor(0xb9, 0xd6, 0xf6)));
    } else {
        p.setPen(QPen(QColor(0x24, 0x55, 0x9c), 1));
        p.setBrush(vgrad(0, h, QColor(0x9e, 0xc1, 0xec), QColor(0xcd, 0xe0, 0xf7)));
    }
    p.drawRoundedRect(r, 5, 5);
    if (state != 2) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(5, 1.5), QPointF(w - 5, 1.5));
    }
    p.end();
    return img;
}

void drawButtons()
{
    saveBmp(loadButton(true), "loadbutton_on.bmp");
    saveBmp(loadButton(false), "loadbutton_off.bmp");
    saveBmp(plainButton(0), "button_off.bmp");
    saveBmp(plainButton(1), "button_on.bmp");
    saveBmp(plainButton(2), "button_pressed.bmp");
}

// ---------------------------------------------------------------- report card button

// The Report page's "Report card" button: the plain button's face, wider,
// with a small report card at its left; the page lays the caption over the
// rest. States: 0 off, 1 on (under the pointer), 2 pressed.
constexpr int kReportCardWidth = 124;
constexpr int kReportCardHeight = 30;

void glyphReportCard(QPainter& p)
{
    // A card 16 x 20 with a blue heading band, three lines of figures and a
    // rosette in its corner.
    p.setPen(QPen(QColor(0x6d, 0x7f, 0x98), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, 16, 20), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::blue);
    p.drawRect(QRectF(1, 1, 15, 4));
    p.setPen(pen(QColor(0x9f, 0xb3, 0xcc), 1.2));
    for (double y : {8.5, 11.5, 14.5}) p.drawLine(QPointF(3.5, y), QPointF(y < 14 ? 13.5 : 8.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc8, 0x32, 0x2a));
    p.drawPolygon(QPolygonF({{11.2, 17}, {10, 22.5}, {12.4, 21.2}, {13.2, 23.2}, {14.2, 17.6}}));
    p.drawPolygon(QPolygonF({{14.8, 17}, {16, 22.5}, {13.6, 21.2}, {12.8, 23.2}, {11.8, 17.6}}));
    QRadialGradient gold(QPointF(12.3, 14.6), 4);
    gold.setColorAt(0, QColor(0xff, 0xe0, 0x7a));
    gold.setColorAt(1, QColor(0xd9, 0x9a, 0x12));
    p.setPen(QPen(QColor(0x9a, 0x6a, 0x08), 0.8));
    p.setBrush(gold);
    p.drawEllipse(QPointF(13, 15.5), 3.3, 3.3);
}

QImage reportCardButton(int state)
{
    QImage img = plainButton(state, kReportCardWidth, kReportCardHeight);
    QPainter p(&img);
    smooth(p);
    // Pressed, the card sinks with the face.
    p.translate(state == 2 ? QPointF(10, 4) : QPointF(9, 3));
    glyphReportCard(p);
    p.end();
    return img;
}

void drawReportCardButton()
{
    saveBmp(reportCardButton(0), "reportcard_off.bmp");
    saveBmp(reportCardButton(1), "reportcard_on.bmp");
    saveBmp(reportCardButton(2), "reportcard_pressed.bmp");
}

QImage statusStrip(int w)
{
    QImage img = canvas(w, 25, pal::chrome);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, w, 25), vgrad(0, 25, QColor(0xf6, 0xf9, 0xfc), QColor(0xd8, 0xe1, 0xec)));
    p.setPen(QColor(0xb3, 0xc2, 0xd5));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(w - 1, 1, w - 1, 24);
    p.setPen(Qt::white);
    p.drawLine(0, 1, w - 2, 1);
    p.drawLine(0, 1, 0, 24);
    p.end();
    return img;
}

QImage columnHead(int w)
{
    QImage img = canvas(w, 24, pal::page);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, w, 24), vgrad(0, 24, QColor(0xe8, 0xf0, 0xfa), QColor(0xc6, 0xd8, 0xee)));
    p.setPen(Qt::white);
    p.drawLine(0, 0, w - 1, 0);
    p.setPen(pal::line);
    p.drawLine(0, 23, w - 1, 23);
    p.setPen(QColor(0x3f, 0x7d, 0xcf));
    p.drawLine(0, 1, 0, 22);
    p.drawLine(1, 1, 1, 22);
    p.end();
    return img;
}

void drawStrips()
{
    saveBmp(statusStrip(128), "status_strip1.bmp");
    saveBmp(statusStrip(120), "status_strip2.bmp");
    saveBmp(statusStrip(64), "status_strip3.bmp");
    saveBmp(statusStrip(200), "status_strip4.bmp");
    saveBmp(columnHead(250), "columnhead1.bmp");
    saveBmp(columnHead(330), "columnhead2.bmp");

    QImage bar = canvas(11, 19, QColor(0xd8, 0xe1, 0xec));
    {
        QPainter p(&bar);
        p.fillRect(QRect(0, 0, 10, 19), vgrad(0, 19, QColor(0x8c, 0xe0, 0x96), QColor(0x28, 0x8e, 0x3c)));
        p.setPen(QColor(0xc8, 0xf2, 0xcc));
        p.drawLine(0, 1, 9, 1);
        p.setPen(QColor(0x1d, 0x6a, 0x2c));
        p.drawLine(0, 18, 9, 18);
    }
    saveBmp(bar, "progressbar.bmp");

    QImage grip = canvas(8, 8, QColor(0xd8, 0xe1, 0xec));
    for (int y : {0, 3, 6})
        for (int x : {0, 3, 6})
            if (x + y >= 6) {
                grip.setPixelColor(x, y, QColor(0x7d, 0x90, 0xa8));
                grip.setPixelColor(x + 1, y, QColor(0x7d, 0x90, 0xa8));
                grip.setPixelColor(x, y + 1, QColor(0x7d, 0x90, 0xa8));
                grip.setPixelColor(x + 1, y + 1, Qt::white);
            }
    saveBmp(grip, "statusgrabber.bmp");

    QImage bullet = canvas(13, 11, pal::page);
    {
        QPainter p(&bullet);
        smooth(p);
        QRadialGradient g(QPointF(5, 4), 6);
        g.setColorAt(0, pal::blueLight.lighter(115));
        g.setColorAt(1, pal::blue);
        p.setPen(QPen(pal::blueDark, 0.8));
        p.setBrush(g);
        p.drawEllipse(QPointF(6.5, 5.5), 4.6, 4.6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{5.2, 3.2}, {8.8, 5.5}, {5.2, 7.8}}));
    }
    saveBmp(bullet, "bullet.bmp");

    QImage handle = canvas(6, 40, pal::cream);
    {
        QPainter p(&handle);
        smooth(p);
        p.setPen(QPen(QColor(0x87, 0x97, 0xad), 1));
        p.setBrush(vgrad(0, 40, QColor(0xe2, 0xe9, 0xf2), QColor(0xbf, 0xcc, 0xdc)));
        p.drawRoundedRect(QRectF(0.5, 0.5, 5, 39), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        for (int k = -1; k <= 1; ++k) {
            p.setBrush(QColor(0x5a, 0x6d, 0x86));
            p.drawEllipse(QPointF(3, 20 + 5 * k), 1, 1);
        }
    }
    saveBmp(handle, "Handle.bmp");

    QImage track = canvas(401, 17, pal::page);
    {
        QPainter p(&track);
        smooth(p);
        p.setPen(QPen(QColor(0x8d, 0x9f, 0xb6), 1));
        p.setBrush(vgrad(0, 17, QColor(0xe4, 0xea, 0xf1), Qt::white));
        p.drawRoundedRect(QRectF(0.5, 0.5, 400, 16), 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(vgrad(2, 15, QColor(0x8c, 0xe0, 0x96), QColor(0x28, 0x8e, 0x3c)));
        p.drawRoundedRect(QRectF(2, 2, 397, 13), 3, 3);
    }
    saveBmp(track, "bar.bmp");
}

// ---------------------------------------------------------------- pictures with a pencil

void pencil(QPainter& p, const QPointF& tip, double length, double width, double angleDeg)
{
    p.save();
    p.translate(tip);
    p.rotate(angleDeg);
    // Drawn along +x from the tip.
    const double cone = width * 1.5;
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -width / 2);
    wood.lineTo(cone, width / 2);
    wood.closeSubpath();
    p.setPen(QPen(QColor(0x7a, 0x5a, 0x32), 0.8));
    p.setBrush(QColor(0xf1, 0xd2, 0xa2));
    p.drawPath(wood);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x33, 0x33, 0x3a));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(cone * 0.38, -width * 0.19);
    lead.lineTo(cone * 0.38, width * 0.19);
    lead.closeSubpath();
    p.drawPath(lead);
    QLinearGradient body(0, -width / 2, 0, width / 2);
    body.setColorAt(0, QColor(0xff, 0xe0, 0x5a));
    body.setColorAt(0.5, QColor(0xf5, 0xb8, 0x1c));
    body.setColorAt(1, QColor(0xc9, 0x86, 0x0c));
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x08), 0.8));
    p.setBrush(body);
    const double bodyEnd = length - width * 1.4;
    p.drawRect(QRectF(cone, -width / 2, bodyEnd - cone, width));
    p.setBrush(vgrad(-width / 2, width / 2, QColor(0xd8, 0xdd, 0xe3), QColor(0x8a, 0x93, 0x9e)));
    p.setPen(QPen(QColor(0x5c, 0x64, 0x70), 0.8));
    p.drawRect(QRectF(bodyEnd, -width / 2, width * 0.6, width));
    p.setBrush(QColor(0xf0, 0x8a, 0x9a));
    p.setPen(QPen(QColor(0xa8, 0x4c, 0x5a), 0.8));
    p.drawRoundedRect(QRectF(bodyEnd + width * 0.6, -width / 2, width * 0.8, width), width * 0.3, width * 0.3);
    p.restore();
}

void drawPen()
{
    QImage img = canvas(117, 41, pal::chrome);
    QPainter p(&img);
    smooth(p);
    p.setPen(QPen(QColor(0x9f, 0xb2, 0xca), 1));
    p.setBrush(vgrad(0, 41, Qt::white, QColor(0xe2, 0xea, 0xf5)));
    p.drawRoundedRect(QRectF(0.5, 0.5, 116, 40), 6, 6);
    sheet(p, QRectF(6.5, 6.5, 22, 28));
    p.setPen(pen(QColor(0xc3, 0xcd, 0xda), 1.2));
    for (double y : {14.0, 19.0, 24.0}) p.drawLine(QPointF(10, y), QPointF(25, y));
    pencil(p, QPointF(14, 31), 30, 6, -50);
    p.setPen(QPen(QColor(0xb7, 0xc6, 0xd9), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(42.5, 6.5, 68, 28), 4, 4);
    p.end();
    saveBmp(img, "pen.bmp");
}

// ---------------------------------------------------------------- icons and GIF pictures

QImage programIcon(int size)
{
    // The 16-pixel icon leaves its right edge clear: the title text starts
    // just after it.
    QImage img = layer(size, size);
    QPainter p(&img);
    smooth(p);
    const double s = size / 16.0;
    const QRectF r = size == 16 ? QRectF(1, 1, 13.5, 13.5) : QRectF(1.5 * s, 1.5 * s, 13 * s, 13 * s);
    p.setPen(QPen(pal::blueDark, size == 16 ? 1 : 1.5));
    p.setBrush(vgrad(r.top(), r.bottom(), pal::blueLight, pal::blue.darker(115)));
    p.drawRoundedRect(r, 3 * s, 3 * s);
    QPainterPath tick;
    tick.moveTo(r.left() + r.width() * 0.22, r.top() + r.height() * 0.52);
    tick.lineTo(r.left() + r.width() * 0.43, r.top() + r.height() * 0.74);
    tick.lineTo(r.left() + r.width() * 0.80, r.top() + r.height() * 0.27);
    p.setPen(pen(Qt::white, size == 16 ? 2.0 : 2.1 * s));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.end();
    return img;
}

QImage pencilIcon(int size)
{
    QImage img = layer(size, size);
    QPainter p(&img);
    smooth(p);
    const double s = size / 16.0;
    pencil(p, QPointF(1.5 * s, 14.5 * s), 18 * s, 4.4 * s, -45);
    p.end();
    return img;
}

QImage handIcon(int size)
{
    QImage img = layer(size, size);
    QPainter p(&img);
    smooth(p);
    p.scale(size / 32.0, size / 32.0);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(11, 2, 5.5, 17), 2.75, 2.75);  // pointing finger
    hand.addRoundedRect(QRectF(9, 14, 16, 15), 4, 4);       // palm
    hand.addRoundedRect(QRectF(16, 11.5, 4.5, 8), 2.2, 2.2);
    hand.addRoundedRect(QRectF(20, 12.5, 4.5, 8), 2.2, 2.2);
    hand.addRoundedRect(QRectF(4.5, 15, 7, 4.5), 2.2, 2.2);  // thumb
    hand.setFillRule(Qt::WindingFill);
    hand = hand.simplified();
    p.setPen(QPen(QColor(0x3a, 0x2a, 0x1a), 1.3));
    p.setBrush(vgrad(2, 29, QColor(0xff, 0xe6, 0xcc), QColor(0xe8, 0xb8, 0x8a)));
    p.drawPath(hand);
    p.end();
    return img;
}

QImage infoMark()
{
    QImage img = canvas(32, 27, pal::page);
    QPainter p(&img);
    smooth(p);
    QRadialGradient g(QPointF(13, 9), 16);
    g.setColorAt(0, QColor(0x7c, 0xb4, 0xf4));
    g.setColorAt(1, QColor(0x1f, 0x5a, 0xb0));
    p.setPen(QPen(pal::blueDark, 1.2));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 13.5), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(3, 13, QColor(255, 255, 255, 110), QColor(255, 255, 255, 0)));
    p.drawEllipse(QRectF(8, 3, 16, 10));
    QPainterPath tick;
    tick.moveTo(10, 13.8);
    tick.lineTo(14.4, 18.4);
    tick.lineTo(22.2, 8.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(Qt::white, 3.2));
    p.drawPath(tick);
    p.end();
    return img;
}

QImage logo()
{
    QImage img = canvas(220, 64, pal::page);
    QPainter p(&img);
    smooth(p);
    const QRectF emblem(4.5, 4.5, 55, 55);
    p.setPen(QPen(pal::blueDark, 1.2));
    p.setBrush(vgrad(4, 60, pal::blueLight, pal::blue.darker(120)));
    p.drawRoundedRect(emblem, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(vgrad(5, 30, QColor(255, 255, 255, 90), QColor(255, 255, 255, 0)));
    p.drawRoundedRect(QRectF(8, 7, 49, 24), 10, 10);
    // An "M" drawn as a graph that ends in a tick.
    QPainterPath m;
    m.moveTo(15, 45);
    m.lineTo(15, 20);
    m.lineTo(27, 36);
    m.lineTo(39, 20);
    m.lineTo(39, 34);
    m.lineTo(44, 40);
    m.lineTo(54, 22);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(0x0f, 0x2f, 0x60, 120), 6.5));
    p.translate(0.8, 1.2);
    p.drawPath(m);
    p.translate(-0.8, -1.2);
    p.setPen(pen(Qt::white, 5.5));
    p.drawPath(m);
    QFont f("DejaVu Sans");
    f.setPixelSize(29);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1c, 0x4b, 0x8f));
    p.drawText(QRectF(68, 4, 152, 38), Qt::AlignLeft | Qt::AlignVCenter, "Marlowin");
    QFont s("DejaVu Sans");
    s.setPixelSize(12);
    p.setFont(s);
    p.setPen(QColor(0x5a, 0x6a, 0x80));
    p.drawText(QRectF(70, 40, 150, 18), Qt::AlignLeft | Qt::AlignVCenter, "Maths exam practice");
    p.end();
    return img;
}

QImage instruction()
{
    QImage img = canvas(210, 64, pal::page);
    QPainter p(&img);
    smooth(p);
    p.setPen(QPen(QColor(0xe0, 0xb4, 0x4a), 1));
    p.setBrush(vgrad(0, 64, QColor(0xff, 0xfa, 0xe6), QColor(0xfb, 0xef, 0xc6)));
    p.drawRoundedRect(QRectF(0.5, 0.5, 209, 63), 6, 6);
    QFont b("Liberation Sans");
    b.setPixelSize(12);
    b.setBold(true);
    QFont n("Liberation Sans");
    n.setPixelSize(12);
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(12);
    mono.setBold(true);
    auto row = [&](double y, const QString& label, const QString& example, const QString& note) {
        p.setFont(n);
        p.setPen(QColor(0x4a, 0x3a, 0x10));
        p.drawText(QPointF(10, y), label);
        const double x = 10 + QFontMetricsF(n).horizontalAdvance(label) + 4;
        p.setFont(mono);
        p.setPen(QColor(0x1c, 0x4b, 0x8f));
        p.drawText(QPointF(x, y), example);
        p.setFont(n);
        p.setPen(QColor(0x4a, 0x3a, 0x10));
        p.drawText(QPointF(x + QFontMetricsF(mono).horizontalAdvance(example) + 4, y), note);
    };
    p.setFont(b);
    p.setPen(QColor(0x8a, 0x5a, 0x08));
    p.drawText(QPointF(10, 17), "How to type your answer");
    row(36, "Fraction:", "3/4", "");
    row(54, "Mixed number:", "2 3/4", "(space first)");
    p.end();
    return img;
}

void drawIcons()
{
    for (int size : {16, 32, 48}) {
        savePng(programIcon(size), QString("MWicon-%1.png").arg(size));
        savePng(pencilIcon(size), QString("pencil-%1.png").arg(size));
        savePng(handIcon(size), QString("hand-%1.png").arg(size));
    }
    savePng(infoMark(), "info_mark.png");
    savePng(logo(), "Logo.png");
    savePng(instruction(), "instruction.png");
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: drawskin OUTPUT_FOLDER PNG_FOLDER\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    g_png = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    QDir().mkpath(g_png);
    drawToolbar();
    drawTabs();
    drawFrames();
    drawTitleButtons();
    drawButtons();
    drawReportCardButton();
    drawStrips();
    drawPen();
    drawIcons();
    std::printf("%d BMP pictures written\n", g_written);
    return 0;
}
