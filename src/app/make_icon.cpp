// Draws the program's icon and writes it for the desktop's icon theme, every bitmap size and the
// scalable drawing, and the same bitmaps unpacked for the program to build in, with their list:
// make_icon <hicolor folder> <icon name> <resource list>
#include "app_icon.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <cstdio>

namespace {

// A money bag marked with a dollar sign over a stack of green notes and a grey ledger, drawn as
// vectors on a 32 x 32 grid, without any font, so that the same drawing makes every bitmap size
// and the scalable SVG.
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

bool writeSvg(const QString& file)
{
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRectF(0, 0, 32, 32));
    // The generator writes its size in millimetres: at 96 dpi that is 32 CSS pixels.
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Form QM-415"));
    svg.setDescription(QStringLiteral("A money bag over a stack of notes and a ledger"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    paintAppIcon(p, 32);
    return p.end();
}

// The bitmaps the program is built with, each as :/icons/<size>.argb: the image's own pixels,
// premultiplied ARGB in the machine's byte order, which the program hands on as they are.
bool writeResources(const QString& list, const QList<QImage>& bitmaps)
{
    const QFileInfo info(list);
    const QDir folder = info.absoluteDir();
    const QString subfolder = info.completeBaseName();
    if (!folder.mkpath(subfolder))
        return false;
    QString text = QStringLiteral("<RCC>\n  <qresource prefix=\"/icons\">\n");
    for (const QImage& bitmap : bitmaps) {
        const QString name = QStringLiteral("%1.argb").arg(bitmap.width());
        QFile raw(folder.filePath(subfolder + QLatin1Char('/') + name));
        if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            raw.write(reinterpret_cast<const char*>(bitmap.constBits()), bitmap.sizeInBytes()) !=
                bitmap.sizeInBytes() ||
            !raw.flush())
            return false;
        text += QStringLiteral("    <file alias=\"%1\">%2/%1</file>\n").arg(name, subfolder);
    }
    text += QStringLiteral("  </qresource>\n</RCC>\n");
    QFile out(list);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) &&
           out.write(text.toUtf8()) >= 0 && out.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <hicolor folder> <icon name> <resource list>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    QList<QImage> bitmaps;
    for (int size : appIconSizes()) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = root.filePath(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        bitmaps.append(appIconImage(size));
        if (!root.mkpath(dir) || !bitmaps.last().save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    const QString file = root.filePath(QStringLiteral("scalable/apps/") + name + ".svg");
    if (!root.mkpath(QStringLiteral("scalable/apps")) || !writeSvg(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    const QString list = QString::fromLocal8Bit(argv[3]);
    if (!writeResources(list, bitmaps)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(list));
        return 1;
    }
    return 0;
}
