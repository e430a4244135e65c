#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcPlatform, "tolm.platform", QtWarningMsg)
