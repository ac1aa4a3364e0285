#include "StorePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <unistd.h>

namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinksFollowed = 40;

} // namespace

namespace StorePath {

QString finalTarget(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMaxLinksFollowed; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(QFile::encodeName(current).constData(), buffer, sizeof buffer);
        if (length < 0 || size_t(length) >= sizeof buffer)
            break;
        // Decoded the way file names are, so a name that is not UTF-8 keeps its bytes.
        const QString link = QFile::decodeName(QByteArray(buffer, length));
        current = QDir::cleanPath(QDir::isAbsolutePath(link) ? link : QFileInfo(current).absolutePath() + u'/' + link);
    }
    return current;
}

} // namespace StorePath
