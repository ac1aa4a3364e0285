#include "RescueTestSupport.h"

#include "ByteStreamCleanup.h"
#include "CS200SessionLayout.h"
#include "F6SessionLayout.h"
#include "JsonReport.h"
#include "RS200SessionLayout.h"
#include "TransferConfidence.h"
#include "TransferDecoding.h"

#include <QTextStream>

#include <gtest/gtest.h>

#include <set>

using namespace rescuetest;

namespace {

struct Transfer
{
    const char *name;
    WatchModel model;
    ByteArray bytes;
};

const std::vector<Transfer> &transfers()
{
    static const std::vector<Transfer> list = {
        {"F6", WatchModel::F6, rescueTransfer("f6-three-records")},
        {"RS200", WatchModel::RS200, rs200Transfer()},
        {"RS200FootPodLaps", WatchModel::RS200, rescueTransfer("rs200-foot-pod-three-laps")},
        {"RS200PaceLimits", WatchModel::RS200, rescueTransfer("rs200-pace-limits")},
        {"RS200HRLimits", WatchModel::RS200, rescueTransfer("rs200-hr-limits")},
        {"CS200", WatchModel::CS200, cs200Transfer()},
        {"CS200Laps", WatchModel::CS200, rescueTransfer("cs200-two-laps")},
    };
    return list;
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

// Each cleaned byte is traced back to the demodulated byte it came from, across joined blocks.
TEST(ByteStreamCleanup, SourceIndicesPointAtTheBytesKept)
{
    const std::pair<std::size_t, int> cases[] = {{40, 252}, {600, 252}, {700, 100}, {300, 1}, {300, 251}};
    for (const auto &[size, fillCount] : cases) {
        ByteArray cleaned = synth::randomBytes(size, size + std::size_t(fillCount));
        cleaned[0] = synth::kSyncByte;
        const ByteArray raw = synth::frameTransfer(cleaned, {.fillCount = fillCount});
        ByteArray kept = raw;
        ASSERT_TRUE(ByteStreamCleanup::cleanupBytes(kept));
        const std::vector<std::int64_t> sources = ByteStreamCleanup::sourceIndices(raw);
        ASSERT_EQ(sources.size(), kept.size()) << size << " bytes, fill " << fillCount;
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(raw[std::size_t(sources[i])], kept[i]) << size << " bytes, fill " << fillCount << ", byte " << i;
        EXPECT_TRUE(std::is_sorted(sources.begin(), sources.end()));
    }
    EXPECT_TRUE(ByteStreamCleanup::sourceIndices({0xAA, 0xAA, 0xAA, 0xAA, 0x55}).empty());
}

// Clear recordings keep the exact path's reading, confidently, and never pay
// for a second demodulation.
TEST(Confidence, ClearRecordingsStayExactAndConfident)
{
    const std::pair<const char *, synth::RoomOptions> rooms[] = {
        {"clean", {}},
        {"25 dB", {.snrDb = 25.0, .seed = 3}},
        {"21 dB", {.snrDb = 21.0, .seed = 4}},
        {"quiet 22 dB", {.amplitude = 3000.0, .snrDb = 22.0, .seed = 5}},
        {"drift", {.drift = 0.02}},
        {"fading", {.fadeDepth = 0.3}},
    };
    for (const Transfer &transfer : transfers()) {
        for (const auto &[name, room] : rooms) {
            const Outcome decoded = decodeSamples(record(transfer.bytes, room));
            EXPECT_TRUE(decoded.decoded) << transfer.name << " " << name;
            EXPECT_EQ(decoded.bytes, synth::cleanedRoundTrip(transfer.bytes)) << transfer.name << " " << name;
            EXPECT_EQ(decoded.confidence, Confidence::High) << transfer.name << " " << name;
            EXPECT_FALSE(decoded.rescueAttempted) << transfer.name << " " << name;
        }
    }
}

TEST(Confidence, ExamplesAreReadExactlyAndConfidently)
{
    for (const char *name : {"f6-memory", "rs200-run", "cs200-ride"}) {
        Decoder decoder;
        const DecodeResult result = decoder.decodeFile(transferfiles::examplesDir() + QStringLiteral("/%1.wav").arg(name));
        EXPECT_TRUE(result.dataMakesSense) << name;
        EXPECT_EQ(result.method, DecodeMethod::Exact) << name;
        EXPECT_EQ(result.confidence, Confidence::High) << name;
        EXPECT_FALSE(result.rescueAttempted) << name;
    }
}

// Where noise spoils the exact reading, its margins say so, the second
// demodulation reads the samples too, and what is kept is right or marked.
TEST(Confidence, DoubtfulTransfersAreReadBothWays)
{
    const ByteArray cleaned = rescueTransfer("rs200-foot-pod-three-laps");
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
    FileOutcome noisy;
    noisy.path = QStringLiteral("noisy.wav");
    noisy.confidence = Confidence::Low;
    report.add(noisy);
    FileOutcome clear;
    clear.path = QStringLiteral("clear.wav");
    report.add(clear);
    QString text;
    QTextStream out(&text);
    report.write(out);
    out.flush();
    EXPECT_TRUE(text.contains(QStringLiteral("\"confidence\": \"low\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\"confidence\": \"high\""))) << text.toStdString();
}

} // namespace
