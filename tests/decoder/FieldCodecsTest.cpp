#include "Decoder.h"

#include "DecoderTestData.h"

#include <gtest/gtest.h>

namespace {

// A decoder whose array holds `values` from `index` on, zeros before, and
// nothing after unless `size` asks for more. dataMakesSense starts as YES.
struct Fixture
{
    Decoder decoder;
    Fixture(int index, const ByteArray &values, std::size_t size = 0)
    {
        // A passing check is the public way to a flag that says YES.
        decoder.setByteArray(testdata::rs200Transfer());
        decoder.checkRS200Data();
        ByteArray bytes(std::max(size, std::size_t(index) + values.size()), 0);
        std::copy(values.begin(), values.end(), bytes.begin() + index);
        decoder.setByteArray(bytes);
    }
};

QDateTime local(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

} // namespace

TEST(FieldCodecs, TimesFromDecimalBytes)
{
    EXPECT_EQ(Fixture(0, {0x30, 0x15, 0x02}).decoder.secondsx10From3Bytes(0), 81300);
    EXPECT_EQ(Fixture(0, {0x60, 0x15, 0x02}).decoder.secondsx10From3Bytes(0), std::nullopt);
    EXPECT_EQ(Fixture(0, {0x30, 0x15}).decoder.secondsx10From3Bytes(0), std::nullopt);
    EXPECT_EQ(Fixture(0, {0x99, 0x59, 0x59, 0x01}).decoder.secondsx10From4Bytes(0), 71999);
    EXPECT_EQ(Fixture(0, {0x45, 0x00, 0x00, 0x00}).decoder.secondsx10From4Bytes(0), 4);
    EXPECT_EQ(Fixture(0, {0xA0, 0x00, 0x00, 0x00}).decoder.secondsx10From4Bytes(0), std::nullopt);
    EXPECT_EQ(Fixture(0, {0x00, 0x00, 0x60, 0x00}).decoder.secondsx10From4Bytes(0), std::nullopt);
    EXPECT_EQ(Fixture(0, {0x00, 0x00, 0x00}).decoder.secondsx10From4Bytes(0), std::nullopt);
}

TEST(FieldCodecs, PackedTimeSpreadsTenthsOverTopBits)
{
    const auto t = Fixture(0, {0xC5, 0x41, 0x82}).decoder.timeFrom3Bytes(0, false);
    ASSERT_TRUE(t);
    EXPECT_EQ(std::tuple(t->seconds, t->minutes, t->hours, t->tenths, t->totalSecondsx10),
              std::tuple(5, 1, 2, 7, 72657));
    EXPECT_EQ(Fixture(0, {0x40, 0x80, 0}).decoder.timeFrom3Bytes(0, false)->tenths, 9);
    EXPECT_EQ(Fixture(0, {0x80, 0x80, 0}).decoder.timeFrom3Bytes(0, false), std::nullopt); // 10 tenths
    EXPECT_EQ(Fixture(0, {0xC0, 0xC0, 0}).decoder.timeFrom3Bytes(0, false), std::nullopt); // 15 tenths
    EXPECT_EQ(Fixture(0, {0x59, 0x59, 0x23}).decoder.timeFrom3Bytes(0, true)->totalSecondsx10, 863990);
    EXPECT_EQ(Fixture(0, {0x59, 0x59}).decoder.timeFrom3Bytes(0, true), std::nullopt);
}

TEST(FieldCodecs, TotalTimeIsZeroWhenImplausibleAndAbsentWhenMissing)
{
    EXPECT_EQ(Fixture(42, {0x05, 0x0A, 0x01}).decoder.decodeTotalTime(), 42050);
    EXPECT_EQ(Fixture(42, {0x3C, 0x00, 0x00}).decoder.decodeTotalTime(), 0);
    EXPECT_EQ(Fixture(42, {0x05, 0x0A}).decoder.decodeTotalTime(), std::nullopt);
}

TEST(FieldCodecs, SessionDatesAcceptHourTwentyFourAsNextMidnight)
{
    Fixture f(10, {0x2F, 0x1A, 0x00, 0x30, 0x14});
    EXPECT_EQ(f.decoder.decodeSessionDate(10), local(2013, 1, 15, 14, 30, 0));
    Fixture midnight(10, {0x2F, 0x1A, 0x00, 0x30, 0x24});
    EXPECT_EQ(midnight.decoder.decodeSessionDate(10), local(2013, 1, 16, 0, 30, 0));
    EXPECT_TRUE(midnight.decoder.dataMakesSense());
    Fixture f6(3, {31, 12, 9, 0x59, 0x59, 0x24});
    EXPECT_EQ(f6.decoder.decodeF6SessionDate(3), local(2010, 1, 1, 0, 59, 59));
}

TEST(FieldCodecs, ImplausibleDatesClearTheFlagButMissingBytesDoNot)
{
    struct Case { int codec; ByteArray bytes; bool clears; };
    const std::vector<Case> cases = {
        {0, {0x2F, 0x1A, 0x00, 0x30, 0x25}, true},  // session hour 25
        {0, {0x0F, 0x1A, 0x00, 0x30, 0x14}, true},  // month 0
        {0, {0x20, 0x1A, 0x00, 0x30, 0x14}, true},  // day 0
        {0, {0x2F, 0x1A, 0x60, 0x30, 0x14}, true},  // second 60
        {0, {0x2F, 0x1A, 0x00, 0x30}, false},       // hour missing
        {1, {32, 1, 13, 0, 0, 0}, true},            // F6 day 32
        {1, {1, 13, 13, 0, 0, 0}, true},            // F6 month 13
        {1, {1, 1, 13, 0, 0x60, 0}, true},          // F6 minute 60
        {1, {1, 1, 13, 0, 0}, false},
        {2, {0, 2, 80}, true},                      // birthday day 0
        {2, {29, 13, 80}, true},                    // birthday month 13
        {2, {29, 2}, false},
    };
    for (const Case &c : cases) {
        Fixture f(0, c.bytes);
        const auto date = c.codec == 0 ? f.decoder.decodeSessionDate(0)
                        : c.codec == 1 ? f.decoder.decodeF6SessionDate(0)
                                       : f.decoder.decodeBirthdayDate(0);
        EXPECT_EQ(date, std::nullopt);
        EXPECT_EQ(f.decoder.dataMakesSense(), !c.clears) << "codec " << c.codec << " size " << c.bytes.size();
    }
    EXPECT_EQ(Fixture(0, {29, 2, 80}).decoder.decodeBirthdayDate(0), local(1980, 2, 29, 0, 0, 0));
}

TEST(FieldCodecs, SessionNameEndsAtTheEndMarkOrAfterEightPlaces)
{
    EXPECT_EQ(Fixture(27, {28, 37, 39, 41, 183}, 35).decoder.decodeSessionName(), "Races");
    EXPECT_EQ(Fixture(27, {11, 66, 140}, 35).decoder.decodeSessionName(), "A B");
    EXPECT_EQ(Fixture(27, {11, 12, 13, 14, 15, 16, 17, 72}).decoder.decodeSessionName(), "ABCDEFG-");
    EXPECT_EQ(Fixture(27, {11, 12, 13, 14, 15, 16, 17, 191}).decoder.decodeSessionName(), "ABCDEFG?");
    EXPECT_EQ(Fixture(27, {75, 77, 78, 79, 255}).decoder.decodeSessionName()->size(), 5);

    Fixture plainLast(27, {11, 12, 13, 14, 15, 16, 17, 17});
    EXPECT_EQ(plainLast.decoder.decodeSessionName(), std::nullopt);
    EXPECT_FALSE(plainLast.decoder.dataMakesSense());
    Fixture cut(27, {11, 12, 13});
    EXPECT_EQ(cut.decoder.decodeSessionName(), std::nullopt);
    EXPECT_TRUE(cut.decoder.dataMakesSense());
}

TEST(FieldCodecs, UserData)
{
    EXPECT_EQ(Fixture(5, {0x34, 0x06}).decoder.decodeWeight(5), 1588);
    EXPECT_EQ(Fixture(5, {0x34}).decoder.decodeWeight(5), std::nullopt);
    EXPECT_EQ(Fixture(26, {3}).decoder.decodeUserActivityLevel(), "Low");
    EXPECT_EQ(Fixture(26, {4}).decoder.decodeUserActivityLevel(), std::nullopt);
    EXPECT_TRUE(Fixture(35, {0xF8}).decoder.decodeFootPodIsOn());
    EXPECT_FALSE(Fixture(35, {0xF7}).decoder.decodeFootPodIsOn());
    EXPECT_FALSE(Fixture(30, {0xFF}).decoder.decodeFootPodIsOn());
}

TEST(FieldCodecs, AverageMayNotExceedMaximum)
{
    const auto hr = Fixture(45, {150, 150}).decoder.decodeSessionHR(45);
    ASSERT_TRUE(hr);
    EXPECT_EQ(std::pair(hr->sessionAverageHR, hr->sessionMaxHR), std::pair(150, 150));
    EXPECT_EQ(Fixture(45, {151, 150}).decoder.decodeSessionHR(45), std::nullopt);
    EXPECT_EQ(Fixture(45, {150}).decoder.decodeSessionHR(45), std::nullopt);

    const auto pace = Fixture(129, {0x10, 0x01, 0, 0, 0, 0, 0, 0, 0x20, 0x01}).decoder.decodePace();
    ASSERT_TRUE(pace);
    EXPECT_EQ(std::pair(pace->sessionMaxPace, pace->sessionAveragePace), std::pair(272, 288));
    EXPECT_EQ(Fixture(129, {0x30, 0x01, 0, 0, 0, 0, 0, 0, 0x20, 0x01}).decoder.decodePace(), std::nullopt);
    EXPECT_EQ(Fixture(0, {}).decoder.decodePace()->sessionAveragePace, 0); // a short array reads zeros

    const auto speed = Fixture(128, {10, 1, 20, 1}).decoder.decodeCS200Speed();
    ASSERT_TRUE(speed);
    EXPECT_EQ(std::pair(speed->aveSpeed, speed->maxSpeed), std::pair(266, 276));
    EXPECT_EQ(Fixture(128, {21, 1, 20, 1}).decoder.decodeCS200Speed(), std::nullopt);
    EXPECT_EQ(Fixture(132, {90, 89}).decoder.decodeCS200Cadence(), std::nullopt);
    EXPECT_EQ(Fixture(132, {90}).decoder.decodeCS200Cadence(), std::nullopt);
    EXPECT_EQ(Fixture(132, {89, 90}).decoder.decodeCS200Cadence()->maxCadence, 90);
}

TEST(FieldCodecs, LimitAndSportZones)
{
    ByteArray zones(93, 0);
    for (int k = 0; k < 9; ++k)
        zones[std::size_t(66 + 3 * k + 1)] = std::uint8_t(k + 1); // k + 1 minutes, as decimal digits
    const Fixture f(0, zones);
    EXPECT_EQ(f.decoder.decodeTimeBelowZone(), (LimitZoneTimes{600, 2400, 4200}));
    EXPECT_EQ(f.decoder.decodeTimeInZone(), (LimitZoneTimes{1200, 3000, 4800}));
    EXPECT_EQ(f.decoder.decodeTimeAboveZone(), (LimitZoneTimes{1800, 3600, 5400}));
    zones[85] = 0x60;
    EXPECT_EQ(Fixture(0, zones).decoder.decodeTimeBelowZone(), std::nullopt);

    ByteArray sport = testdata::rs200Transfer();
    const Fixture s(0, sport);
    const auto records = s.decoder.decodeSportZones();
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 5u);
    const SportZoneRecord &z3 = (*records)[2];
    EXPECT_EQ(std::tuple(z3.sportZoneNumber, z3.limitLow, z3.limitHigh, z3.timeInZone), std::tuple(3, 120, 130, 3000));
    sport[106] = 80;
    sport[107] = 70;
    EXPECT_EQ(Fixture(0, sport).decoder.decodeSportZones(), std::nullopt);

