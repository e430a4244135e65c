#include "app/Messages.h"

#include "platform/Platform.h"

namespace tolm::app {

void showMessage(const QString& caption, const QString& text)
{
    platform::services().messageBoxes->notice(caption, text, platform::MessageBoxes::Kind::Warning);
}

bool askOkCancel(const QString& caption, const QString& text)
{
    return platform::services().messageBoxes->question(caption, text) == platform::Answer::Ok;
}

void showError(const QString& text)
{
    showMessage(QStringLiteral("Tolm"), text);
}

} // namespace tolm::app
