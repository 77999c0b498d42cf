// lumbrel-icon-png SVG OUTDIR NAME SIZE...: draws the program's SVG icon into square
// PNG files of SIZE pixels, laid out as in the hicolor icon theme:
// OUTDIR/<SIZE>x<SIZE>/apps/NAME.png. Run by the build (cmake/Install.cmake), so the
// installed pictures always follow the SVG.
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: lumbrel-icon-png SVG OUTDIR NAME SIZE...\n");
        return 2;
    }
    // Drawing shapes into an image needs no application object and no display.
    const QString svg = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "lumbrel-icon-png: cannot read %s\n", qPrintable(svg));
        return 1;
    }

    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "lumbrel-icon-png: bad size '%s' (8 to 1024 pixels)\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter);  // the view box fills the whole square
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "lumbrel-icon-png: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
