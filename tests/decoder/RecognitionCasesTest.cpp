#include "Decoder.h"
#include "ModelRecognizer.h"
#include "TransferFiles.h"

#include <gtest/gtest.h>

// The model checks against the table in recognition-cases.txt; the decode
// takes the first model whose check passes.
TEST(ModelRecognizer, TableOfCases)
{
    const QList<QStringList> rows = transferfiles::tableRows(QStringLiteral("recognition-cases.txt"));
    ASSERT_GT(rows.size(), 25);
    for (const QStringList &row : rows) {
        SCOPED_TRACE(row.join(QStringLiteral(" | ")).toStdString());
        const ByteArray bytes = transferfiles::bytesOf(row[0]);
        bool flag = false;
        ModelRecognizer recognizer(bytes, flag);
        QStringList passed;
        if (recognizer.checkF6Data())
            passed.append(watchModelName(WatchModel::F6));
        if (recognizer.checkRS200Data())
            passed.append(watchModelName(WatchModel::RS200));
        if (recognizer.checkCS200Data())
            passed.append(watchModelName(WatchModel::CS200));
        EXPECT_EQ(passed.isEmpty() ? QStringLiteral("none") : passed.join(u' '), row[1]);

        Decoder decoder;
        decoder.setByteArray(transferfiles::withLead(bytes));
        const DecodeResult result = decoder.decodeExtractedBytes();
        EXPECT_EQ(result.model ? watchModelName(*result.model) : QStringLiteral("none"), row[1].section(u' ', 0, 0));
    }
}
