// Writes the program's icon for the desktop's icon theme, every bitmap size and the scalable
// drawing, from the same vectors the window draws: make_icon <hicolor folder> <icon name>
#include "app_icon.h"

#include <QDir>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

static bool writeSvg(const QString& file)
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

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <hicolor folder> <icon name>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : appIconSizes()) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = root.filePath(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!root.mkpath(dir) || !appIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    const QString file = root.filePath(QStringLiteral("scalable/apps/") + name + ".svg");
    if (!root.mkpath(QStringLiteral("scalable/apps")) || !writeSvg(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
