#pragma once

#include <QJsonObject>

class Lap;
class LimitZone;
class RunSession;
class SportZone;

// The JSON form of the entities, as ventrix-decode --json prints them: every
// stored key that has a value under its key name (integers as numbers,
// booleans as true/false, strings, dates "YYYY-MM-DDTHH:MM:SS" in local time).
// A session adds "lap", "sportZone" and "limitZone" as arrays sorted by
// lapNumber / zoneNumber (members without a number first, in stored order);
// a relation is always present, an empty one as []. Derived values are not
// included; sessionTotalDistance is the stored value. Any thread.
QJsonObject toJson(const RunSession &session);
QJsonObject toJson(const Lap &lap);
QJsonObject toJson(const SportZone &zone);
QJsonObject toJson(const LimitZone &zone);
