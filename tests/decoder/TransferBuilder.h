#pragma once

#include "ByteReader.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <vector>

namespace layouttest {

// Writes a cleaned transfer field by field, in the watches' own encodings,
// so that a test reads like the byte map it exercises.
class TransferBuilder
{
public:
    explicit TransferBuilder(std::size_t size) : m_bytes(size, 0) { m_bytes[0] = 85; }

    TransferBuilder &byte(int index, int value);
    // Least significant byte first.
    TransferBuilder &word(int index, int value);
    // Seconds, minutes, hours as two decimal digits each (hours last).
    TransferBuilder &decimalTime(int index, int hours, int minutes, int seconds);
    // Hundredths, seconds, minutes, hours as two decimal digits each.
    TransferBuilder &decimalTime4(int index, int hours, int minutes, int seconds, int hundredths);
    // A packed time of plain bytes: tenths in the top bits of the first two, and
    // flag in bit 7 of the hours byte.
    TransferBuilder &packedTime(int index, int tenthsOfSecond, bool flag = false);
    // Session-date word, then second, minute, hour as decimal digits.
    TransferBuilder &sessionDate(int index, const QDateTime &date);
    // Day, month, year - 2000, then second, minute, hour as decimal digits.
    TransferBuilder &f6Date(int index, const QDateTime &date);
    // Day, month, year - 1900.
    TransferBuilder &birthday(int index, QDate date);
    // The six-bit name code at bytes 27 to 34, the last character end-marked.
    TransferBuilder &name(const QString &name);

    const ByteArray &bytes() const { return m_bytes; }

private:
    ByteArray m_bytes;
};

// Tenths of a second from h:mm:ss.t.
constexpr int tenths(int hours, int minutes, int seconds, int tenth = 0)
{
    return ((hours * 60 + minutes) * 60 + seconds) * 10 + tenth;
}

// --- The three watches, every field set to a value of its own ---------------

struct RS200Lap
{
    int cumulativeTime = 0;     // tenths
    int endHR = 0;
    int averageHR = 0;
    int maxHR = 0;
    bool autoLap = false;
    int endPace = 0;            // foot pod only
    int cumulativeDistance = 0; // units of 10 m, foot pod only
    int averagePace = 0;        // foot pod only
};

struct RS200Options
{
    bool footPod = false;
    bool limitsOn = false;
    bool paceLimits = false;
    std::vector<int> limits = {}; // up to six: low and high of zones 1 to 3
    int lapCount = 0;             // byte 132
    std::vector<RS200Lap> laps = {}; // lap 1 first; written last lap first
};

// An RS200 session "Races" of 15 January 2013 14:30:00 with a total time of
// 45:30.7 (or the first lap's cumulative time when there are laps).
TransferBuilder rs200(const RS200Options &options = {});

struct CS200Lap
{
    int cumulativeTime = 0;     // tenths; -1 writes a packed time that is not valid
    int maxHR = 0;
    int averageHR = 0;
    int endSpeed = 0;
    int cadence = 0;
    int cumulativeDistance = 0; // tenths of the watch's unit
};

struct CS200Options
{
    int limitFlags = 0x41;      // byte 108: "Manual", cadence sensor on
    int lapCount = -1;          // byte 138; -1: the number of laps given
    std::vector<CS200Lap> laps = {};
};

// Three laps ending at 4:30.0, 10:00.0 and 15:00.0, the second an auto lap;
// with the foot pod at 1500 m, 3100 m and 5200 m.
std::vector<RS200Lap> rs200ThreeLaps();

// A CS200 ride of 3 June 2014 07:45:12, 1:15:30.5 long, 1:05:10.2 ridden.
TransferBuilder cs200(const CS200Options &options = {});

struct F6Record
{
    QDateTime start;
    int month = -1;             // overrides the start's month when 0 to 255
    int duration = tenths(1, 30, 5);
    int averageHR = 0;
    int maxHR = 0;
    int calories = 0;
    int fat = 0;
    int zoneTime = 0;
    int zoneLow = 0;
    int zoneHigh = 0;
    int userMaxHR = 0;
};

// Record `day` of an F6 memory of May 2009, every field of a value of its own.
F6Record f6Record(int day);

// Laps ending at 12:00.0 and 25:30.0, at 5.2 and 11.0 units.
std::vector<CS200Lap> cs200TwoLaps();

// An F6 memory of the records given, record 1 first (nearest the length L).
TransferBuilder f6(const std::vector<F6Record> &records);
// Where record k (1 to M) of f6(records) starts.
int f6RecordStart(std::size_t recordCount, int k);

} // namespace layouttest
