#include "platform/LinuxMessageBoxes.h"

#include "platform/DialogParent.h"

#include <QMessageBox>

namespace tolm::platform {

void LinuxMessageBoxes::notice(const QString& caption, const QString& text, Kind kind)
{
    if (kind == Kind::Critical)
        QMessageBox::critical(dialogParent(), caption, text, QMessageBox::Ok);
    else
        QMessageBox::warning(dialogParent(), caption, text, QMessageBox::Ok);
}

Answer LinuxMessageBoxes::question(const QString& caption, const QString& text)
{
    const auto button = QMessageBox::question(
        dialogParent(), caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

} // namespace tolm::platform
