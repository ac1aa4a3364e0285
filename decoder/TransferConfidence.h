#pragma once

#include "ByteIndices.h"
#include "ByteReader.h"
#include "Confidence.h"
#include "DecisionMargins.h"
#include "WatchModel.h"

#include <cstdint>
#include <span>

// Judges a demodulated transfer by the decisions its values depend on: the
// bytes the recognised model's check and layout read (not the filler), each
// traced back through the clean-up to the frame it was demodulated from.
class TransferConfidence
{
public:
    static ByteIndices bytesRead(WatchModel model, const ByteArray &cleaned);

    // The smallest margin of the frames the read bytes came from; sources
    // gives each cleaned byte's index among the demodulated ones (see
    // ByteStreamCleanup::sourceIndices). Unmeasured when margins is empty.
    static float minimumMargin(WatchModel model, const ByteArray &cleaned, std::span<const std::int64_t> sources,
                               const DecisionMargins &margins);

    static Confidence judge(float minimumMargin)
    {
        return minimumMargin >= 1.0F ? Confidence::High : Confidence::Low;
    }

    // Whether two cleaned transfers of the model agree on every byte it reads.
    static bool agree(WatchModel model, const ByteArray &a, const ByteArray &b);
};
