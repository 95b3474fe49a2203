// Renders an SVG picture of the program into a raster file (JPEG or PNG), at
// the SVG's own size or at a given scale. Used to refresh the committed
// JPEGs next to their SVG sources, so the normal build needs no converter.
//
//   qvb_svgtoimage <in.svg> <out.jpg|out.png> [scale] [jpeg quality]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: qvb_svgtoimage <in.svg> <out.jpg|out.png> [scale] [quality]\n";
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        err << args.at(1) << ": not a readable SVG picture\n";
        return 1;
    }
    const double scale = args.size() > 3 ? args.at(3).toDouble() : 1.0;
    const int quality = args.size() > 4 ? args.at(4).toInt() : 92;
    const QSize size = (QSizeF(renderer.defaultSize()) * scale).toSize();
    const bool jpeg = !args.at(2).endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    QImage image(size, jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(jpeg ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    if (!image.save(args.at(2), nullptr, jpeg ? quality : -1)) {
        err << args.at(2) << ": could not be written\n";
        return 1;
    }
    return 0;
}
