#pragma once

#include "SampleSource.h"

#include <QtGlobal>

#include <cstdint>
#include <memory>

class QIODevice;

// The samples of a recorder file's data chunk, read from the file in blocks:
// 16-bit mono whatever the format chunk says. A chunk that claims more than
// the file holds reads on with at most `padding` zero samples. The device is
// owned and must be seekable.
class WavDataSampleSource final : public SampleSource
{
public:
    WavDataSampleSource(std::unique_ptr<QIODevice> device, qint64 dataStart, std::uint32_t claimedSamples,
                        std::int64_t padding);
    ~WavDataSampleSource() override;

    std::size_t read(std::span<std::int16_t> out) override;
    bool rewind() override;

    // The number of samples read, padding included.
    std::int64_t sampleCount() const { return m_total; }

private:
    std::unique_ptr<QIODevice> m_device;
    qint64 m_dataStart;
    std::int64_t m_held = 0;  // samples the file holds
    std::int64_t m_total = 0; // those and the zeros that stand in for the rest
    std::int64_t m_next = 0;
};
