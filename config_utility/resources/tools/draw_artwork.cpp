// Draws the utility's pictures: the left panels of the pages, the three
// picture buttons of the main menu and the program icon.
//   vessor-usb-artwork OUTPUT_DIR
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor NAVY(0x12, 0x3a, 0x5c);
const QColor TEAL(0x1f, 0x7a, 0x9c);
const QColor SKY(0x6c, 0xb8, 0xd8);
const QColor RED(0xd6, 0x3a, 0x2f);
const QColor AMBER(0xf2, 0xa9, 0x1d);
const QColor GREEN(0x3a, 0xa8, 0x5a);
const QColor SHELL(0xf4, 0xf6, 0xf8);
const QColor SHELL_EDGE(0x9a, 0xa7, 0xb3);

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The logger itself: a white case with a USB plug on top, a small display and
// a status light.
void drawLogger(QPainter& p, const QRectF& r, const QString& reading = QStringLiteral("21.5"))
{
    p.save();
    const qreal w = r.width();
    const QRectF plug(r.center().x() - w * 0.22, r.top(), w * 0.44, r.height() * 0.13);
    p.setPen(QPen(SHELL_EDGE.darker(130), w * 0.02));
    p.setBrush(QColor(0xc8, 0xcd, 0xd2));
    p.drawRect(plug);
    p.setBrush(QColor(0x70, 0x78, 0x80));
    const qreal slot = plug.width() * 0.18;
    p.drawRect(QRectF(plug.left() + plug.width() * 0.2, plug.top() + plug.height() * 0.3, slot, slot));
    p.drawRect(QRectF(plug.right() - plug.width() * 0.2 - slot, plug.top() + plug.height() * 0.3, slot, slot));

    const QRectF body(r.left(), plug.bottom(), w, r.height() - plug.height());
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0, SHELL);
    shade.setColorAt(1, QColor(0xd9, 0xdf, 0xe5));
    p.setBrush(shade);
    p.setPen(QPen(SHELL_EDGE, w * 0.025));
    p.drawRoundedRect(body, w * 0.18, w * 0.18);

    const QRectF lcd(body.left() + w * 0.14, body.top() + body.height() * 0.16, w * 0.72, body.height() * 0.2);
    p.setPen(QPen(QColor(0x4a, 0x55, 0x5e), w * 0.02));
    p.setBrush(QColor(0xb9, 0xd3, 0xa6));
    p.drawRoundedRect(lcd, w * 0.04, w * 0.04);
    if (!reading.isEmpty()) {
        QFont f(QStringLiteral("DejaVu Sans Mono"));
        f.setPixelSize(int(lcd.height() * 0.7));
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x23, 0x33, 0x22));
        p.drawText(lcd, Qt::AlignCenter, reading);
    }

    p.setPen(Qt::NoPen);
    p.setBrush(GREEN);
    p.drawEllipse(QPointF(body.left() + w * 0.25, body.top() + body.height() * 0.5), w * 0.06, w * 0.06);
    p.setBrush(RED);
    p.drawEllipse(QPointF(body.left() + w * 0.45, body.top() + body.height() * 0.5), w * 0.06, w * 0.06);
    // The push button.
    p.setBrush(QColor(0x3d, 0x4a, 0x57));
    p.drawEllipse(QPointF(body.center().x(), body.top() + body.height() * 0.75), w * 0.12, w * 0.12);
    p.restore();
}

void drawThermometer(QPainter& p, const QPointF& bulbCentre, qreal height, const QColor& fluid = RED)
{
    p.save();
    const qreal bulb = height * 0.16;
    const qreal tube = bulb * 0.55;
    QPainterPath glass;
    glass.addRoundedRect(QRectF(bulbCentre.x() - tube / 2 - 2, bulbCentre.y() - height, tube + 4, height), tube, tube);
    glass.addEllipse(bulbCentre, bulb + 2, bulb + 2);
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 2));
    p.setBrush(Qt::white);
    p.drawPath(glass.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(fluid);
    p.drawEllipse(bulbCentre, bulb - 2, bulb - 2);
    p.drawRoundedRect(QRectF(bulbCentre.x() - tube / 2 + 2, bulbCentre.y() - height * 0.62, tube - 4, height * 0.62),
                      tube / 3, tube / 3);
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 1.5));
    for (int i = 1; i <= 6; ++i) {
        const qreal y = bulbCentre.y() - bulb - i * (height - bulb * 2) / 7;
        p.drawLine(QPointF(bulbCentre.x() + tube / 2 + 4, y), QPointF(bulbCentre.x() + tube / 2 + (i % 2 ? 9 : 13), y));
    }
    p.restore();
}

