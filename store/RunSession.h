#pragma once

#include "EntityKey.h"
#include "Lap.h"
#include "LimitZone.h"
#include "SportZone.h"
#include "TextAttributes.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <span>
#include <vector>

// One training session with its laps and zones, as a plain value.
// Layouts fill a RunSession and hand it to ObjectContext::insertSession();
// once in the context it is changed only through the context, which keeps
// undo and change signals. Every key is optional: absent is not 0.
// Units: times in tenths of a second, heart rates in bpm, paces in tenths of a
// second per km, RS200 distances in metres, CS200 distances and speeds in the
// watch's own counting, weight in tenths of a pound, length in cm.
// Any thread; the derived values read the current default QLocale.
class VXUnits;

class RunSession
{
public:
    std::optional<QString> hrm;
    std::optional<QDateTime> importDate;
    std::optional<QDateTime> sessionDate;
    std::optional<QString> sessionName;
    std::optional<int> sessionTotalTime;
    std::optional<int> sessionRideTime;
    std::optional<int> sessionAverageHR;
    std::optional<int> sessionMaxHR;
    std::optional<int> sessionMaxSetHR;
    std::optional<int> sessionCalories;
    std::optional<int> sessionFat;
    std::optional<int> sessionMaxPace;
    std::optional<int> sessionMaxSpeed;
    std::optional<int> sessionAverageCadence;
    std::optional<int> sessionMaxCadence;
    std::optional<QString> sessionLimitType;
    std::optional<bool> sessionPaceData;
    std::optional<int> sessionLaps;
    std::optional<int> userWeight;
    std::optional<int> userLength;
    std::optional<QDateTime> userBirthday;
    std::optional<int> userMaxHR;
    std::optional<int> userSittingHR;
    std::optional<int> userVO2Max;
    std::optional<QString> userSex;
    std::optional<QString> userActivityLevel;
    std::optional<bool> hidden;
    std::optional<QString> comment;
    // The mark of a session from a noisy transfer, whose values may be wrong:
    // the transfer's smallest decision margin in thousandths (1000 is the
    // smallest called clear), so a later transfer can be told better or
    // worse. Absent for a confident transfer and once the user checked the values.
    std::optional<int> noisyTransferMargin;

    // The relations. They are sets: their order means nothing, so find a
    // member by its number with the helpers below, never by position.
    std::vector<Lap> lap;
    std::vector<SportZone> sportZone;
    std::vector<LimitZone> limitZone;

    // The stored distance: metres (RS200) or watch distance (CS200). Layouts
    // write it here, bypassing the unit conversion of setSessionTotalDistance().
    std::optional<int> primitiveSessionTotalDistance() const { return m_sessionTotalDistance; }
    void setPrimitiveSessionTotalDistance(std::optional<int> stored) { m_sessionTotalDistance = stored; }

    // Thousandths of the user's distance unit (metres or thousandths of a mile);
    // a CS200 distance unconverted; absent when nothing is stored. Truncated.
    std::optional<int> sessionTotalDistance() const;
    // The same in the given units, for readers that go over many sessions.
    std::optional<int> sessionTotalDistance(const VXUnits &units) const;
    // Takes thousandths of the user's unit; negative becomes 0, absent clears.
    void setSessionTotalDistance(std::optional<int> distance);

    // Tenths of a second per unit of distance (km, mile, or the CS200's unit,
    // over the ride time); 0 without a positive distance.
    int sessionAveragePace() const;

    bool isCS200() const;
    // hidden, with absent meaning NO.
    bool isHidden() const { return hidden.value_or(false); }
    bool isFromNoisyTransfer() const { return noisyTransferMargin.has_value(); }
    // Grey for a hidden session, black otherwise.
    QColor hiddenColor() const;
    // A hidden session's row text when selected (white) and unselected (grey).
    static TextAttributes hiddenSelectedAttributes();
    static TextAttributes hiddenAttributes();

    // The member whose lapNumber / zoneNumber is number, or nullptr.
    const Lap *lapWithNumber(int number) const;
    const SportZone *sportZoneWithNumber(int number) const;
    const LimitZone *limitZoneWithNumber(int number) const;

    // Access by name. value() and setValue() go through the derived accessors
    // (sessionTotalDistance converted, sessionAveragePace computed and
    // read-only); the primitive pair reads and writes the stored value.
    // Reads give an invalid QVariant for an absent or unknown key; writes
    // answer false for an unknown or read-only key or an unconvertible value.
    QVariant value(QStringView key) const;
    bool setValue(QStringView key, const QVariant &value);
    QVariant primitiveValue(QStringView key) const;
    bool setPrimitiveValue(QStringView key, const QVariant &value);

    // Every stored attribute key, in the order of the data model (relations
    // and derived values are not in it).
    static std::span<const EntityKey<RunSession>> keys();
    // Tells one stored session from another: model, start date, total time,
    // calories and average heart rate, the keys a later import repeats exactly.
    struct Identity
    {
        std::optional<QString> hrm;
        std::optional<qint64> start; // milliseconds since the epoch
        int offset = 0;
        std::optional<int> totalTime, calories, averageHR;
        bool operator==(const Identity &) const = default;
    };
    Identity identity() const;
    // The derived keys whose value a change of key changes too.
    static QStringList keysDependentOn(QStringView key);

    bool operator==(const RunSession &) const = default;

private:
    std::optional<int> m_sessionTotalDistance;
};

size_t qHash(const RunSession::Identity &identity, size_t seed = 0);

