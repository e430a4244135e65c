#pragma once

#include "platform/MessageBoxes.h"

namespace tolm::platform {

// QMessageBox.
class LinuxMessageBoxes : public MessageBoxes {
public:
    void notice(const QString& caption, const QString& text, Kind kind) override;
    Answer question(const QString& caption, const QString& text) override;
    Answer choice(const QString& caption, const QString& text, const QString& okText,
        const QString& cancelText) override;
};

} // namespace tolm::platform