    EXPECT_TRUE(Fixture(146, {120, 120}).decoder.checkCS200Zones());
    EXPECT_FALSE(Fixture(146, {121, 120}).decoder.checkCS200Zones());
    EXPECT_FALSE(Fixture(146, {120}).decoder.checkCS200Zones());
    EXPECT_EQ(Fixture(108, {0x43}).decoder.decodeCS200LimitType(), std::nullopt);
    EXPECT_EQ(Fixture(108, {0x42}).decoder.decodeCS200LimitType(), "OwnZone");
    EXPECT_EQ(Fixture(108, {0x40}).decoder.decodeCS200LimitType(), "No limits");
    EXPECT_EQ(Fixture(108, {0x01}).decoder.decodeCS200LimitType(), "Manual");
}

TEST(FieldCodecs, LapCheck)
{

    // Two laps without foot pod: cumulative 10:00.0 (record 0) and 4:00.0 (record 1).
    ByteArray laps(151, 0);
    laps[132] = 2;
    laps[140] = 10;
    laps[146] = 4;
    laps[143] = 140; laps[144] = 160; laps[149] = 150; laps[150] = 150;
    EXPECT_TRUE(Fixture(0, laps).decoder.checkLapData(false, 6000));
    EXPECT_FALSE(Fixture(0, laps).decoder.checkLapData(false, 6001));
    EXPECT_TRUE(Fixture(0, laps).decoder.checkLapData(true, 6001)); // too short for 12-byte records

    ByteArray hotLap = laps;
    hotLap[149] = 151;
    EXPECT_FALSE(Fixture(0, hotLap).decoder.checkLapData(false, 6000));
    ByteArray zeroLap = laps;
    zeroLap[146] = 0;
    EXPECT_FALSE(Fixture(0, zeroLap).decoder.checkLapData(false, 6000));
    ByteArray oneLap = laps;
    oneLap[132] = 1;
    EXPECT_TRUE(Fixture(0, oneLap).decoder.checkLapData(false, 1));
}

TEST(FieldCodecs, LsbMsbToIntReadsZeroPastTheEnd)
{
    const Fixture f(0, {0x34, 0x12, 0x56});
    EXPECT_EQ(f.decoder.lsbMsbToInt(0), 0x1234);
    EXPECT_EQ(f.decoder.lsbMsbToInt(2), 0);
    EXPECT_EQ(f.decoder.lsbMsbToInt(-1), 0);
}
