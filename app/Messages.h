#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tolm::app {

// The program's message boxes go through here so tests can answer them.
enum class Answer { Ok, Cancel };

struct MessageHooks {
    // When set, called instead of showing a box; the return value is the answer.
    std::function<Answer(const QString& caption, const QString& text, bool okCancel)> handler;
};
MessageHooks& messageHooks();

// A box with an OK button (an error or a notice).
void showMessage(QWidget* parent, const QString& caption, const QString& text);
// A box with OK and Cancel; true for OK.
bool askOkCancel(QWidget* parent, const QString& caption, const QString& text);
// How an unexpected error is reported: the program's title as caption.
void showError(QWidget* parent, const QString& text);

} // namespace tolm::app