// A panel meter, as on a voltage or current logger's alarm page: a case with
// an arc scale whose top end is the alarm zone, and the needle in it.
void drawMeter(QPainter& p, const QRectF& r)
{
    p.save();
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, SHELL);
    shade.setColorAt(1, QColor(0xd9, 0xdf, 0xe5));
    p.setPen(QPen(SHELL_EDGE, 2.5));
    p.setBrush(shade);
    p.drawRoundedRect(r, r.width() * 0.1, r.width() * 0.1);

    const QRectF face =
        r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.3);
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(face, 4, 4);

    // The scale: an arc of 100 degrees about a pivot below the face.
    const QPointF pivot(face.center().x(), face.bottom() - face.height() * 0.08);
    const qreal radius = face.height() * 0.78;
    const QRectF arc(pivot.x() - radius, pivot.y() - radius, radius * 2, radius * 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 1.5));
    p.drawArc(arc, 40 * 16, 100 * 16);
    p.setPen(QPen(RED, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc.adjusted(4, 4, -4, -4), 40 * 16, 22 * 16);
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 1.5));
    for (int i = 0; i <= 10; ++i) {
        const qreal a = (140 - i * 10) * M_PI / 180;
        const qreal inner = radius * (i % 5 == 0 ? 0.8 : 0.88);
        p.drawLine(QPointF(pivot.x() + inner * std::cos(a), pivot.y() - inner * std::sin(a)),
                   QPointF(pivot.x() + radius * std::cos(a), pivot.y() - radius * std::sin(a)));
    }
    // The needle, into the alarm zone.
    const qreal needle = 52 * M_PI / 180;
    p.setPen(QPen(NAVY, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, QPointF(pivot.x() + radius * 0.92 * std::cos(needle),
                              pivot.y() - radius * 0.92 * std::sin(needle)));
    p.setPen(Qt::NoPen);
    p.setBrush(NAVY);
    p.drawEllipse(pivot, 4, 4);

    // Two input terminals under the face.
    const qreal y = r.bottom() - r.height() * 0.15;
    p.setPen(QPen(QColor(0x3d, 0x4a, 0x57), 1.5));
    p.setBrush(RED);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.3, y), r.width() * 0.07, r.width() * 0.07);
    p.setBrush(QColor(0x3d, 0x4a, 0x57));
    p.drawEllipse(QPointF(r.right() - r.width() * 0.3, y), r.width() * 0.07, r.width() * 0.07);
    p.restore();
}

// A cloud of gas with its formula in it (the carbon monoxide loggers).
void drawGasCloud(QPainter& p, const QPointF& c, qreal size, const QString& formula)
{
    p.save();
    QPainterPath cloud;
    cloud.addEllipse(QPointF(c.x() - size * 0.28, c.y() + size * 0.05), size * 0.26, size * 0.22);
    cloud.addEllipse(QPointF(c.x(), c.y() - size * 0.1), size * 0.3, size * 0.28);
    cloud.addEllipse(QPointF(c.x() + size * 0.28, c.y() + size * 0.03), size * 0.25, size * 0.22);
    cloud.addRoundedRect(QRectF(c.x() - size * 0.5, c.y(), size, size * 0.26), size * 0.13,
                         size * 0.13);
    cloud.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(255, 255, 255, 200), 2.5));
    p.setBrush(QColor(0x9a, 0xa7, 0xb3, 220));
    p.drawPath(cloud.simplified());
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(size * 0.3));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(c.x() - size * 0.5, c.y() - size * 0.25, size, size * 0.45), Qt::AlignCenter,
               formula);
    p.restore();
}

