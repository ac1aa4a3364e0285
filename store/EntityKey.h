#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <limits>
#include <optional>
#include <span>
#include <type_traits>
#include <variant>

// One stored key of an entity: its name, its value type and the member that
// holds it. Each entity has one table of these (Entity::keys()); the store
// file, the JSON output and the export go by name through that table.
// Plain constant data; any thread.

enum class ValueType { Integer, Boolean, String, Date };

template <typename Entity>
struct EntityKey
{
    // The alternatives are in the order of ValueType, so type() is the index.
    using Member = std::variant<std::optional<int> Entity::*,
                                std::optional<bool> Entity::*,
                                std::optional<QString> Entity::*,
                                std::optional<QDateTime> Entity::*>;

    const char *name;
    Member member;

    ValueType type() const { return static_cast<ValueType>(member.index()); }

    // The stored value, or an invalid QVariant when the key has no value.
    QVariant value(const Entity &entity) const
    {
        return std::visit([&entity](auto pointer) {
            const auto &field = entity.*pointer;
            return field ? QVariant::fromValue(*field) : QVariant();
        }, member);
    }

    // Stores value converted to the key's type; an invalid or null QVariant
    // clears the key. Returns false (and leaves the entity as it was) when the
    // value cannot be converted: a non-numeric text, a number outside 32 bits,
    // an invalid date.
    bool setValue(Entity &entity, const QVariant &value) const
    {
        return std::visit([&entity, &value](auto pointer) {
            auto &field = entity.*pointer;
            using Field = std::remove_reference_t<decltype(field)>;
            if (!value.isValid() || value.isNull()) {
                field.reset();
                return true;
            }
            std::optional<typename Field::value_type> converted = convert<typename Field::value_type>(value);
            if (!converted)
                return false;
            field = std::move(converted);
            return true;
        }, member);
    }

    template <typename T>
    static std::optional<T> convert(const QVariant &value)
    {
        if constexpr (std::is_same_v<T, int>) {
            if (value.typeId() == QMetaType::Bool)
                return std::nullopt;
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
                return std::nullopt;
            return static_cast<int>(number);
        } else if constexpr (std::is_same_v<T, bool>) {
            const int type = value.typeId();
            if (type == QMetaType::Bool || type == QMetaType::Int || type == QMetaType::LongLong
                || type == QMetaType::UInt || type == QMetaType::ULongLong)
                return value.toBool();
            if (type == QMetaType::QString) {
                const QString text = value.toString();
                if (text == u"true" || text == u"1")
                    return true;
                if (text == u"false" || text == u"0")
                    return false;
            }
            return std::nullopt;
        } else if constexpr (std::is_same_v<T, QString>) {
            if (!value.canConvert<QString>())
                return std::nullopt;
            return value.toString();
        } else {
            const QDateTime date = value.toDateTime();
            if (!date.isValid())
                return std::nullopt;
            return date;
        }
    }
};

// The key of table named name, or nullptr.
template <typename Entity>
const EntityKey<Entity> *findKey(std::span<const EntityKey<Entity>> table, QStringView name)
{
    for (const EntityKey<Entity> &key : table) {
        if (name == QLatin1StringView(key.name))
            return &key;
    }
    return nullptr;
}
