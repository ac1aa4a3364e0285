// Plots the share of bytes that each demodulation reads correctly against the
// SNR of synthesized recordings: "rescue-snr-plot OUT.png [OUT.csv]".
// A byte counts as read when it is part of the longest common subsequence of
// the bytes sent and the bytes read, divided by the larger of the two counts,
// so that bytes lost and bytes made up both count against a demodulation.
#include "Demodulator.h"
#include "RescueDemodulator.h"
#include "TransferSynth.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLowestSnr = 0;
constexpr int kHighestSnr = 24;
constexpr int kRecordingsPerSnr = 4;
constexpr std::size_t kBytesPerRecording = 300;

struct Point
{
    int snrDb = 0;
    double exact = 0.0;
    double rescued = 0.0;
};

double shareRead(const std::vector<std::uint8_t> &sent, const ByteArray &read)
{
    if (sent.empty() && read.empty())
        return 1.0;
    std::vector<int> previous(read.size() + 1, 0), row(read.size() + 1, 0);
    for (std::uint8_t s : sent) {
        for (std::size_t j = 1; j <= read.size(); ++j)
            row[j] = s == read[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], row[j - 1]);
        std::swap(previous, row);
    }
    return double(previous.back()) / double(std::max(sent.size(), read.size()));
}

ByteArray exactBytes(const std::vector<std::int16_t> &samples)
{
    const Demodulator demodulator(samples);
    return Demodulator::frameBytes(demodulator.markBursts(demodulator.threshold()));
}

std::vector<Point> sweep()
{
    std::vector<Point> points;
    for (int snr = kLowestSnr; snr <= kHighestSnr; ++snr) {
        Point point{snr};
        for (int k = 0; k < kRecordingsPerSnr; ++k) {
            const std::vector<std::uint8_t> sent = synth::randomBytes(kBytesPerRecording, std::uint64_t(100 * snr + k));
            synth::RoomOptions room;
            room.snrDb = double(snr);
            room.seed = std::uint64_t(1000 + 100 * snr + k);
            const std::vector<std::int16_t> samples = synth::modulate(sent, room);
            point.exact += shareRead(sent, exactBytes(samples)) / kRecordingsPerSnr;
            point.rescued += shareRead(sent, RescueDemodulator::demodulate(samples)) / kRecordingsPerSnr;
        }
        points.push_back(point);
    }
    return points;
}

QImage plot(const std::vector<Point> &points)
{
    constexpr int kWidth = 800, kHeight = 500;
    const QRectF area(70, 40, kWidth - 100, kHeight - 110);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto at = [&](double snr, double share) {
        return QPointF(area.left() + area.width() * (snr - kLowestSnr) / (kHighestSnr - kLowestSnr),
                       area.bottom() - area.height() * share);
    };

    painter.setPen(QColor(220, 220, 220));
    for (int snr = kLowestSnr; snr <= kHighestSnr; snr += 3) {
        painter.drawLine(at(snr, 0.0), at(snr, 1.0));
    }
    for (int tenth = 0; tenth <= 10; tenth += 2)
        painter.drawLine(at(kLowestSnr, tenth / 10.0), at(kHighestSnr, tenth / 10.0));
    painter.setPen(Qt::black);
    painter.drawRect(area);
    for (int snr = kLowestSnr; snr <= kHighestSnr; snr += 3)
        painter.drawText(QRectF(at(snr, 0.0) + QPointF(-20, 6), QSizeF(40, 20)), Qt::AlignCenter, QString::number(snr));
    for (int tenth = 0; tenth <= 10; tenth += 2)
        painter.drawText(QRectF(at(kLowestSnr, tenth / 10.0) + QPointF(-50, -10), QSizeF(42, 20)),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(tenth * 10) + QStringLiteral(" %"));
    painter.drawText(QRectF(area.left(), area.bottom() + 30, area.width(), 20), Qt::AlignCenter,
                     QStringLiteral("SNR of the recording (dB)"));
    painter.drawText(QRectF(0, 8, kWidth, 24), Qt::AlignCenter,
                     QStringLiteral("Bytes read correctly from synthesized recordings with white noise"));

    const auto curve = [&](double Point::*share, const QColor &colour, const QString &label, int row) {
        QPolygonF line;
        for (const Point &p : points)
            line << at(p.snrDb, p.*share);
        painter.setPen(QPen(colour, 2.5));
        painter.drawPolyline(line);
        const QPointF key(area.right() - 190, area.bottom() - 60 + 22 * row);
        painter.drawLine(key, key + QPointF(30, 0));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(key + QPointF(38, -10), QSizeF(160, 20)), Qt::AlignLeft | Qt::AlignVCenter, label);
    };
    curve(&Point::exact, QColor(60, 90, 200), QStringLiteral("exact demodulation"), 0);
    curve(&Point::rescued, QColor(210, 60, 40), QStringLiteral("second demodulation"), 1);
    return image;
}

bool writeCsv(const QString &path, const std::vector<Point> &points)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "snr_db,exact,rescued\n";
    for (const Point &p : points)
        out << p.snrDb << ',' << QString::number(p.exact, 'f', 4) << ',' << QString::number(p.rescued, 'f', 4) << '\n';
    out.flush();
    return file.commit();
}

bool writePng(const QString &path, const QImage &image)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace

int main(int argc, char **argv)
{
    // Text needs fonts, fonts need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: rescue-snr-plot OUT.png [OUT.csv]\n");
        return 2;
    }
    const std::vector<Point> points = sweep();
    const QString png = QString::fromLocal8Bit(argv[1]);
    if (!writePng(png, plot(points))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 3 && !writeCsv(QString::fromLocal8Bit(argv[2]), points)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
