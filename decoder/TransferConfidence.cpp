#include "TransferConfidence.h"

#include "CS200SessionLayout.h"
#include "F6SessionLayout.h"
#include "RS200SessionLayout.h"

#include <algorithm>

ByteIndices TransferConfidence::bytesRead(WatchModel model, const ByteArray &cleaned)
{
    switch (model) {
    case WatchModel::F6:
        return F6SessionLayout::bytesRead(cleaned);
    case WatchModel::RS200:
        return RS200SessionLayout::bytesRead(cleaned);
    case WatchModel::CS200:
        return CS200SessionLayout::bytesRead(cleaned);
    }
    return {};
}

float TransferConfidence::minimumMargin(WatchModel model, const ByteArray &cleaned,
                                        std::span<const std::int64_t> sources, const DecisionMargins &margins)
{
    if (margins.empty())
        return DecisionMargins::kUnmeasured;
    if (sources.empty())
        return 0.0F;
    // Counted from the sync byte: frames lost before it shift nothing the layout reads.
    const std::vector<float> continuity = margins.continuityFrom(std::size_t(sources.front()));
    float minimum = DecisionMargins::kUnmeasured;
    // A byte past the end of the array is no decision: its field has no value.
    for (int i : bytesRead(model, cleaned)) {
        if (i < 0 || std::size_t(i) >= sources.size())
            continue;
        const std::size_t frame = std::size_t(sources[std::size_t(i)]);
        minimum = std::min({minimum, margins.at(frame), frame < continuity.size() ? continuity[frame] : 0.0F});
    }
    return minimum;
}

bool TransferConfidence::agree(WatchModel model, const ByteArray &a, const ByteArray &b)
{
    const ByteReader ra(a);
    const ByteReader rb(b);
    const ByteIndices read = bytesRead(model, a);
    return read == bytesRead(model, b)
           && std::all_of(read.begin(), read.end(), [&](int i) { return ra.byte(i) == rb.byte(i); });
}
