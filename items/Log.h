#pragma once

#include <QLoggingCategory>

// Diagnostics of the items: warnings only, unless QT_LOGGING_RULES asks
// for more ("tolm.items.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcItems)
