#pragma once

#include "StoreContents.h"
#include "StoreFileFormat.h"
#include "StoreValueText.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The one path from the elements of a store file (layout in StoreFileFormat.h)
// to StoreContents, shared by its two tokenizers: StoreFileReader's, which
// takes any XML through QXmlStreamReader, and StoreFileQuickReader's, which
// takes only the writer's own form but several times quicker. A tokenizer
// hands over each start tag with its attributes and each end tag; the builder
// checks where the element may stand and the limits, assigns every key to its
// member and words every refusal, so both readers read a file alike.
//
// Attribute is the tokenizer's view of one attribute: `name` and `value`
// (QStringView or QByteArrayView), text() (the value's characters, or none),
// integer() and boolean() (the value as the key's type, or none) and shown()
// (the value for a message). Any thread.
namespace StoreFileNames {

inline bool same(QStringView name, QLatin1StringView expected) { return name == expected; }
// The quick reader compares several names per attribute; a plain memcmp is
// what keeps it quick.
inline bool same(QByteArrayView name, QLatin1StringView expected)
{
    return name.size() == expected.size() && std::memcmp(name.data(), expected.data(), size_t(name.size())) == 0;
}
inline bool endsWith(QStringView name, QLatin1StringView suffix) { return name.endsWith(suffix); }
inline bool endsWith(QByteArrayView name, QLatin1StringView suffix)
{
    return name.size() >= suffix.size() && name.back() == suffix.back() && same(name.last(suffix.size()), suffix);
}
inline QString shown(QStringView name) { return name.toString(); }
inline QString shown(QByteArrayView name) { return QString::fromUtf8(name); }
inline QString owned(QStringView raw) { return raw.toString(); }
inline QByteArray owned(QByteArrayView raw) { return raw.toByteArray(); }

} // namespace StoreFileNames

template <typename Attribute>
class StoreContentsBuilder
{
public:
    using Name = decltype(Attribute::name);

    // False, with error() saying why, when the element may not stand here.
    bool startElement(Name name, std::span<const Attribute> attributes)
    {
        using namespace StoreFileFormat;
        using StoreFileNames::same;
        switch (m_level) {
        case Level::Before:
            if (!same(name, kRootElement))
                return fail(QStringLiteral("not a Ventrix session database"));
            m_level = Level::Root;
            return readFormatVersion(attributes);
        case Level::Root:
            if (same(name, kMetadataElement) && !m_haveMetadata) {
                m_haveMetadata = true;
                m_level = Level::Metadata;
                return attributes.empty() || fail(QStringLiteral("unexpected attribute of metadata"));
            }
            if (same(name, kSessionElement)) {
                m_level = Level::Session;
                return readSession(attributes);
            }
            break;
        case Level::Metadata:
            if (same(name, kEntryElement)) {
                m_level = Level::Entry;
                return readEntry(attributes);
            }
            break;
        case Level::Session:
            m_level = Level::Member;
            if (same(name, kLapElement))
                return readMember(m_laps, m_lapKeys, attributes);
            if (same(name, kSportZoneElement))
                return readMember(m_sportZones, m_sportZoneKeys, attributes);
            if (same(name, kLimitZoneElement))
                return readMember(m_limitZones, m_limitZoneKeys, attributes);
            return fail(QStringLiteral("unexpected element \"%1\" in a session").arg(StoreFileNames::shown(name)));
        case Level::Entry:
        case Level::Member:
        case Level::After:
            break;
        }
        return fail(QStringLiteral("unexpected element \"%1\"").arg(StoreFileNames::shown(name)));
    }

    // False when name does not close the element open now.
    bool endElement(Name name)
    {
        using namespace StoreFileFormat;
        switch (m_level) {
        case Level::Root:
            m_level = Level::After;
            return StoreFileNames::same(name, kRootElement) || mismatched();
        case Level::Metadata:
            m_level = Level::Root;
            return StoreFileNames::same(name, kMetadataElement) || mismatched();
        case Level::Entry:
            m_level = Level::Metadata;
            return StoreFileNames::same(name, kEntryElement) || mismatched();
        case Level::Session:
            m_level = Level::Root;
            endSession();
            return StoreFileNames::same(name, kSessionElement) || mismatched();
        case Level::Member:
            m_level = Level::Session;
            return StoreFileNames::same(name, m_memberElement) || mismatched();
        case Level::Before:
        case Level::After:
            break;
        }
        return mismatched();
    }

