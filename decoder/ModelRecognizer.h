#pragma once

#include "FieldCodecs.h"

// Decides whether a cleaned transfer comes from an F6, an RS200 or a CS200.
// Each check sets the caller's dataMakesSense flag and returns it; a field a
// check needs that lies past the end of the array makes the check answer NO.
class ModelRecognizer
{
public:
    // F6 memory: M records of 44 bytes counted backwards from the length L,
    // each with the marker 128 at L - 33 - 44(k - 1).
    static constexpr int kF6LengthIndex = 4;
    static constexpr int kF6RecordCountIndex = 13;
    static constexpr int kF6RecordSize = 44;
    static constexpr int kF6MarkerOffset = 33;
    static constexpr int kF6RecordMarker = 128;

    // RS200 field places the checks read.
    static constexpr int kRS200SessionDateIndex = 37;
    static constexpr int kRS200BirthdayIndex = 19;
    static constexpr int kRS200SessionHRIndex = 45;

    ModelRecognizer(const ByteArray &bytes, bool &dataMakesSense);

    bool checkF6Data();
    bool checkRS200Data();
    bool checkCS200Data();

private:
    bool rs200FieldsDecode();
    bool cs200FieldsDecode();

    ByteReader m_bytes;
    FieldCodecs m_codecs;
    bool &m_dataMakesSense;
};
