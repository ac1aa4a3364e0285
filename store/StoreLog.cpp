#include "StoreLog.h"

Q_LOGGING_CATEGORY(lcVentrixStore, "ventrix.store", QtInfoMsg)
