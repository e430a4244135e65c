#pragma once

#include <QString>

namespace tolm::platform {

enum class Answer { Ok, Cancel };

// Modal message boxes over the active window, with a caption and a text.
class MessageBoxes {
public:
    // The icon of a notice: a warning for what the user should know, a
    // critical sign for an operation that failed outright.
    enum class Kind { Warning, Critical };

    virtual ~MessageBoxes() = default;
    // A box with an OK button.
    virtual void notice(const QString& caption, const QString& text, Kind kind) = 0;
    // A box with OK and Cancel; Cancel is the default button, and closing the
    // box answers Cancel too.
    virtual Answer question(const QString& caption, const QString& text) = 0;
    // A box whose two buttons say what each does: `okText` answers Ok,
    // `cancelText` (the default button, and closing the box) Cancel.
    virtual Answer choice(
        const QString& caption, const QString& text, const QString& okText, const QString& cancelText)
    {
        (void)okText;
        (void)cancelText;
        return question(caption, text);
    }
};

} // namespace tolm::platform
