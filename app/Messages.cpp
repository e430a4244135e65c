#include "app/Messages.h"

#include <QMessageBox>

namespace tolm::app {

MessageHooks& messageHooks()
{
    static MessageHooks hooks;
    return hooks;
}

void showMessage(QWidget* parent, const QString& caption, const QString& text)
{
    if (messageHooks().handler) {
        messageHooks().handler(caption, text, false);
        return;
    }
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
}

bool askOkCancel(QWidget* parent, const QString& caption, const QString& text)
{
    if (messageHooks().handler)
        return messageHooks().handler(caption, text, true) == Answer::Ok;
    return QMessageBox::question(
               parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

void showError(QWidget* parent, const QString& text)
{
    showMessage(parent, QStringLiteral("Tolm"), text);
}

} // namespace tolm::app
