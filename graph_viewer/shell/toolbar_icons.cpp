#include "toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vessor::graph {

namespace {

constexpr int SIZE = 32;

void drawMagnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(4, 4, 17, 17));
    p.setPen(QPen(QColor(40, 40, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(QColor(20, 20, 20), 2.5));
    p.drawLine(QPointF(8, 12.5), QPointF(17, 12.5));
    if (plus)
        p.drawLine(QPointF(12.5, 8), QPointF(12.5, 17));
}

void drawRoundSign(QPainter& p, const QColor& fill, const QString& sign) {
    p.setPen(QPen(fill.darker(140), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(19);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, sign);
}

} // namespace

QIcon toolIcon(ToolIcon kind) {
    QPixmap pixmap(SIZE, SIZE);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ToolIcon::Open: {
        p.setPen(QPen(QColor(150, 110, 20), 1.5));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(3, 8, 22, 18));
        p.setBrush(QColor(252, 222, 120));
        QPainterPath flap;
        flap.moveTo(3, 26);
        flap.lineTo(9, 13);
        flap.lineTo(30, 13);
        flap.lineTo(25, 26);
        flap.closeSubpath();
        p.drawPath(flap);
        break;
    }
    case ToolIcon::ZoomIn:
        drawMagnifier(p, true);
        break;
    case ToolIcon::ZoomOut:
        drawMagnifier(p, false);
        break;
    case ToolIcon::Export: {
        p.setPen(QPen(QColor(30, 110, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 4, 24, 24));
        p.setPen(QPen(QColor(120, 170, 130), 1));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(4, 4 + 6 * i), QPointF(28, 4 + 6 * i));
            p.drawLine(QPointF(4 + 6 * i, 4), QPointF(4 + 6 * i, 28));
        }
        p.setPen(QPen(QColor(20, 120, 50), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 24), QPointF(14, 16));
        p.drawLine(QPointF(14, 16), QPointF(19, 20));
        p.drawLine(QPointF(19, 20), QPointF(26, 9));
        break;
    }
    case ToolIcon::Print:
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
        p.setPen(QPen(QColor(0, 160, 0), 2));
        p.drawPoint(QPointF(25, 16));
        break;
    case ToolIcon::About:
        drawRoundSign(p, QColor(40, 110, 200), QStringLiteral("i"));
        break;
    case ToolIcon::Help:
        drawRoundSign(p, QColor(60, 140, 60), QStringLiteral("?"));
        break;
    case ToolIcon::Close:
        p.setPen(QPen(QColor(190, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    case ToolIcon::Program:
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 2, 28, 28));
        p.setPen(QPen(QColor(255, 0, 0), 2.5));
        p.drawPolyline(QPolygonF({{4, 22}, {10, 14}, {16, 18}, {22, 8}, {28, 12}}));
        p.setPen(QPen(QColor(0, 0, 255), 2.5));
        p.drawPolyline(QPolygonF({{4, 27}, {12, 24}, {20, 26}, {28, 21}}));
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace vessor::graph
