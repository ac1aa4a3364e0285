#pragma once

#include <cstddef>

#include <QLatin1StringView>

// Names and limits of the store file "Ventrix.xml", shared by its reader and
// writer. The layout:
//
//   <VentrixStore formatVersion="1">
//     <metadata><entry key="VXDataVersion" type="integer" value="2"/></metadata>
//     <RunSession hrm="RS200" sessionDate="2008-07-03T18:05:33+02:00[local]" ...>
//       <lap lapNumber="1" .../> <sportZone .../> <limitZone .../>
//     </RunSession>
//   </VentrixStore>
//
// A key is an attribute named after it; an absent key has no attribute, so
// absent and 0 stay apart. A text that XML cannot carry (control characters,
// lone surrogates) is written as "<key>.utf16" with its UTF-16 code units in hex.
// Dates keep their kind of time: "...+02:00" (fixed offset), "...Z" (UTC),
// "...+02:00[local]" (system time) or "...+02:00[Europe/Berlin]" (named zone).
namespace StoreFileFormat {

// Raised whenever a change would make older readers misread the file; a
// reader refuses files with a higher number instead of guessing.
constexpr int kFormatVersion = 1;

// A database of a hundred thousand sessions stays far below this; anything
// larger is not ours and would only exhaust memory.
constexpr qint64 kMaxFileSize = qint64(512) * 1024 * 1024;
// A session a day for five hundred years; a file of empty session tags could
// otherwise ask for many gigabytes within the size limit above.
constexpr std::size_t kMaxSessions = 200000;
// A watch counts laps in one byte and has at most five zones; room to spare.
constexpr std::size_t kMaxMembersPerRelation = 1000;
// More than any entity has keys; a general XML parser checks attributes for
// repeats in time that grows with the square of their count, so a tag with
// more is refused before it gets there.
constexpr int kMaxAttributesPerElement = 64;

inline constexpr QLatin1StringView kRootElement("VentrixStore");
inline constexpr QLatin1StringView kFormatVersionAttribute("formatVersion");
inline constexpr QLatin1StringView kMetadataElement("metadata");
inline constexpr QLatin1StringView kEntryElement("entry");
inline constexpr QLatin1StringView kEntryKey("key");
inline constexpr QLatin1StringView kEntryType("type");
inline constexpr QLatin1StringView kEntryValue("value");
inline constexpr QLatin1StringView kSessionElement("RunSession");
inline constexpr QLatin1StringView kLapElement("lap");
inline constexpr QLatin1StringView kSportZoneElement("sportZone");
inline constexpr QLatin1StringView kLimitZoneElement("limitZone");
inline constexpr QLatin1StringView kEncodedSuffix(".utf16");

inline constexpr QLatin1StringView kTypeInteger("integer");
inline constexpr QLatin1StringView kTypeReal("real");
inline constexpr QLatin1StringView kTypeBoolean("boolean");
inline constexpr QLatin1StringView kTypeString("string");
inline constexpr QLatin1StringView kTypeDate("date");

inline constexpr QLatin1StringView kTrue("true");
inline constexpr QLatin1StringView kFalse("false");
inline constexpr QLatin1StringView kInvalidDate("invalid");
inline constexpr QLatin1StringView kLocalZone("local");

} // namespace StoreFileFormat
