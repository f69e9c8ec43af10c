#include "app_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QResource>

#include <algorithm>

namespace {

// The bitmap of one of the icon's sizes, from the program's resources, where its pixels are kept
// packed as the window system takes them: showing the icon neither paints nor decodes an image.
// Null if the build left it out.
// Measured with bench/startup.sh: the same bitmaps as PNGs in a QIcon take 129 M instructions to
// the first frame against 119 M (+8 %, mostly decoding all eight sizes), and looked up in the
// desktop's icon theme first with QIcon::fromTheme 158 M (+32 %).
QImage builtInBitmap(int size)
{
    auto* pixels =
        new QByteArray(QResource(QStringLiteral(":/icons/%1.argb").arg(size)).uncompressedData());
    if (pixels->size() != qsizetype(size) * size * 4) {
        delete pixels;
        return {};
    }
    // The image owns the unpacked pixels and lets them go with its last copy.
    return QImage(
        reinterpret_cast<uchar*>(pixels->data()), size, size, size * 4,
        QImage::Format_ARGB32_Premultiplied,
        [](void* unpacked) { delete static_cast<QByteArray*>(unpacked); }, pixels);
}

// Hands out the bitmaps as they are asked for and keeps no copy, so that a window's icon costs
// no memory while nobody looks at it.
class AppIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        // The smallest bitmap not smaller than asked for, else the largest; never larger than
        // asked for, as an icon's pixmap may be smaller but not larger.
        const int side = qMin(size.width(), size.height());
        const QList<int>& sizes = appIconSizes();
        const auto fit =
            std::find_if(sizes.begin(), sizes.end(), [side](int s) { return s >= side; });
        const int chosen = fit == sizes.end() ? sizes.last() : *fit;
        const QImage bitmap = builtInBitmap(chosen);
        return QPixmap::fromImage(
            chosen > side ? bitmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                          : bitmap);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap shown = pixmap(rect.size(), mode, state);
        painter->drawPixmap(rect.x() + (rect.width() - shown.width()) / 2,
                            rect.y() + (rect.height() - shown.height()) / 2, shown);
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

QIcon appIcon()
{
    // The bitmaps are built into this library, which registers them where it uses them: a
    // static library's own registration would not be linked in.
    Q_INIT_RESOURCE(app_icon);
    return QIcon(new AppIconEngine);
}
