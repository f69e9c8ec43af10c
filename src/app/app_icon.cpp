#include "app_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

void paintAppIcon(QPainter& p, qreal size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Every coordinate below is on the 32 x 32 grid the icon was designed on; line widths
    // scale with it, so the icon looks the same at every size.
    p.scale(size / 32.0, size / 32.0);
    const QPen outline(QColor(40, 40, 40), 1);

    // The grey ledger at the bottom.
    p.setPen(outline);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(2.5, 25.5, 27, 5));
    p.setPen(QPen(QColor(210, 210, 210), 1));
    p.drawLine(QPointF(4, 28), QPointF(28, 28));

    // The stack of green notes on it.
    for (int i = 0; i < 3; ++i) {
        p.setPen(outline);
        p.setBrush(i % 2 ? QColor(60, 150, 70) : QColor(90, 180, 90));
        p.drawRect(QRectF(3.5 + i, 21.5 - 2 * i, 25 - 2 * i, 4));
    }

    // The bag: a round body, a tied neck and a flared top.
    QPainterPath bag;
    bag.moveTo(12, 8);
    bag.cubicTo(4, 12, 5, 22, 9, 22);
    bag.lineTo(23, 22);
    bag.cubicTo(27, 22, 28, 12, 20, 8);
    bag.closeSubpath();
    p.setPen(outline);
    p.setBrush(QColor(196, 160, 100));
    p.drawPath(bag);
    QPainterPath top;
    top.moveTo(12, 8);
    top.lineTo(9, 2);
    top.lineTo(16, 4.5);
    top.lineTo(23, 2);
    top.lineTo(20, 8);
    top.closeSubpath();
    p.drawPath(top);
    p.setPen(QPen(QColor(120, 80, 30), 1.5));
    p.drawLine(QPointF(11.5, 8), QPointF(20.5, 8));

    // The dollar sign, drawn as strokes.
    p.setPen(QPen(QColor(20, 90, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath s;
    s.moveTo(19, 11.5);
    s.cubicTo(17, 9.5, 12.5, 10.5, 13.5, 13);
    s.cubicTo(14.5, 15, 19.5, 14.5, 19, 17.5);
    s.cubicTo(18.5, 20, 14, 20, 12.8, 18);
    p.drawPath(s);
    p.drawLine(QPointF(16, 9.5), QPointF(16, 20.5));
    p.restore();
}

QImage appIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintAppIcon(p, size);
    return image;
}

namespace {

// Draws the icon afresh at whatever size the window system or a style asks for, so that no
// bitmap is ever scaled up and a window costs nothing until its icon is shown.
class AppIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(rect.width(), rect.height());
        painter->save();
        painter->translate(rect.x() + (rect.width() - side) / 2.0,
                           rect.y() + (rect.height() - side) / 2.0);
        paintAppIcon(*painter, side);
        painter->restore();
    }
    QIconEngine* clone() const override { return new AppIconEngine; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : appIconSizes())
            sizes.append(QSize(size, size));
        return sizes;
    }
    QString key() const override { return QStringLiteral("qm415-app-icon"); }
};

} // namespace

QIcon appIcon() { return QIcon(new AppIconEngine); }
