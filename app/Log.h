#pragma once

#include <QLoggingCategory>

// Diagnostics of the windows and the program's start: warnings only, unless
// QT_LOGGING_RULES asks for more ("tolm.app.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcApp)