void drawGear(QPainter& p, const QPointF& c, qreal radius, const QColor& colour)
{
    p.save();
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * M_PI / teeth, a1 = (i + 0.5) * M_PI / teeth;
        const qreal r = (i % 2 == 0) ? radius : radius * 0.78;
        const QPointF pa(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
        const QPointF pb(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
        if (i == 0)
            gear.moveTo(pa);
        else
            gear.lineTo(pa);
        gear.lineTo(pb);
    }
    gear.closeSubpath();
    gear.addEllipse(c, radius * 0.32, radius * 0.32);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(colour.darker(140), 1.5));
    p.setBrush(colour);
    p.drawPath(gear);
    p.restore();
}

void drawBell(QPainter& p, const QPointF& c, qreal size)
{
    p.save();
    QPainterPath bell;
    bell.moveTo(c.x() - size * 0.45, c.y() + size * 0.3);
    bell.cubicTo(c.x() - size * 0.3, c.y() + size * 0.1, c.x() - size * 0.38, c.y() - size * 0.5,
                 c.x(), c.y() - size * 0.5);
    bell.cubicTo(c.x() + size * 0.38, c.y() - size * 0.5, c.x() + size * 0.3, c.y() + size * 0.1,
                 c.x() + size * 0.45, c.y() + size * 0.3);
    bell.closeSubpath();
    p.setPen(QPen(AMBER.darker(150), 2));
    p.setBrush(AMBER);
    p.drawPath(bell);
    p.drawEllipse(QPointF(c.x(), c.y() + size * 0.38), size * 0.1, size * 0.1);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - size * 0.75, c.y() - size * 0.6, size * 1.5, size * 1.2), 20 * 16, 40 * 16);
    p.drawArc(QRectF(c.x() - size * 0.75, c.y() - size * 0.6, size * 1.5, size * 1.2), 120 * 16, 40 * 16);
    p.restore();
}

void drawClock(QPainter& p, const QPointF& c, qreal radius)
{
    p.save();
    p.setPen(QPen(NAVY, radius * 0.1));
    p.setBrush(Qt::white);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(NAVY, radius * 0.05));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        p.drawLine(QPointF(c.x() + radius * 0.78 * std::cos(a), c.y() + radius * 0.78 * std::sin(a)),
                   QPointF(c.x() + radius * 0.9 * std::cos(a), c.y() + radius * 0.9 * std::sin(a)));
    }
    p.setPen(QPen(NAVY, radius * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(c.x(), c.y() - radius * 0.6));
    p.drawLine(c, QPointF(c.x() + radius * 0.45, c.y() + radius * 0.1));
    p.setPen(Qt::NoPen);
    p.setBrush(RED);
    p.drawEllipse(c, radius * 0.08, radius * 0.08);
    p.restore();
}

// A small line chart with a rising and falling trace.
void drawChart(QPainter& p, const QRectF& r, bool framed)
{
    p.save();
    if (framed) {
        p.setPen(QPen(SHELL_EDGE, 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(r, 4, 4);
    }
    const QRectF plot = r.adjusted(r.width() * 0.12, r.height() * 0.12, -r.width() * 0.08, -r.height() * 0.16);
    p.setPen(QPen(QColor(0xdd, 0xe3, 0xe8), 1));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(plot.left(), plot.top() + i * plot.height() / 4), QPointF(plot.right(), plot.top() + i * plot.height() / 4));
    p.setPen(QPen(QColor(0x55, 0x60, 0x6a), 1.5));
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    QPainterPath trace, trace2;
    for (int i = 0; i <= 40; ++i) {
        const qreal t = i / 40.0;
        const QPointF a(plot.left() + t * plot.width(),
                        plot.center().y() - plot.height() * (0.3 * std::sin(t * 6.0) + 0.1 * std::sin(t * 17)));
        const QPointF b(plot.left() + t * plot.width(),
                        plot.center().y() + plot.height() * (0.22 + 0.12 * std::cos(t * 5.0)));
        if (i == 0) {
            trace.moveTo(a);
            trace2.moveTo(b);
        } else {
            trace.lineTo(a);
            trace2.lineTo(b);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(RED, std::max<qreal>(1.5, r.width() * 0.025)));
    p.drawPath(trace);
    p.setPen(QPen(TEAL, std::max<qreal>(1.5, r.width() * 0.025)));
    p.drawPath(trace2);
    p.setPen(QPen(AMBER, 1.2, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), plot.top() + plot.height() * 0.12), QPointF(plot.right(), plot.top() + plot.height() * 0.12));
    p.restore();
}

void drawArrowDown(QPainter& p, const QPointF& tip, qreal size, const QColor& colour)
{
    p.save();
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip.x() - size * 0.5, tip.y() - size * 0.45);
    arrow.lineTo(tip.x() - size * 0.2, tip.y() - size * 0.45);
    arrow.lineTo(tip.x() - size * 0.2, tip.y() - size);
    arrow.lineTo(tip.x() + size * 0.2, tip.y() - size);
    arrow.lineTo(tip.x() + size * 0.2, tip.y() - size * 0.45);
    arrow.lineTo(tip.x() + size * 0.5, tip.y() - size * 0.45);
    arrow.closeSubpath();
    p.setPen(QPen(colour.darker(140), 1.5));
    p.setBrush(colour);
    p.drawPath(arrow);
    p.restore();
}

