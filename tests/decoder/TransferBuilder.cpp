#include "TransferBuilder.h"

#include <stdexcept>

namespace layouttest {

namespace {

int decimalDigits(int value)
{
    return (value / 10) * 16 + value % 10;
}

const QString kNameAlphabet =
    QStringLiteral("0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz?");

constexpr int kF6RecordSize = 44;
constexpr int kF6FirstRecordOffset = 33;
constexpr int kF6LowestRecordStart = 20; // clear of the header and the record count

} // namespace

TransferBuilder &TransferBuilder::byte(int index, int value)
{
    if (index < 0 || std::size_t(index) >= m_bytes.size() || value < 0 || value > 255)
        throw std::out_of_range("transfer byte");
    m_bytes[std::size_t(index)] = std::uint8_t(value);
    return *this;
}

TransferBuilder &TransferBuilder::word(int index, int value)
{
    return byte(index, value % 256).byte(index + 1, value / 256);
}

TransferBuilder &TransferBuilder::decimalTime(int index, int hours, int minutes, int seconds)
{
    return byte(index, decimalDigits(seconds)).byte(index + 1, decimalDigits(minutes)).byte(index + 2, decimalDigits(hours));
}

TransferBuilder &TransferBuilder::decimalTime4(int index, int hours, int minutes, int seconds, int hundredths)
{
    byte(index, decimalDigits(hundredths));
    return decimalTime(index + 1, hours, minutes, seconds);
}

TransferBuilder &TransferBuilder::packedTime(int index, int tenthsOfSecond, bool flag)
{
    const int tenth = tenthsOfSecond % 10;
    const int seconds = tenthsOfSecond / 10 % 60;
    const int minutes = tenthsOfSecond / 600 % 60;
    const int hours = tenthsOfSecond / 36000;
    byte(index, seconds + 64 * (tenth % 4));
    byte(index + 1, minutes + 64 * (tenth / 4));
    return byte(index + 2, hours + (flag ? 128 : 0));
}

TransferBuilder &TransferBuilder::sessionDate(int index, const QDateTime &date)
{
    const QDate d = date.date();
    word(index, d.day() + 32 * d.month() + 512 * (d.year() - 2000));
    const QTime t = date.time();
    return decimalTime(index + 2, t.hour(), t.minute(), t.second());
}

TransferBuilder &TransferBuilder::f6Date(int index, const QDateTime &date)
{
    const QDate d = date.date();
    byte(index, d.day()).byte(index + 1, d.month()).byte(index + 2, d.year() - 2000);
    const QTime t = date.time();
    return decimalTime(index + 3, t.hour(), t.minute(), t.second());
}

TransferBuilder &TransferBuilder::birthday(int index, QDate date)
{
    return byte(index, date.day()).byte(index + 1, date.month()).byte(index + 2, date.year() - 1900);
}

TransferBuilder &TransferBuilder::name(const QString &text)
{
    for (int k = 0; k < text.size(); ++k) {
        const int code = int(kNameAlphabet.indexOf(text.at(k)));
        byte(27 + k, code + (k == text.size() - 1 ? 128 : 0));
    }
    return *this;
}

TransferBuilder rs200(const RS200Options &options)
{
    const int recordSize = options.footPod ? 12 : 6;
    TransferBuilder b(std::size_t(139 + recordSize * int(options.laps.size()) + 4));
    b.word(16, 1543).byte(18, 178).birthday(19, QDate(1980, 2, 29));
    b.byte(22, 190).byte(23, 52).byte(24, 58).byte(25, 0x01).byte(26, 2);
    b.name(QStringLiteral("Races"));
    b.byte(35, (options.paceLimits ? 0x01 : 0) | (options.footPod ? 0x08 : 0));
    b.byte(36, options.limitsOn ? 0x01 : 0);
    b.sessionDate(37, QDateTime(QDate(2013, 1, 15), QTime(14, 30, 0)));
    b.packedTime(42, options.laps.empty() ? tenths(0, 45, 30, 7) : options.laps.back().cumulativeTime);
    b.byte(45, 142).byte(46, 171).byte(47, 185).word(48, 612);
    for (std::size_t k = 0; k < options.limits.size(); ++k) {
        const int at = 50 + 4 * int(k / 2) + 2 * int(k % 2);
        options.paceLimits ? b.word(at, options.limits[k]) : b.byte(at, options.limits[k]);
    }
    for (int z = 0; z < 3; ++z) {
        b.decimalTime(66 + 9 * z, 0, 10 + z, 1);  // below: 10:01, 11:01, 12:01
        b.decimalTime(69 + 9 * z, 0, 20 + z, 2);  // inside
        b.decimalTime(72 + 9 * z, 1, z, 3);       // above: 1:00:03, ...
    }
    for (int j = 1; j <= 5; ++j) {
        b.byte(100 + 2 * j, 40 + 10 * j).byte(101 + 2 * j, 49 + 10 * j);
        b.decimalTime(109 + 3 * j, 0, j, 30);
    }
    b.word(127, 1234).word(129, 2400).word(137, 3000);
    b.byte(132, options.lapCount);
    // Records run from the last lap to the first.
    const int n = int(options.laps.size());
    for (int r = 0; r < n; ++r) {
        const RS200Lap &lap = options.laps[std::size_t(n - 1 - r)];
        const int at = 139 + recordSize * r;
        b.packedTime(at, lap.cumulativeTime, lap.autoLap);
        b.byte(at + 3, lap.endHR).byte(at + 4, lap.averageHR).byte(at + 5, lap.maxHR);
        if (options.footPod)
            b.word(at + 6, lap.endPace).word(at + 8, lap.cumulativeDistance).word(at + 10, lap.averagePace);
    }
    return b;
}

TransferBuilder cs200(const CS200Options &options)
{
    TransferBuilder b(std::size_t(153 + 12 * int(options.laps.size()) + 4));
    for (int i = 27; i <= 34; ++i)
        b.byte(i, 17); // plain characters to the end: not an RS200 name
    b.word(98, 1800).byte(100, 182).birthday(101, QDate(1975, 6, 1));
    b.byte(105, 188).byte(107, 55).byte(108, options.limitFlags);
    b.decimalTime4(109, 1, 15, 30, 50);
    b.byte(113, 130).byte(114, 165);
    b.decimalTime(115, 0, 20, 10).decimalTime(118, 0, 3, 5).decimalTime(121, 0, 40, 0);
    b.word(124, 845).word(126, 352).word(128, 245).word(130, 512);
    b.byte(132, 85).byte(133, 102);
    b.decimalTime4(134, 1, 5, 10, 20);
    b.byte(138, options.lapCount >= 0 ? options.lapCount : int(options.laps.size()));
    b.sessionDate(140, QDateTime(QDate(2014, 6, 3), QTime(7, 45, 12)));
    b.byte(146, 120).byte(147, 155);
    for (std::size_t r = 0; r < options.laps.size(); ++r) {
        const CS200Lap &lap = options.laps[r];
        const int at = 153 + 12 * int(r);
        if (lap.cumulativeTime < 0)
            b.byte(at, 60).byte(at + 1, 1).byte(at + 2, 0); // 60 seconds: not a time
        else
            b.packedTime(at, lap.cumulativeTime);
        b.byte(at + 3, lap.maxHR).byte(at + 4, lap.averageHR).word(at + 5, lap.endSpeed);
        b.byte(at + 8, lap.cadence).word(at + 9, lap.cumulativeDistance);
    }
    return b;
}

std::vector<RS200Lap> rs200ThreeLaps()
{
    return {{tenths(0, 4, 30), 150, 140, 155, false, 3100, 150, 3200},
            {tenths(0, 10, 0), 160, 150, 165, true, 3000, 310, 3050},
            {tenths(0, 15, 0), 170, 160, 175, false, 2900, 520, 2950}};
}

std::vector<CS200Lap> cs200TwoLaps()
{
    return {{tenths(0, 12, 0), 171, 151, 301, 88, 52}, {tenths(0, 25, 30), 172, 152, 302, 89, 110}};
}

F6Record f6Record(int day)
{
    return {.start = QDateTime(QDate(2009, 5, day), QTime(7, 15, 42)),
            .averageHR = 120 + day,
            .maxHR = 160 + day,
            .calories = 300 + 256 * day,
            .fat = 20 + day,
            .zoneTime = tenths(0, 25, 10 + day),
            .zoneLow = 110,
            .zoneHigh = 150 + day,
            .userMaxHR = 185 + day};
}

int f6RecordStart(std::size_t recordCount, int k)
{
    const int length = kF6FirstRecordOffset + kF6LowestRecordStart + kF6RecordSize * (int(recordCount) - 1);
    return length - kF6FirstRecordOffset - kF6RecordSize * (k - 1);
}

TransferBuilder f6(const std::vector<F6Record> &records)
{
    const int m = int(records.size());
    const int length = kF6FirstRecordOffset + kF6LowestRecordStart + kF6RecordSize * (m - 1);
    TransferBuilder b(std::size_t(length + 11));
    b.word(4, length).byte(13, m);
    for (int k = 1; k <= m; ++k) {
        const F6Record &record = records[std::size_t(k - 1)];
        const int s = f6RecordStart(records.size(), k);
        b.byte(s, 128).f6Date(s + 8, record.start);
        if (record.month >= 0)
            b.byte(s + 9, record.month);
        const int d = record.duration;
        b.decimalTime(s + 14, d / 36000, d / 600 % 60, d / 10 % 60);
        b.byte(s + 17, record.averageHR).byte(s + 18, record.maxHR).word(s + 19, record.calories);
        b.byte(s + 21, record.fat);
        const int z = record.zoneTime;
        b.decimalTime(s + 23, z / 36000, z / 600 % 60, z / 10 % 60);
        b.byte(s + 35, record.zoneLow).byte(s + 36, record.zoneHigh).byte(s + 43, record.userMaxHR);
    }
    return b;
}

} // namespace layouttest
