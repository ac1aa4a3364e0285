#pragma once

#include <QString>

#include <optional>

// The watches whose transfers Ventrix reads, in the order the decoder tries
// them. A session's hrm holds the model's name; compare models through this
// type, never by their text.
enum class WatchModel { F6, RS200, CS200 };

// "F6", "RS200" or "CS200": the text stored in hrm and shown to the user.
inline QString watchModelName(WatchModel model)
{
    switch (model) {
    case WatchModel::F6:
        return QStringLiteral("F6");
    case WatchModel::RS200:
        return QStringLiteral("RS200");
    case WatchModel::CS200:
        return QStringLiteral("CS200");
    }
    return {};
}

// The model an hrm text names; none for an absent or unknown text.
inline std::optional<WatchModel> watchModelFromName(const std::optional<QString> &name)
{
    for (WatchModel model : {WatchModel::F6, WatchModel::RS200, WatchModel::CS200})
        if (name && *name == watchModelName(model))
            return model;
    return std::nullopt;
}
