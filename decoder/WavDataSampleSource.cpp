#include "WavDataSampleSource.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
constexpr int kBytesPerSample = 2;
} // namespace

WavDataSampleSource::WavDataSampleSource(std::unique_ptr<QIODevice> device, qint64 dataStart,
                                         std::uint32_t claimedSamples, std::int64_t padding)
    : m_device(std::move(device)), m_dataStart(dataStart)
{
    const std::int64_t claimed = claimedSamples;
    const std::int64_t bytesLeft = std::max<std::int64_t>(0, m_device->size() - dataStart);
    m_held = std::min(claimed, bytesLeft / kBytesPerSample);
    m_total = std::min(claimed, m_held + padding);
    rewind();
}

WavDataSampleSource::~WavDataSampleSource() = default;

bool WavDataSampleSource::rewind()
{
    m_next = 0;
    return m_device->seek(m_dataStart);
}

std::size_t WavDataSampleSource::read(std::span<std::int16_t> out)
{
    const std::size_t count = std::size_t(std::min<std::int64_t>(std::int64_t(out.size()), m_total - m_next));
    const std::size_t fromFile = std::size_t(std::clamp<std::int64_t>(m_held - m_next, 0, std::int64_t(count)));
    char *bytes = reinterpret_cast<char *>(out.data());
    const qint64 wanted = qint64(fromFile) * kBytesPerSample;
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = m_device->read(bytes + got, wanted - got);
        if (n <= 0)
            break;
        got += n;
    }
    // What could not be read, and a sample whose second byte is missing, is
    // a sample the file does not hold: 0.
    got -= got % kBytesPerSample;
    std::memset(bytes + got, 0, std::size_t(qint64(count) * kBytesPerSample - got));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        qFromLittleEndian<std::int16_t>(out.data(), qsizetype(fromFile), out.data());
    m_next += std::int64_t(count);
    return count;
}
