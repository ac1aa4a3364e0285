#pragma once

#include "Decoder.h"

#include <cstdlib>
#include <optional>

// What a decode answered, compared whole between two decodes of the same input.
struct DecodeAnswer
{
    bool yes = false;
    std::optional<WatchModel> model;
    DecodeMethod method = DecodeMethod::Exact;
    ByteArray bytes;
    bool operator==(const DecodeAnswer &) const = default;
};

inline DecodeAnswer answerOf(const Decoder &decoder, const DecodeResult &result)
{
    return {result.dataMakesSense, result.model, result.method, decoder.byteArray()};
}

// A YES names the model it recognised, and the same input gives the same
// answer again: anything else aborts, so libFuzzer keeps the input.
inline void checkAnswers(const DecodeAnswer &first, const DecodeAnswer &second)
{
    if (first.yes && !first.model)
        std::abort();
    if (!(first == second))
        std::abort();
}
