#include "EntityJson.h"

#include "RunSession.h"
#include "StoreValueText.h"

#include <QJsonArray>

#include <algorithm>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");

QJsonValue jsonValue(const QVariant &value, ValueType type)
{
    switch (type) {
    case ValueType::Integer:
        return value.toInt();
    case ValueType::Boolean:
        return value.toBool();
    case ValueType::String:
        return value.toString();
    case ValueType::Date:
        return StoreValueText::resolvedDate(value.toDateTime()).toLocalTime().toString(kDateFormat);
    }
    return {};
}

template <typename Entity>
QJsonObject storedKeysToJson(const Entity &entity)
{
    QJsonObject object;
    for (const EntityKey<Entity> &key : Entity::keys()) {
        const QVariant value = key.value(entity);
        if (value.isValid())
            object.insert(QLatin1StringView(key.name), jsonValue(value, key.type()));
    }
    return object;
}

// Members without a number sort first; equal numbers keep their stored order.
template <typename Member>
QJsonArray sortedByNumber(const std::vector<Member> &members, std::optional<int> Member::*number)
{
    std::vector<const Member *> sorted;
    for (const Member &member : members)
        sorted.push_back(&member);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [number](const Member *a, const Member *b) { return a->*number < b->*number; });
    QJsonArray array;
    for (const Member *member : sorted)
        array.append(toJson(*member));
    return array;
}

} // namespace

QJsonObject toJson(const RunSession &session)
{
    QJsonObject object = storedKeysToJson(session);
    object.insert(QStringLiteral("lap"), sortedByNumber(session.lap, &Lap::lapNumber));
    object.insert(QStringLiteral("sportZone"), sortedByNumber(session.sportZone, &SportZone::zoneNumber));
    object.insert(QStringLiteral("limitZone"), sortedByNumber(session.limitZone, &LimitZone::zoneNumber));
    return object;
}

QJsonObject toJson(const Lap &lap)
{
    return storedKeysToJson(lap);
}

QJsonObject toJson(const SportZone &zone)
{
    return storedKeysToJson(zone);
}

QJsonObject toJson(const LimitZone &zone)
{
    return storedKeysToJson(zone);
}
