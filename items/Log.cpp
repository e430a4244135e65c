#include "items/Log.h"

Q_LOGGING_CATEGORY(lcItems, "tolm.items", QtWarningMsg)