    // Inside the root element, where only elements and white space may stand.
    bool insideRoot() const { return m_level != Level::Before && m_level != Level::After; }
    // The root element has been read to its end.
    bool complete() const { return m_level == Level::After; }

    // A hint: the file holds about this many sessions.
    void reserveSessions(size_t count) { m_contents.sessions.reserve(count); }
    StoreContents take() { return std::move(m_contents); }
    const QString &error() const { return m_error; }

private:
    enum class Level { Before, Root, Metadata, Entry, Session, Member, After };

    // The last value read for one key, so that texts and dates repeated from
    // session to session (names, the model, the birthday) are converted once
    // and shared.
    struct CachedValue
    {
        decltype(StoreFileNames::owned(std::declval<Name>())) raw;
        bool encoded = false;
        std::optional<QString> text;
        std::optional<QDateTime> date;
    };

    // The attribute names of one entity's keys and the cache of each.
    template <typename Entity>
    struct KeyTable
    {
        std::span<const EntityKey<Entity>> keys = Entity::keys();
        std::vector<QLatin1StringView> names;
        std::vector<CachedValue> cache;
        QLatin1StringView element;

        explicit KeyTable(QLatin1StringView elementName) : element(elementName)
        {
            Q_ASSERT(keys.size() <= 64); // one bit per key in readKeys()
            for (const EntityKey<Entity> &key : keys)
                names.emplace_back(key.name);
            cache.resize(keys.size());
        }

        // The writer puts keys in table order, so searching on from the last
        // match finds the next one at once.
        std::optional<size_t> find(Name name, size_t &cursor) const
        {
            for (size_t step = 0; step < names.size(); ++step) {
                const size_t index = (cursor + step) % names.size();
                if (StoreFileNames::same(name, names[index])) {
                    cursor = index + 1;
                    return index;
                }
            }
            return std::nullopt;
        }
    };

    bool fail(const QString &reason)
    {
        m_error = reason;
        return false;
    }

    bool mismatched() { return fail(QStringLiteral("mismatched end tag")); }

    // A name with the suffix of a UTF-16-encoded text loses it.
    static bool chopEncodedSuffix(Name &name)
    {
        const QLatin1StringView suffix = StoreFileFormat::kEncodedSuffix;
        if (!StoreFileNames::endsWith(name, suffix))
            return false;
        name.chop(suffix.size());
        return true;
    }

    static std::optional<QString> textOf(const Attribute &attribute, bool encoded)
    {
        std::optional<QString> text = attribute.text();
        if (encoded && text)
            return StoreValueText::fromUtf16Hex(*text);
        return text;
    }

    bool readFormatVersion(std::span<const Attribute> attributes)
    {
        using namespace StoreFileFormat;
        if (attributes.size() != 1 || !StoreFileNames::same(attributes.front().name, kFormatVersionAttribute))
            return fail(QStringLiteral("the format version is missing"));
        const std::optional<int> version = attributes.front().integer();
        if (!version || *version < 1)
            return fail(QStringLiteral("invalid format version \"%1\"").arg(attributes.front().shown()));
        if (*version > kFormatVersion)
            return fail(QStringLiteral("the file was written by a newer version of Ventrix "
                                       "(file format %1; this version reads format %2 and older)")
                            .arg(*version)
                            .arg(kFormatVersion));
        return true;
    }

    bool readEntry(std::span<const Attribute> attributes)
    {
        using namespace StoreFileFormat;
        using StoreFileNames::same;
        std::optional<QString> key;
        std::optional<QString> type;
        std::optional<QString> text;
        for (const Attribute &attribute : attributes) {
            Name name = attribute.name;
            const bool encoded = chopEncodedSuffix(name);
            std::optional<QString> *slot = same(name, kEntryKey) ? &key : same(name, kEntryType) ? &type
                                         : same(name, kEntryValue) ? &text : nullptr;
            if (!slot || *slot || (encoded && slot == &type))
                return fail(QStringLiteral("unexpected attribute \"%1\" of a metadata entry")
                                .arg(StoreFileNames::shown(attribute.name)));
            *slot = textOf(attribute, encoded);
            if (!*slot)
                return fail(QStringLiteral("invalid encoded text in a metadata entry"));
        }
        if (!key || !type || !text)
            return fail(QStringLiteral("incomplete metadata entry"));
        if (m_contents.metadata.contains(*key))
            return fail(QStringLiteral("metadata key \"%1\" appears twice").arg(*key));
        const QVariant value = StoreValueText::toMetadataValue(*type, *text);
        if (!value.isValid())
            return fail(QStringLiteral("invalid %1 \"%2\" for metadata key \"%3\"").arg(*type, *text, *key));
        m_contents.metadata.insert(*key, value);
        return true;
    }

