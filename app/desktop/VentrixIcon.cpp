// Writes the application icon: the scalable SVG and PNG renderings of the same
// shapes for the hicolor sizes. Run at build time:
//   ventrix-icon OUTPUT_FOLDER ICON_NAME
// makes OUTPUT_FOLDER/scalable/apps/ICON_NAME.svg and OUTPUT_FOLDER/<n>x<n>/apps/ICON_NAME.png.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

// The icon is drawn on a 128-unit square.
constexpr qreal kCanvas = 128.0;
const int kPngSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct RoundedRect
{
    QRectF rect;
    qreal radius;
    QColor fill;
};

struct Circle
{
    QPointF centre;
    qreal radius;
    QColor fill;
};

struct Line
{
    QPolygonF points;
    qreal width;
    QColor stroke;
};

// A wrist watch: two straps, the case, a white face, and a heartbeat across it.
const std::vector<RoundedRect> kStraps{{QRectF(42, 2, 44, 34), 8, QColor(0x4a, 0x4f, 0x57)},
                                       {QRectF(42, 92, 44, 34), 8, QColor(0x4a, 0x4f, 0x57)}};
const std::vector<Circle> kDisc{{QPointF(64, 64), 46, QColor(0x2b, 0x30, 0x38)},
                                {QPointF(64, 64), 39, QColor(0xff, 0xff, 0xff)}};
const Line kHeartbeat{QPolygonF({QPointF(29, 67), QPointF(45, 67), QPointF(51, 55), QPointF(59, 84),
                                 QPointF(68, 40), QPointF(76, 74), QPointF(82, 67), QPointF(99, 67)}),
                      6.0, QColor(0xeb, 0x00, 0x00)};

QString svgColor(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

QString svgText()
{
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kCanvas << "\" height=\"" << kCanvas
        << "\" viewBox=\"0 0 " << kCanvas << ' ' << kCanvas << "\">\n";
    for (const RoundedRect &strap : kStraps)
        out << "  <rect x=\"" << strap.rect.x() << "\" y=\"" << strap.rect.y() << "\" width=\"" << strap.rect.width()
            << "\" height=\"" << strap.rect.height() << "\" rx=\"" << strap.radius << "\" fill=\""
            << svgColor(strap.fill) << "\"/>\n";
    for (const Circle &circle : kDisc)
        out << "  <circle cx=\"" << circle.centre.x() << "\" cy=\"" << circle.centre.y() << "\" r=\""
            << circle.radius << "\" fill=\"" << svgColor(circle.fill) << "\"/>\n";
    out << "  <polyline fill=\"none\" stroke=\"" << svgColor(kHeartbeat.stroke) << "\" stroke-width=\""
        << kHeartbeat.width << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" points=\"";
    for (qsizetype i = 0; i < kHeartbeat.points.size(); ++i)
        out << (i ? " " : "") << kHeartbeat.points[i].x() << ',' << kHeartbeat.points[i].y();
    out << "\"/>\n</svg>\n";
    return svg;
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    painter.setPen(Qt::NoPen);
    for (const RoundedRect &strap : kStraps) {
        painter.setBrush(strap.fill);
        painter.drawRoundedRect(strap.rect, strap.radius, strap.radius);
    }
    for (const Circle &circle : kDisc) {
        painter.setBrush(circle.fill);
        painter.drawEllipse(circle.centre, circle.radius, circle.radius);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kHeartbeat.stroke, kHeartbeat.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(kHeartbeat.points);
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ventrix-icon OUTPUT_FOLDER ICON_NAME\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString svgPath = output.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name));
    if (!writeFile(svgPath, svgText().toUtf8())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return 1;
    }
    for (int size : kPngSizes) {
        const QString path = output.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
        QDir().mkpath(QFileInfo(path).path());
        if (!render(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
