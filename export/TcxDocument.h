#pragma once

#include "TcxActivity.h"

#include <QByteArray>

// A Training Center database (TCX, version 2) holding one activity, as UTF-8
// without a byte-order mark. Elements follow the schema's order; speeds and
// the bike cadence maximum go into the ActivityExtension (version 2) lap
// extension. Numbers always use "." as decimal point. Pure; any thread.
class TcxDocument
{
public:
    // creator is the version of the application that writes the file.
    struct Version
    {
        int major = 0;
        int minor = 0;
        int build = 0;
    };

    static QByteArray text(const TcxActivity &activity, Version creator);

    // The version this build of Ventrix was made as.
    static Version applicationVersion();
};
