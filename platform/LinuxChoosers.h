#pragma once

#include "platform/Choosers.h"

namespace tolm::platform {

// Qt's file, font and colour dialogs.
class LinuxChoosers : public Choosers {
public:
    std::optional<QString> chooseFile(
        const QString& title, const QString& filters, const QString& folder) override;
    std::optional<QFont> chooseFont(const QFont& initial, const FontApplied& apply) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
};

} // namespace tolm::platform
