#pragma once

#include "platform/MessageBoxes.h"
#include "platform/Platform.h"

#include <QList>
#include <QString>
#include <memory>

namespace tolm::app {

// Windows first, then the news. While the shelf windows of a start are being
// made, it stands in for the message boxes: notices (a file that could not be
// loaded, a program that "Ejecutar automáticamente" could not start, a folder
// that cannot be locked) wait, and once the windows are up they come in one
// box. A login whose autorun program is gone still shows the whole shelf at
// once. A question is never held: what asked it needs the answer to go on.
class NoticesAfterWindows : public platform::MessageBoxes {
public:
    NoticesAfterWindows();
    // Puts the message boxes back; what is still held goes to standard error.
    ~NoticesAfterWindows() override;
    NoticesAfterWindows(const NoticesAfterWindows&) = delete;
    NoticesAfterWindows& operator=(const NoticesAfterWindows&) = delete;

    void notice(const QString& caption, const QString& text, Kind kind) override;
    platform::Answer question(const QString& caption, const QString& text) override;

    // Puts the message boxes back and says what was held, in one box.
    void release();

private:
    struct Held {
        QString caption;
        QString text;
        Kind kind { Kind::Warning };
    };
    QList<Held> m_held;
    platform::MessageBoxes* m_boxes;
    std::unique_ptr<platform::ScopedServices> m_standIn;
};

} // namespace tolm::app
