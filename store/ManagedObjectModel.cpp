#include "ManagedObjectModel.h"

#include "RunSession.h"

namespace {

template <typename Entity>
QStringList keyNames()
{
    QStringList names;
    for (const EntityKey<Entity> &key : Entity::keys())
        names.append(QString::fromLatin1(key.name));
    return names;
}

} // namespace

ManagedObjectModel ManagedObjectModel::sessionModel()
{
    return {{
        {QStringLiteral("RunSession"), keyNames<RunSession>(), RunSession::relationKeys()},
        {QStringLiteral("Lap"), keyNames<Lap>(), {}},
        {QStringLiteral("SportZone"), keyNames<SportZone>(), {}},
        {QStringLiteral("LimitZone"), keyNames<LimitZone>(), {}},
    }};
}

const ManagedObjectModel::Entity *ManagedObjectModel::entity(const QString &name) const
{
    for (const Entity &candidate : entities) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}
