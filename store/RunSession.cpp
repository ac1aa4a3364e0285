#include "RunSession.h"

#include "VXUnits.h"
#include "WatchModel.h"

#include <QLatin1StringView>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

const QLatin1StringView kSessionTotalDistance("sessionTotalDistance");
const QLatin1StringView kSessionAveragePace("sessionAveragePace");

constexpr double kThousandthsPerUnit = 1000.0;
constexpr double kTenthsPerSecond = 10.0;

// The platform's standard grey: white level 0.5, opaque.
QColor standardGrey()
{
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}

// Truncates towards zero like a C cast, but a value beyond 32 bits (a huge
// edited distance, a pace over a few metres) is held at the limit instead of
// being undefined behaviour.
int truncatedToInt(double value)
{
    const double truncated = std::trunc(value);
    if (truncated >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (truncated <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(truncated);
}

template <typename Member>
const Member *memberWithNumber(const std::vector<Member> &members, std::optional<int> Member::*number, int wanted)
{
    const auto found = std::find_if(members.begin(), members.end(),
                                    [&](const Member &member) { return member.*number == wanted; });
    return found == members.end() ? nullptr : &*found;
}

} // namespace

std::optional<int> RunSession::sessionTotalDistance() const
{
    return sessionTotalDistance(VXUnits());
}

std::optional<int> RunSession::sessionTotalDistance(const VXUnits &units) const
{
    if (!m_sessionTotalDistance)
        return std::nullopt;
    if (isCS200())
        return m_sessionTotalDistance;
    return truncatedToInt(*m_sessionTotalDistance * units.kmToMilesFactor());
}

void RunSession::setSessionTotalDistance(std::optional<int> distance)
{
    if (!distance) {
        m_sessionTotalDistance.reset();
        return;
    }
    if (*distance < 0) {
        m_sessionTotalDistance = 0;
        return;
    }
    if (isCS200()) {
        m_sessionTotalDistance = distance;
        return;
    }
    m_sessionTotalDistance = truncatedToInt(*distance / VXUnits().kmToMilesFactor());
}

int RunSession::sessionAveragePace() const
{
    const double storedDistance = m_sessionTotalDistance.value_or(0) / kThousandthsPerUnit;
    double seconds = 0;
    double distance = 0;
    if (isCS200()) {
        seconds = sessionRideTime.value_or(0) / kTenthsPerSecond;
        distance = storedDistance;
    } else {
        seconds = sessionTotalTime.value_or(0) / kTenthsPerSecond;
        distance = storedDistance * VXUnits().kmToMilesFactor();
    }
    if (distance <= 0)
        return 0;
    return truncatedToInt(seconds / distance * kTenthsPerSecond);
}

bool RunSession::isCS200() const
{
    return watchModelFromName(hrm) == WatchModel::CS200;
}

QColor RunSession::hiddenColor() const
{
    return isHidden() ? standardGrey() : QColor(Qt::black);
}

TextAttributes RunSession::hiddenSelectedAttributes()
{
    return {QColor(Qt::white)};
}

TextAttributes RunSession::hiddenAttributes()
{
    return {standardGrey()};
}

const Lap *RunSession::lapWithNumber(int number) const
{
    return memberWithNumber(lap, &Lap::lapNumber, number);
}

const SportZone *RunSession::sportZoneWithNumber(int number) const
{
    return memberWithNumber(sportZone, &SportZone::zoneNumber, number);
}

const LimitZone *RunSession::limitZoneWithNumber(int number) const
{
    return memberWithNumber(limitZone, &LimitZone::zoneNumber, number);
}

QVariant RunSession::value(QStringView key) const
{
    if (key == kSessionTotalDistance) {
        const std::optional<int> distance = sessionTotalDistance();
        return distance ? QVariant(*distance) : QVariant();
    }
    if (key == kSessionAveragePace)
        return sessionAveragePace();
    return primitiveValue(key);
}

bool RunSession::setValue(QStringView key, const QVariant &value)
{
    if (key == kSessionTotalDistance) {
        if (!value.isValid() || value.isNull()) {
            setSessionTotalDistance(std::nullopt);
            return true;
        }
        const std::optional<int> distance = EntityKey<RunSession>::convert<int>(value);
        if (!distance)
            return false;
        setSessionTotalDistance(distance);
        return true;
    }
    return setPrimitiveValue(key, value);
}

QVariant RunSession::primitiveValue(QStringView key) const
{
    const EntityKey<RunSession> *entityKey = findKey(keys(), key);
    return entityKey ? entityKey->value(*this) : QVariant();
}

bool RunSession::setPrimitiveValue(QStringView key, const QVariant &value)
{
    const EntityKey<RunSession> *entityKey = findKey(keys(), key);
    return entityKey && entityKey->setValue(*this, value);
}

std::span<const EntityKey<RunSession>> RunSession::keys()
{
    static const std::array<EntityKey<RunSession>, 30> table{{
        {"hrm", &RunSession::hrm},
        {"importDate", &RunSession::importDate},
        {"sessionDate", &RunSession::sessionDate},
        {"sessionName", &RunSession::sessionName},
        {"sessionTotalTime", &RunSession::sessionTotalTime},
        {"sessionRideTime", &RunSession::sessionRideTime},
        {"sessionAverageHR", &RunSession::sessionAverageHR},
        {"sessionMaxHR", &RunSession::sessionMaxHR},
        {"sessionMaxSetHR", &RunSession::sessionMaxSetHR},
        {"sessionCalories", &RunSession::sessionCalories},
        {"sessionFat", &RunSession::sessionFat},
        {"sessionTotalDistance", &RunSession::m_sessionTotalDistance},
        {"sessionMaxPace", &RunSession::sessionMaxPace},
        {"sessionMaxSpeed", &RunSession::sessionMaxSpeed},
        {"sessionAverageCadence", &RunSession::sessionAverageCadence},
        {"sessionMaxCadence", &RunSession::sessionMaxCadence},
        {"sessionLimitType", &RunSession::sessionLimitType},
        {"sessionPaceData", &RunSession::sessionPaceData},
        {"sessionLaps", &RunSession::sessionLaps},
        {"userWeight", &RunSession::userWeight},
        {"userLength", &RunSession::userLength},
        {"userBirthday", &RunSession::userBirthday},
        {"userMaxHR", &RunSession::userMaxHR},
        {"userSittingHR", &RunSession::userSittingHR},
        {"userVO2Max", &RunSession::userVO2Max},
        {"userSex", &RunSession::userSex},
        {"userActivityLevel", &RunSession::userActivityLevel},
        {"hidden", &RunSession::hidden},
        {"comment", &RunSession::comment},
        {"noisyTransferMargin", &RunSession::noisyTransferMargin},
    }};
    return table;
}

QStringList RunSession::keysDependentOn(QStringView key)
{
    // The average pace is computed from all of these: an edited model name or
    // time changes it just as an edited distance does.
    static const std::array<QLatin1StringView, 4> paceInputs{
        kSessionTotalDistance, QLatin1StringView("sessionTotalTime"),
        QLatin1StringView("sessionRideTime"), QLatin1StringView("hrm")};
    const bool isPaceInput = std::any_of(paceInputs.begin(), paceInputs.end(),
                                         [key](QLatin1StringView input) { return key == input; });
    return isPaceInput ? QStringList{kSessionAveragePace} : QStringList{};
}

RunSession::Identity RunSession::identity() const
{
    Identity identity{hrm, std::nullopt, 0, sessionTotalTime, sessionCalories, sessionAverageHR};
    if (sessionDate && sessionDate->isValid()) {
        identity.start = sessionDate->toMSecsSinceEpoch();
        identity.offset = sessionDate->offsetFromUtc();
    }
    return identity;
}

size_t qHash(const RunSession::Identity &identity, size_t seed)
{
    return qHashMulti(seed, identity.hrm.value_or(QString()), identity.start.value_or(0), identity.offset,
                      identity.totalTime.value_or(-1), identity.calories.value_or(-1), identity.averageHR.value_or(-1));
}