    bool readSession(std::span<const Attribute> attributes)
    {
        if (m_contents.sessions.size() >= StoreFileFormat::kMaxSessions)
            return fail(QStringLiteral("more than %1 sessions").arg(StoreFileFormat::kMaxSessions));
        m_laps.clear();
        m_sportZones.clear();
        m_limitZones.clear();
        return readKeys(m_contents.sessions.emplace_back(), m_sessionKeys, attributes);
    }

    void endSession()
    {
        // Gathered in reused buffers, so each relation is allocated once at its size.
        RunSession &session = m_contents.sessions.back();
        session.lap.assign(m_laps.begin(), m_laps.end());
        session.sportZone.assign(m_sportZones.begin(), m_sportZones.end());
        session.limitZone.assign(m_limitZones.begin(), m_limitZones.end());
    }

    template <typename Entity>
    bool readMember(std::vector<Entity> &members, KeyTable<Entity> &table, std::span<const Attribute> attributes)
    {
        m_memberElement = table.element;
        if (members.size() >= StoreFileFormat::kMaxMembersPerRelation)
            return fail(QStringLiteral("more than %1 members in one relation").arg(StoreFileFormat::kMaxMembersPerRelation));
        return readKeys(members.emplace_back(), table, attributes);
    }

    template <typename Entity>
    bool readKeys(Entity &entity, KeyTable<Entity> &table, std::span<const Attribute> attributes)
    {
        std::uint64_t seen = 0;
        size_t cursor = 0;
        for (const Attribute &attribute : attributes) {
            Name name = attribute.name;
            const bool encoded = chopEncodedSuffix(name);
            const std::optional<size_t> index = table.find(name, cursor);
            if (!index)
                return fail(QStringLiteral("unknown key \"%1\" in %2").arg(StoreFileNames::shown(attribute.name), table.element));
            if (seen & (std::uint64_t(1) << *index))
                return fail(QStringLiteral("key \"%1\" appears twice").arg(StoreFileNames::shown(name)));
            seen |= std::uint64_t(1) << *index;
            if (!setKey(entity, table.keys[*index], attribute, encoded, table.cache[*index]))
                return fail(QStringLiteral("invalid value \"%1\" for key \"%2\"").arg(attribute.shown(), StoreFileNames::shown(name)));
        }
        return true;
    }

    template <typename Entity>
    static bool setKey(Entity &entity, const EntityKey<Entity> &key, const Attribute &attribute, bool encoded,
                       CachedValue &cache)
    {
        return std::visit([&](auto member) {
            auto &field = entity.*member;
            using Value = typename std::remove_reference_t<decltype(field)>::value_type;
            if constexpr (std::is_same_v<Value, QString>) {
                if (!cache.text || cache.encoded != encoded || cache.raw != attribute.value) {
                    cache.text = textOf(attribute, encoded);
                    cache.raw = StoreFileNames::owned(attribute.value);
                    cache.encoded = encoded;
                }
                field = cache.text;
            } else if constexpr (std::is_same_v<Value, QDateTime>) {
                if (encoded)
                    return false;
                if (!cache.date || cache.raw != attribute.value) {
                    const std::optional<QString> text = attribute.text();
                    cache.date = text ? StoreValueText::toDate(*text) : std::nullopt;
                    cache.raw = StoreFileNames::owned(attribute.value);
                }
                field = cache.date;
            } else if constexpr (std::is_same_v<Value, int>) {
                field = encoded ? std::nullopt : attribute.integer();
            } else {
                field = encoded ? std::nullopt : attribute.boolean();
            }
            return field.has_value();
        }, key.member);
    }

    Level m_level = Level::Before;
    bool m_haveMetadata = false;
    QLatin1StringView m_memberElement;
    QString m_error;
    StoreContents m_contents;
    KeyTable<RunSession> m_sessionKeys{StoreFileFormat::kSessionElement};
    KeyTable<Lap> m_lapKeys{StoreFileFormat::kLapElement};
    KeyTable<SportZone> m_sportZoneKeys{StoreFileFormat::kSportZoneElement};
    KeyTable<LimitZone> m_limitZoneKeys{StoreFileFormat::kLimitZoneElement};
    std::vector<Lap> m_laps;
    std::vector<SportZone> m_sportZones;
    std::vector<LimitZone> m_limitZones;
};
