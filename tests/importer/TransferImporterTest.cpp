#include "TransferImporter.h"

#include "DataOutput.h"
#include "Decoder.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "TransferFiles.h"
#include "VXDefaults.h"

#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace transferfiles;

namespace {

// An importer wired as the application wires it, with an automatic-export folder.
class TransferImporterTest : public testing::Test
{
protected:
    TransferImporterTest() : m_list(m_context), m_importer(m_context, &m_list, &m_output)
    {
        m_output.setSessionArrayController(&m_list);
        m_decoder.setClock([] { return kImportDate; });
        VXDefaults::settings().setValue(QStringLiteral("VXAutoExportPath"), m_exports.path());
    }
    ~TransferImporterTest() override { VXDefaults::settings().remove(QStringLiteral("VXAutoExportPath")); }

    ImportResult importTransfer(const QString &name)
    {
        m_decoder.setByteArray(withLead(cleaned(name)));
        return m_importer.importTransfer(m_decoder.decodeExtractedBytes());
    }

    QList<QDateTime> storedDates() const
    {
        QList<QDateTime> dates;
        for (const RunSession *session : m_context.sessions())
            dates.append(session->sessionDate.value_or(QDateTime()));
        return dates;
    }

    qsizetype exportedFiles() const { return QDir(m_exports.path()).entryList(QDir::Files).size(); }

    QTemporaryDir m_exports;
    ObjectContext m_context;
    SessionListController m_list;
    DataOutput m_output;
    Decoder m_decoder;
    TransferImporter m_importer;
};

QDateTime may2009(int day) { return QDateTime(QDate(2009, 5, day), QTime(7, 15, 42)); }

} // namespace

// The same F6 memory twice: nothing new, so no second export and no empty undo step.
TEST_F(TransferImporterTest, F6MemoryTwiceStoresAndExportsOnce)
{
    const ImportResult first = importTransfer(QStringLiteral("f6-two-records"));
    EXPECT_EQ(std::tuple(first.storedCount(), first.alreadyStored, first.saved.ok), std::tuple(2, 0, true));
    EXPECT_EQ(exportedFiles(), 1);
    // The record lying lowest in the array is inserted last and stays selected.
    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{m_context.sessions().at(1)});

    const ImportResult second = importTransfer(QStringLiteral("f6-two-records"));
    EXPECT_EQ(std::tuple(second.storedCount(), second.alreadyStored, second.saved.ok), std::tuple(0, 2, true));
    EXPECT_EQ(m_context.sessionCount(), 2);
    EXPECT_EQ(exportedFiles(), 1);
    EXPECT_EQ(m_context.undoStack()->count(), 1);
    EXPECT_FALSE(m_context.hasChanges());
}

// Model, date, total time, calories and average heart rate make a session the
// same; a hidden one counts as stored; anything else differing is a new one.
TEST_F(TransferImporterTest, SameSessionsAreKnownHiddenOrNot)
{
    importTransfer(QStringLiteral("rs200-plain"));
    m_context.setHidden(m_context.sessions().front(), true);
    EXPECT_EQ(importTransfer(QStringLiteral("rs200-plain")).alreadyStored, 1);

    m_decoder.setByteArray(withLead(cleaned(QStringLiteral("rs200-plain"))));
    DecodeResult burnedMore = m_decoder.decodeExtractedBytes();
    burnedMore.sessions.front().sessionCalories = 1;
    EXPECT_EQ(m_importer.importTransfer(burnedMore).storedCount(), 1);
    EXPECT_EQ(m_context.sessionCount(), 2);
}

// An F6 record whose start date is that of a listed session is that session,
// whatever else it holds; a record repeated within the memory counts once.
TEST_F(TransferImporterTest, F6RecordsOfAListedDateAreSkipped)
{
    RunSession stored;
    stored.sessionDate = may2009(2);
    m_context.insertSession(std::move(stored));

    const ImportResult result = importTransfer(QStringLiteral("f6-repeated-record"));
    EXPECT_EQ(std::pair(result.storedCount(), result.alreadyStored), std::pair(2, 1));
    EXPECT_EQ(storedDates(), (QList<QDateTime>{may2009(2), may2009(1), may2009(3)}));
    EXPECT_EQ(m_context.sessions().at(1)->sessionAverageHR, 121); // the first of the two records
}

