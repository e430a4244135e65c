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
};

} // namespace tolm::platform
