#include "app/Messages.h"

#include "platform/Platform.h"

namespace tolm::app {

namespace {

int boxesOpen = 0;

// Counts a box while it is open.
struct OpenBox {
    OpenBox() { ++boxesOpen; }
    ~OpenBox() { --boxesOpen; }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

} // namespace

void showMessage(const QString& caption, const QString& text)
{
    const OpenBox open;
    platform::services().messageBoxes->notice(caption, text, platform::MessageBoxes::Kind::Warning);
}

bool askOkCancel(const QString& caption, const QString& text)
{
    const OpenBox open;
    return platform::services().messageBoxes->question(caption, text) == platform::Answer::Ok;
}

bool aBoxIsOpen()
{
    return boxesOpen > 0;
}

void showError(const QString& text)
{
    showMessage(QStringLiteral("Tolm"), text);
}

} // namespace tolm::app
