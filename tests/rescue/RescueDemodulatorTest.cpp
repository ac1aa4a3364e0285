// The second demodulation: hard rooms read, readable recordings unchanged,
// sounds without a transfer never a session; how sure a decode is, and what
// it does when it is not.
#include "RescueTestSupport.h"

#include "CS200SessionLayout.h"
#include "F6SessionLayout.h"
#include "JsonReport.h"
#include "RS200SessionLayout.h"
#include "RescueDemodulator.h"
#include "SoundsWithoutTransfer.h"
#include "TestTables.h"
#include "TransferConfidence.h"
#include "TransferDecoding.h"

#include <QTextStream>

#include <gtest/gtest.h>

#include <set>

using namespace rescuetest;

namespace {

class RescueRooms : public testing::TestWithParam<std::tuple<int, QStringList>>
{
};

// The second demodulation on its own, followed by the clean-up, checks and
// layout, reads the whole transfer. At 12 dB SNR the exact path sometimes
// recognises a model in bytes that noise has spoilt, and then the decoder
// keeps its answer; where the exact path recognises nothing, the decoder
// falls back to the second demodulation.
TEST_P(RescueRooms, ReadsTheWholeTransfer)
{
    const auto &[watch, room] = GetParam();
    const ByteArray &cleaned = transfers()[std::size_t(watch)].bytes;
    const std::vector<std::int16_t> samples = record(cleaned, roomFromText(room[1]));
    Decoder decoder;
    decoder.setByteArray(RescueDemodulator::demodulate(samples));

    const DecodeResult result = decoder.decodeExtractedBytes();
    EXPECT_TRUE(result.dataMakesSense);
    EXPECT_EQ(result.model, transfers()[std::size_t(watch)].model);
    EXPECT_EQ(decoder.byteArray(), synth::cleanedRoundTrip(cleaned));
    if (room[2] != u"yes")
        return;
    EXPECT_FALSE(decodeSamples(samples, false).model);
    const Outcome both = decodeSamples(samples);
    EXPECT_TRUE(both.dataMakesSense);
    EXPECT_EQ(both.method, DecodeMethod::Rescued);
    EXPECT_EQ(both.bytes, synth::cleanedRoundTrip(cleaned));
}

INSTANTIATE_TEST_SUITE_P(EveryWatch, RescueRooms,
                         testing::Combine(testing::Range(0, kPlain),
                                          testing::ValuesIn(tableRows(QStringLiteral("rescue/rooms.txt")))),
                         [](const auto &info) {
                             return transfers()[std::size_t(std::get<0>(info.param))].name
                                    + std::get<1>(info.param)[0].toStdString();
                         });

// A click anywhere in a frame, on a burst or between bursts, costs nothing.
TEST(RescueRooms, ClickAnywhereInAFrame)
{
    const ByteArray &cleaned = transfers()[1].bytes; // the plain RS200
    for (int offset = 0; offset < 896; offset += 37) {
        synth::RoomOptions room = roomFromText(QStringLiteral("amplitude=6000 seed=11"));
        room.clickSeconds = {(44100.0 + offset) / 44100.0};
        const Outcome outcome = decodeSamples(record(cleaned, room));
        EXPECT_EQ(outcome.bytes, synth::cleanedRoundTrip(cleaned)) << "click " << offset << " samples into the second";
    }
}

// Rooms of every kind the exact path copes with: some noise, a slightly
// wrong clock, mild fading, DC offset, either polarity, any loudness.
synth::RoomOptions readableRoom(std::mt19937_64 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    synth::RoomOptions room;
    room.amplitude = 3000.0 + 17000.0 * unit(random);
    if (unit(random) < 0.7)
        room.snrDb = 24.0 + 16.0 * unit(random);
    room.drift = 0.016 * (unit(random) - 0.5);
    room.fadeDepth = 0.3 * unit(random);
    room.dcOffset = 2000.0 * (unit(random) - 0.5);
    room.invert = unit(random) < 0.5;
    room.seed = random();
    return room;
}

void expectSameWithoutRescue(const std::vector<std::int16_t> &samples, const std::string &what)
{
    const Outcome exact = decodeSamples(samples, false);
    const Outcome both = decodeSamples(samples);
    EXPECT_EQ(both.dataMakesSense, exact.dataMakesSense) << what;
    EXPECT_EQ(both.model, exact.model) << what;
    EXPECT_EQ(both.bytes, exact.bytes) << what;
    EXPECT_FALSE(both.rescueAttempted) << what;
    EXPECT_EQ(both.method, DecodeMethod::Exact) << what;
}

// Every recording the exact path reads gives the same result with the second
// path enabled, and the second path never runs on it.
TEST(RescueProperty, RecordingsTheExactPathReadsAreUnchanged)
{
    std::mt19937_64 random(2024);
    int readable = 0;
    constexpr int kRecordings = 40;
    for (int r = 0; r < kRecordings; ++r) {
        const std::vector<std::int16_t> samples = record(transfers()[random() % kPlain].bytes, readableRoom(random));
        if (!decodeSamples(samples, false).model)
            continue;
        ++readable;
        expectSameWithoutRescue(samples, "recording " + std::to_string(r));
    }
    EXPECT_GE(readable, kRecordings * 9 / 10);
}

// A recognised model whose layout then meets an invalid field is not decoded
// a second time: nothing could be stored twice.
TEST(RescueProperty, RecognisedModelWithAnInvalidFieldIsNotRescued)
{
    const std::vector<std::int16_t> samples = record(transferfiles::cleaned(QStringLiteral("f6-month-zero")), {});

    const Outcome outcome = decodeSamples(samples);
    EXPECT_EQ(outcome.model, WatchModel::F6);
    EXPECT_FALSE(outcome.dataMakesSense);
    EXPECT_FALSE(outcome.rescueAttempted);
    expectSameWithoutRescue(samples, "F6 record of month 0");
}

// 0.3 s: long enough for both paths to read a dozen frames, short enough for
// thousands of recordings under the sanitizers.
constexpr std::size_t kLength = 13230;

// No session is ever invented: neither path recognises a model in silence,
// noise, music, speech or burst-like sounds without a transfer in them.
TEST(RescueRejection, NoSessionFromSoundsThatHoldNoTransfer)
{
    constexpr int kPerKind = 750; // a few thousand recordings in all
    SoundsWithoutTransfer sounds(kLength, 77);
    int rescued = 0;
    for (const auto &kind : kSoundsWithoutTransfer) {
        for (int r = 0; r < kPerKind; ++r) {
            const Outcome outcome = decodeSamples((sounds.*kind.make)());
            EXPECT_FALSE(outcome.model) << kind.name << " " << r;
            EXPECT_FALSE(outcome.dataMakesSense) << kind.name << " " << r;
            rescued += outcome.rescueAttempted;
        }
    }
    // Every one of them went through both paths.
    EXPECT_EQ(rescued, kPerKind * int(std::size(kSoundsWithoutTransfer)));
}

// Nothing in digital silence or a steady tone in the bursts' band is a frame.
TEST(RescueRejection, SilenceAndASteadyToneGiveNoBytes)
{
    const synth::RoomOptions tone{.amplitude = 16000.0, .leadSeconds = 0.3, .humLevel = 0.5, .humFrequency = 3675.0};
    EXPECT_TRUE(RescueDemodulator::demodulate(std::vector<std::int16_t>(kLength, 0)).empty());
    EXPECT_TRUE(RescueDemodulator::demodulate(synth::modulate({}, tone)).empty());
}

std::vector<RunSession> sessions(WatchModel model, const ByteArray &bytes)
{
    bool sense = true;
    const SessionClock now = [] { return QDateTime(QDate(2020, 1, 1), QTime(12, 0)); };
    switch (model) {
    case WatchModel::F6:
        return F6SessionLayout(bytes, sense).sessions(now);
    case WatchModel::RS200:
        return {RS200SessionLayout(bytes, sense).session(now)};
    case WatchModel::CS200:
        return {CS200SessionLayout(bytes, sense).session(now)};
    }
    return {};
}

// The margins are judged over the bytes a layout says it reads: any other
// byte, changed, must change no value of the sessions.
TEST(TransferConfidence, BytesOutsideTheReadOnesChangeNoValue)
{
    for (const Transfer &transfer : transfers()) {
        const std::vector<RunSession> expected = sessions(transfer.model, transfer.bytes);
        const ByteIndices list = TransferConfidence::bytesRead(transfer.model, transfer.bytes);
        const std::set<int> read(list.begin(), list.end());
        for (int i = 0; i < int(transfer.bytes.size()); ++i) {
            if (read.count(i))
                continue;
            ByteArray changed = transfer.bytes;
            changed[std::size_t(i)] ^= 0xFF;
            EXPECT_EQ(sessions(transfer.model, changed), expected) << transfer.name << " byte " << i;
        }
    }
}

// Clear recordings keep the exact path's reading, confidently, and never pay
// for a second demodulation.
TEST(Confidence, ClearRecordingsStayExactAndConfident)
{
    for (const Transfer &transfer : transfers()) {
        for (const QStringList &row : tableRows(QStringLiteral("rescue/clear-rooms.txt"))) {
            const std::string name = row[0].toStdString();
            const Outcome decoded = decodeSamples(record(transfer.bytes, roomFromText(row[1])));
            EXPECT_TRUE(decoded.dataMakesSense) << transfer.name << " " << name;
            EXPECT_EQ(decoded.bytes, synth::cleanedRoundTrip(transfer.bytes)) << transfer.name << " " << name;
            EXPECT_EQ(decoded.confidence, Confidence::High) << transfer.name << " " << name;
            EXPECT_FALSE(decoded.rescueAttempted) << transfer.name << " " << name;
        }
    }
}

// Where noise spoils the exact reading, its margins say so, the second
// demodulation reads the samples too, and what is kept is right or marked.
TEST(Confidence, DoubtfulTransfersAreReadBothWays)
{
    const ByteArray cleaned = transfer("rs200-foot-pod-three-laps");
    const ByteArray sent = synth::cleanedRoundTrip(cleaned);
    int mended = 0;
    for (int seed = 1; seed <= 8; ++seed) {
        const std::vector<std::int16_t> samples = record(cleaned, {.snrDb = 14.0, .seed = std::uint64_t(14000 + seed)});
        const Outcome exact = decodeSamples(samples, false);
        const Outcome both = decodeSamples(samples);
        // A reading that recognises nothing has no values to doubt.
        const auto wrong = [&](const Outcome &d) {
            return d.model && !TransferConfidence::agree(WatchModel::RS200, d.bytes, sent);
        };
        if (wrong(exact)) {
            EXPECT_EQ(exact.confidence, Confidence::Low) << "seed " << seed;
        }
        if (wrong(both)) {
            EXPECT_EQ(both.confidence, Confidence::Low) << "seed " << seed;
        }
        EXPECT_EQ(both.rescueAttempted, !exact.model || exact.confidence == Confidence::Low)
            << "seed " << seed;
        mended += int(wrong(exact) && both.model && !wrong(both));
    }
    EXPECT_GT(mended, 0);
}

TEST(Confidence, JsonSaysHowConfidentEachFileIs)
{
    JsonReport report;
    FileOutcome file;
    file.confidence = Confidence::Low;
    report.add(file);
    file.confidence = Confidence::High;
    report.add(file);
    QString text;
    QTextStream out(&text);
    report.write(out);
    out.flush();
    EXPECT_TRUE(text.contains(QStringLiteral("\"confidence\": \"low\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\"confidence\": \"high\""))) << text.toStdString();
}

} // namespace
