#pragma once

#include <QLoggingCategory>

// Diagnostics of the platform services: warnings only, unless
// QT_LOGGING_RULES asks for more ("tolm.platform.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
