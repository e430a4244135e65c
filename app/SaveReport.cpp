#include "app/SaveReport.h"

#include "app/Messages.h"

#include <QCoreApplication>

namespace tolm::app {

void SaveReport::show() const
{
    if (!any())
        return;
    showError(text()
        + QCoreApplication::translate("SaveReport",
            "\n\nLo que contienen las ventanas sigue abierto; Tolm volverá a "
            "guardarlo en cuanto se pueda escribir el fichero."));
}

QString SaveReport::failedLine(const QString& file, const QString& reason)
{
    return QCoreApplication::translate("SaveReport", "No se puede guardar el fichero %1: %2")
        .arg(file, reason);
}

QString SaveReport::reason(const std::string& storeError)
{
    const QString text = QString::fromStdString(storeError);
    const qsizetype colon = text.lastIndexOf(QLatin1String(": "));
    return colon < 0 ? text : text.mid(colon + 2);
}

} // namespace tolm::app
