#pragma once

#include <QDateTime>

#include <functional>

// Gives the session layouts the moment of a transfer for importDate; tests
// inject a fixed one.
using SessionClock = std::function<QDateTime()>;
