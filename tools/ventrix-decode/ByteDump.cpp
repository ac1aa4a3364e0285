#include "ByteDump.h"

#include <QString>
#include <QTextStream>

namespace {
constexpr std::size_t kBytesPerDumpLine = 16;
}

void dumpBytes(QTextStream &out, const ByteArray &bytes)
{
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        out << QStringLiteral("%1").arg(bytes[k], 2, 16, QLatin1Char('0'));
        const bool lineEnds = (k + 1) % kBytesPerDumpLine == 0 || k + 1 == bytes.size();
        out << (lineEnds ? "\n" : " ");
    }
}
