#include "ModelRecognizer.h"

#include "CS200SessionLayout.h"

ModelRecognizer::ModelRecognizer(const ByteArray &bytes, bool &dataMakesSense)
    : m_bytes(bytes), m_codecs(bytes), m_dataMakesSense(dataMakesSense)
{
}

bool ModelRecognizer::checkF6Data()
{
    m_dataMakesSense = false;
    const std::optional<int> records = m_bytes.byte(kF6RecordCountIndex);
    if (!records)
        return m_dataMakesSense;
    const int length = m_bytes.lsbMsbToInt(kF6LengthIndex);
    if (*records >= 1 && length > kF6RecordSize * *records) {
        m_dataMakesSense = true;
        // Every record is looked at, even after one has failed.
        for (int k = 1; k <= *records; ++k) {
            const int markerIndex = length - kF6MarkerOffset - kF6RecordSize * (k - 1);
            if (m_bytes.byte(markerIndex) != kF6RecordMarker)
                m_dataMakesSense = false;
        }
    }
    return m_dataMakesSense;
}

// The RS200 fields in the order the check tries them; the first that gives no
// value ends the list. The date and name codecs may clear the flag themselves.
bool ModelRecognizer::rs200FieldsDecode()
{
    bool &flag = m_dataMakesSense;
    return m_codecs.decodeSessionName(flag)
           && m_codecs.decodeSessionDate(kRS200SessionDateIndex, flag)
           && m_codecs.decodeBirthdayDate(kRS200BirthdayIndex, flag)
           && m_codecs.decodeUserActivityLevel()
           && m_codecs.decodeTotalTime()
           && m_codecs.decodeSportZones()
           && m_codecs.decodeSessionHR(kRS200SessionHRIndex)
           && m_codecs.decodeTimeBelowZone()
           && m_codecs.decodeTimeInZone()
           && m_codecs.decodeTimeAboveZone();
}

bool ModelRecognizer::checkRS200Data()
{
    m_dataMakesSense = true;
    if (!rs200FieldsDecode())
        m_dataMakesSense = false;

    const bool footPod = m_codecs.decodeFootPodIsOn();
    if (footPod && !m_codecs.decodePace())
        m_dataMakesSense = false;

    if (m_codecs.decodeNumberOfLaps() > 1
        && !m_codecs.checkLapData(footPod, m_codecs.decodeTotalTime().value_or(0)))
        m_dataMakesSense = false;

    return m_dataMakesSense;
}

bool ModelRecognizer::cs200FieldsDecode()
{
    bool &flag = m_dataMakesSense;
    return m_codecs.decodeSessionDate(CS200SessionLayout::kSessionDateIndex, flag)
           && m_codecs.decodeBirthdayDate(CS200SessionLayout::kBirthdayIndex, flag)
           && m_codecs.decodeSessionHR(CS200SessionLayout::kSessionHRIndex)
           && m_codecs.secondsx10From4Bytes(CS200SessionLayout::kTotalTimeIndex)
           && m_codecs.secondsx10From4Bytes(CS200SessionLayout::kRideTimeIndex)
           && m_codecs.decodeCS200Speed()
           && m_codecs.decodeCS200Cadence()
           && m_codecs.checkCS200Zones()
           && m_codecs.decodeCS200LimitType();
}

bool ModelRecognizer::checkCS200Data()
{
    m_dataMakesSense = true;
    if (!cs200FieldsDecode())
        m_dataMakesSense = false;
    return m_dataMakesSense;
}
