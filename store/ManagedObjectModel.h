#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Stands in for the entity model: which entities the store keeps, with their
// stored keys and relations, taken from the entities' key tables. Any thread.
struct ManagedObjectModel
{
    struct Entity
    {
        QString name;
        QStringList attributeKeys;
        QStringList relationKeys;
    };

    QList<Entity> entities;

    // RunSession with its relations lap, sportZone and limitZone, and the
    // entities Lap, SportZone and LimitZone.
    static ManagedObjectModel sessionModel();
    const Entity *entity(const QString &name) const;
};
