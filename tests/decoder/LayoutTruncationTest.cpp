#include "TransferBuilder.h"
#include "TransferSynth.h"

#include "Decoder.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"

#include <gtest/gtest.h>

using namespace layouttest;

namespace {

// A fresh store for each cut, so that every length is judged on its own.
struct CutDecode
{
    explicit CutDecode(const ByteArray &cleaned, std::size_t length) : list(context)
    {
        decoder.setManagedObjectContext(&context);
        decoder.setSessionArrayController(&list);
        ByteArray stream(6, 170);
        stream.insert(stream.end(), cleaned.begin(), cleaned.begin() + std::ptrdiff_t(length));
        decoder.setByteArray(stream);
        decoded = decoder.decodeExtractedBytes();
    }

    const RunSession *session(int index) const
    {
        return index < context.sessionCount() ? context.sessions().at(index) : nullptr;
    }

    ObjectContext context;
    SessionListController list;
    Decoder decoder;
    bool decoded = false;
};

// The arrays as the clean-up gives them for one block: padded with zeros to 263.
ByteArray cleaned(const TransferBuilder &transfer)
{
    return synth::cleanedRoundTrip(transfer.bytes());
}

} // namespace

// Every cut of a valid transfer: the check decides, and a field whose bytes
// were cut off stays without value instead of being read from beyond the end.
TEST(LayoutTruncation, RS200CutAtEveryLength)
{
    const ByteArray full = cleaned(rs200({.footPod = true, .lapCount = 3, .laps = rs200ThreeLaps()}));
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        const CutDecode cut(full, length);
        // The fastest pace is read once bytes 129-130 are there, the average only from 139 on.
        const bool recognised = length >= 127 && !(length >= 131 && length < 139);
        ASSERT_EQ(cut.decoder.recognisedModel() == WatchModel::RS200, recognised);
        ASSERT_EQ(cut.context.sessionCount(), recognised ? 1 : 0);
        if (!recognised)
            continue;
        EXPECT_TRUE(cut.decoded);
        const RunSession &s = *cut.session(0);
        EXPECT_EQ(s.primitiveSessionTotalDistance().has_value(), length >= 129);
        EXPECT_EQ(s.sessionLaps.has_value(), length >= 133);
        EXPECT_EQ(s.lap.size(), length >= 139 + 12 * 3 ? 3u : 0u);
        EXPECT_EQ(s.sportZone.size(), 5u);
    }
}

TEST(LayoutTruncation, CS200CutAtEveryLength)
{
    const ByteArray full = cleaned(cs200({.laps = cs200TwoLaps()}));
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        const CutDecode cut(full, length);
        const bool recognised = length >= 148; // the limits at 146 and 147 are the last field checked
        ASSERT_EQ(cut.decoder.recognisedModel() == WatchModel::CS200, recognised);
        ASSERT_EQ(cut.context.sessionCount(), recognised ? 1 : 0);
        if (!recognised)
            continue;
        EXPECT_TRUE(cut.decoded);
        EXPECT_EQ(cut.session(0)->lap.size(), length >= 153 + 12 * 2 ? 2u : 0u);
        EXPECT_EQ(cut.session(0)->limitZone.size(), 1u);
    }
}

TEST(LayoutTruncation, F6CutAtEveryLength)
{
    F6Record first{.start = QDateTime(QDate(2009, 5, 1), QTime(7, 0, 0)), .userMaxHR = 190};
    F6Record second{.start = QDateTime(QDate(2009, 5, 2), QTime(7, 0, 0)), .userMaxHR = 191};
    const ByteArray full = cleaned(f6({first, second}));
    const int start1 = f6RecordStart(2, 1);
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        const CutDecode cut(full, length);
        const bool recognised = int(length) > start1; // record 1's marker is the last one checked
        ASSERT_EQ(cut.decoder.recognisedModel() == WatchModel::F6, recognised);
        if (!recognised)
            continue;
        EXPECT_TRUE(cut.decoded);
        // Record 1 is stored only once its start date can be read.
        const bool firstStored = int(length) >= start1 + 14;
        ASSERT_EQ(cut.context.sessionCount(), firstStored ? 2 : 1);
        if (!firstStored)
            continue;
        const RunSession &s = *cut.session(0);
        EXPECT_EQ(s.sessionTotalTime.has_value(), int(length) >= start1 + 17);
        EXPECT_EQ(s.sessionCalories.has_value(), int(length) >= start1 + 21);
        EXPECT_EQ(s.userMaxHR.has_value(), int(length) >= start1 + 44);
    }
}
