#pragma once

#include <QLoggingCategory>

// The store's progress of conversion and backup: "ventrix.store", one message
// per line, at info level.
Q_DECLARE_LOGGING_CATEGORY(lcVentrixStore)
