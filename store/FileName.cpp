#include "FileName.h"

#include <QDir>
#include <QUtf8StringView>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Bytes that cannot start a UTF-8 sequence here are 0x80 and above, so their
// escapes are U+DC80 to U+DCFF; valid UTF-8 never decodes to a lone surrogate.
constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

qsizetype sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return lead >= 0xC0 ? 2 : 0;
}

} // namespace

namespace FileName {

QString decode(QByteArrayView bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        const qsizetype length = sequenceLength(lead);
        const QByteArrayView sequence = bytes.sliced(pos, std::min(std::max<qsizetype>(length, 1), bytes.size() - pos));
        if (length > 0 && sequence.size() == length && QUtf8StringView(sequence).isValidUtf8()) {
            name += QString::fromUtf8(sequence);
            pos += length;
        } else {
            name += QChar(char16_t(kEscapeBase + lead));
            ++pos;
        }
    }
    return name;
}

QByteArray encode(QStringView name)
{
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool escape = unit >= kFirstEscape && unit <= kLastEscape && (i == 0 || !name[i - 1].isHighSurrogate());
        if (!escape)
            continue;
        bytes += name.sliced(start, i - start).toUtf8();
        bytes += char(unit - kEscapeBase);
        start = i + 1;
    }
    if (start == 0)
        return name.toUtf8();
    bytes += name.sliced(start).toUtf8();
    return bytes;
}

QString absolute(const QString &name)
{
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);
    char folder[PATH_MAX];
    if (!::getcwd(folder, sizeof folder))
        return QDir::cleanPath(name);
    return QDir::cleanPath(decode(folder) + u'/' + name);
}

QString folderOf(const QString &absoluteName)
{
    const qsizetype slash = absoluteName.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : absoluteName.left(slash);
}

QString nameIn(const QString &absoluteName)
{
    return absoluteName.mid(absoluteName.lastIndexOf(u'/') + 1);
}

bool openForReading(QFile &file, QStringView name, QIODevice::OpenMode extraMode)
{
    const int fd = ::open(encode(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly | extraMode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    errno = EIO;
    return false;
}

} // namespace FileName