// One undo step takes back exactly what the import added, laps and zones included.
TEST_F(TransferImporterTest, UndoRemovesOnlyWhatTheImportAdded)
{
    importTransfer(QStringLiteral("rs200-foot-pod-pace-limits"));
    const RunSession rs200 = *m_context.sessions().front();
    importTransfer(QStringLiteral("f6-two-records"));
    ASSERT_EQ(m_context.sessionCount(), 3);
    EXPECT_EQ(m_context.undoStack()->undoText(), QStringLiteral("Import Transfer"));

    m_context.undoStack()->undo();
    ASSERT_EQ(m_context.sessionCount(), 1);
    EXPECT_EQ(*m_context.sessions().front(), rs200);
    m_context.undoStack()->undo();
    EXPECT_EQ(m_context.sessionCount(), 0);
    m_context.undoStack()->redo();
    ASSERT_EQ(m_context.sessionCount(), 1);
    EXPECT_EQ(*m_context.sessions().front(), rs200);
}

// A save that fails is reported with its message; the sessions stay in the context.
TEST_F(TransferImporterTest, FailedSaveIsReportedAndKeepsTheSessions)
{
    const QString message = QStringLiteral("cannot save sessions to /full/Ventrix.xml: No space left on device");
    m_context.setSaveHandler([&](const ObjectContext &) { return SaveResult::failure(message); });
    const ImportResult result = importTransfer(QStringLiteral("cs200-two-laps"));
    EXPECT_FALSE(result.saved.ok);
    EXPECT_EQ(result.saved.errorMessage, message);
    EXPECT_EQ(result.storedCount(), 1);
    EXPECT_TRUE(m_context.hasChanges());
}

// A margin is a low-confidence transfer's, none a confident one's. A later
// transfer of the stored session (with a wrong maximum heart rate) replaces
// it only when it is marked and the new one is confident or clearer; the
// user's comment stays, and one undo step brings the old session back.
struct MarkCase
{
    const char *name;
    std::optional<float> stored, arriving;
    bool replaced;
};
class NoisyMarkTest : public TransferImporterTest, public testing::WithParamInterface<MarkCase> {};

TEST_P(NoisyMarkTest, IsStoredAndReplacedByABetterTransfer)
{
    const auto [name, stored, arriving, replaced] = GetParam();
    const auto transfer = [this](std::optional<float> margin, int maxHRError) {
        m_decoder.setByteArray(withLead(cleaned(QStringLiteral("rs200-plain"))));
        DecodeResult decoded = m_decoder.decodeExtractedBytes();
        decoded.confidence = margin ? Confidence::Low : Confidence::High;
        decoded.minimumMargin = margin.value_or(DecisionMargins::kUnmeasured);
        *decoded.sessions.front().sessionMaxHR += maxHRError;
        return decoded;
    };
    const auto mark = [](std::optional<float> margin) {
        return margin ? std::optional(int(*margin * 1000)) : std::nullopt;
    };
    m_importer.importTransfer(transfer(stored, 1));
    const RunSession first = *m_context.sessions().front();
    m_context.setComment(m_context.sessions().front(), QStringLiteral("hilly"));
    EXPECT_EQ(first.noisyTransferMargin, mark(stored));

    EXPECT_EQ(m_importer.importTransfer(transfer(arriving, 0)).storedCount(), int(replaced));
    ASSERT_EQ(m_context.sessionCount(), 1);
    const RunSession &kept = *m_context.sessions().front();
    EXPECT_EQ(std::tuple(kept.sessionMaxHR, kept.noisyTransferMargin, kept.comment),
              std::tuple(*first.sessionMaxHR - int(replaced), mark(replaced ? arriving : stored),
                         QStringLiteral("hilly")));
    m_context.undoStack()->undo();
    EXPECT_EQ(m_context.sessions().front()->sessionMaxHR, first.sessionMaxHR);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoisyMarkTest, testing::Values(MarkCase{"UnmarkedStays", std::nullopt, 0.5F, false},
    MarkCase{"ConfidentReplaces", 0.25F, std::nullopt, true}, MarkCase{"ClearerReplaces", 0.25F, 0.5F, true},
    MarkCase{"MurkierIsSkipped", 0.5F, 0.25F, false}), [](const auto &info) { return std::string(info.param.name); });
