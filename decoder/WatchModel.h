#pragma once

#include <QString>

// The watches whose transfers the decoder recognises, in the order it tries them.
enum class WatchModel { F6, RS200, CS200 };

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