void drawStopBadge(QPainter& p, const QPointF& c, qreal radius)
{
    p.save();
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const qreal a = (i + 0.5) * M_PI / 4;
        octagon << QPointF(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
    }
    p.setPen(QPen(Qt::white, radius * 0.12));
    p.setBrush(RED);
    p.drawPolygon(octagon);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(c.x() - radius * 0.35, c.y() - radius * 0.35, radius * 0.7, radius * 0.7));
    p.restore();
}

void drawInfoBadge(QPainter& p, const QPointF& c, qreal radius)
{
    p.save();
    p.setPen(QPen(Qt::white, radius * 0.12));
    p.setBrush(TEAL);
    p.drawEllipse(c, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c.x(), c.y() - radius * 0.45), radius * 0.13, radius * 0.13);
    p.drawRoundedRect(QRectF(c.x() - radius * 0.11, c.y() - radius * 0.2, radius * 0.22, radius * 0.75), 2, 2);
    p.restore();
}

void drawShield(QPainter& p, const QPointF& c, qreal size)
{
    p.save();
    QPainterPath shield;
    shield.moveTo(c.x(), c.y() - size * 0.55);
    shield.lineTo(c.x() + size * 0.45, c.y() - size * 0.38);
    shield.cubicTo(c.x() + size * 0.45, c.y() + size * 0.1, c.x() + size * 0.25, c.y() + size * 0.4,
                   c.x(), c.y() + size * 0.55);
    shield.cubicTo(c.x() - size * 0.25, c.y() + size * 0.4, c.x() - size * 0.45, c.y() + size * 0.1,
                   c.x() - size * 0.45, c.y() - size * 0.38);
    shield.closeSubpath();
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(GREEN);
    p.drawPath(shield);
    p.setPen(QPen(Qt::white, size * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(c.x() - size * 0.2, c.y());
    tick.lineTo(c.x() - size * 0.04, c.y() + size * 0.17);
    tick.lineTo(c.x() + size * 0.22, c.y() - size * 0.15);
    p.drawPath(tick);
    p.restore();
}

// Pulses of an event input.
void drawPulses(QPainter& p, const QRectF& r)
{
    p.save();
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPainterPath wave;
    const qreal low = r.bottom(), high = r.top();
    const qreal step = r.width() / 9;
    wave.moveTo(r.left(), low);
    const int pattern[] = {0, 1, 1, 0, 1, 0, 0, 1, 0};
    for (int i = 0; i < 9; ++i) {
        const qreal y = pattern[i] ? high : low;
        wave.lineTo(r.left() + i * step, y);
        wave.lineTo(r.left() + (i + 1) * step, y);
    }
    p.drawPath(wave);
    p.restore();
}

// A left panel: a deep blue gradient with a faint trace across the bottom and
// the page's motif drawn by `motif` in the upper part.
QImage panel(const std::function<void(QPainter&)>& motif)
{
    const int w = 160, h = 400;
    QImage image = blank(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, TEAL);
    bg.setColorAt(1, NAVY);
    p.fillRect(image.rect(), bg);

    // A faint grid and recorded trace in the lower third.
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int y = 260; y < h; y += 20)
        p.drawLine(0, y, w, y);
    for (int x = 10; x < w; x += 20)
        p.drawLine(x, 260, x, h);
    QPainterPath trace;
    for (int x = 0; x <= w; x += 2) {
        const qreal y = 330 - 28 * std::sin(x / 22.0) - 10 * std::sin(x / 7.0);
        if (x == 0)
            trace.moveTo(x, y);
        else
            trace.lineTo(x, y);
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    p.drawPath(trace);
    // A thin light edge on the right separates the panel from the page.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawLine(w - 1, 0, w - 1, h);

    motif(p);
    return image;
}

// A picture button face: a rounded tile with the motif.
QImage buttonFace(const std::function<void(QPainter&)>& motif)
{
    const int s = 64;
    QImage image = blank(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, s);
    bg.setColorAt(0, QColor(0xe9, 0xf3, 0xf8));
    bg.setColorAt(1, QColor(0xc6, 0xdd, 0xea));
    p.setPen(QPen(SKY.darker(130), 1.5));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(1, 1, s - 2, s - 2), 10, 10);
    motif(p);
    return image;
}

QImage icon(int s)
{
    QImage image = blank(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s / 256.0, s / 256.0);
    QLinearGradient bg(0, 0, 0, 256);
    bg.setColorAt(0, TEAL);
    bg.setColorAt(1, NAVY);
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
    drawLogger(p, QRectF(36, 28, 112, 200), QStringLiteral("21"));
    drawThermometer(p, QPointF(192, 196), 150);
    return image;
}

bool save(const QImage& image, const QDir& dir, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vessor-usb-artwork OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(30, 40, 70, 150));
                   drawThermometer(p, QPointF(122, 200), 140);
               }),
               out, "panel-main.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(40, 40, 80, 170));
                   drawInfoBadge(p, QPointF(112, 196), 24);
               }),
               out, "panel-status.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(40, 40, 80, 170));
                   drawGear(p, QPointF(114, 196), 28, SKY);
               }),
               out, "panel-setup.png");
    ok &= save(panel([](QPainter& p) {
                   drawThermometer(p, QPointF(64, 210), 160);
                   drawBell(p, QPointF(112, 90), 56);
               }),
               out, "panel-alarms.png");
    ok &= save(panel([](QPainter& p) {
                   drawMeter(p, QRectF(18, 128, 124, 120));
                   drawBell(p, QPointF(112, 90), 56);
               }),
               out, "panel-alarms-meter.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(14, 66, 58, 130), QStringLiteral("35"));
                   drawGasCloud(p, QPointF(94, 214), 96, QStringLiteral("CO"));
                   drawBell(p, QPointF(116, 90), 50);
               }),
               out, "panel-alarms-gas.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(28, 40, 70, 150));
                   drawClock(p, QPointF(110, 190), 32);
               }),
               out, "panel-start.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(40, 40, 80, 170), QStringLiteral("CO"));
                   drawShield(p, QPointF(112, 196), 56);
               }),
               out, "panel-disclaimer.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(40, 40, 80, 170), QStringLiteral("0123"));
                   drawPulses(p, QRectF(20, 222, 120, 24));
               }),
               out, "panel-event.png");
    ok &= save(panel([](QPainter& p) {
                   drawLogger(p, QRectF(45, 30, 70, 130));
                   drawArrowDown(p, QPointF(80, 200), 36, SKY);
                   drawChart(p, QRectF(24, 206, 112, 50), true);
               }),
               out, "panel-download.png");

    ok &= save(buttonFace([](QPainter& p) {
                   drawLogger(p, QRectF(10, 8, 28, 50), QString());
                   drawGear(p, QPointF(44, 42), 14, TEAL);
               }),
               out, "button-setup.png");
    ok &= save(buttonFace([](QPainter& p) {
                   drawLogger(p, QRectF(8, 8, 28, 50), QString());
                   drawStopBadge(p, QPointF(44, 22), 11);
                   drawArrowDown(p, QPointF(46, 58), 22, TEAL);
               }),
               out, "button-stop.png");
    ok &= save(buttonFace([](QPainter& p) { drawChart(p, QRectF(7, 10, 50, 44), true); }),
               out, "button-graph.png");

    ok &= save(icon(256), out, "vessor-usb.png");
    ok &= save(icon(48), out, "vessor-usb-48.png");
    return ok ? 0 : 1;
}
