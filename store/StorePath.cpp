#include "StorePath.h"

#include "FileName.h"

#include <QDir>

#include <climits>
#include <unistd.h>

namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinksFollowed = 40;

} // namespace

namespace StorePath {

QString finalTarget(const QString &path)
{
    QString current = FileName::absolute(path);
    for (int hop = 0; hop < kMaxLinksFollowed; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(FileName::encode(current).constData(), buffer, sizeof buffer);
        if (length < 0 || size_t(length) >= sizeof buffer)
            break;
        // A name that is not UTF-8 keeps its bytes.
        const QString link = FileName::decode(QByteArrayView(buffer, length));
        current = QDir::cleanPath(QDir::isAbsolutePath(link) ? link : FileName::folderOf(current) + u'/' + link);
    }
    return current;
}

} // namespace StorePath
