#pragma once

#include <QStringList>

// Stands in for the entity model, which the delegate creates before the
// coordinator: the names of the entities the store keeps. Their keys live in
// each entity's key table (RunSession::keys(), ...). Any thread.
struct ManagedObjectModel
{
    QStringList entityNames;

    static ManagedObjectModel sessionModel()
    {
        return {{QStringLiteral("RunSession"), QStringLiteral("Lap"), QStringLiteral("SportZone"),
                 QStringLiteral("LimitZone")}};
    }
};
