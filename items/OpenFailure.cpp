#include "items/OpenFailure.h"

#include "items/Log.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"

#include <QCoreApplication>

namespace tolm::items {

namespace {

// The context the failures' texts are translated in.
struct OpenFailure {
    Q_DECLARE_TR_FUNCTIONS(OpenFailure)
};

QString reasonText(const platform::ShellResult& result)
{
    using platform::ShellFailure;
    switch (result.reason) {
    case ShellFailure::None:
    case ShellFailure::CannotStart:
        break;
    case ShellFailure::NothingToOpen:
        return OpenFailure::tr("No tiene ningún programa ni documento que abrir.");
    case ShellFailure::NotFound:
        return OpenFailure::tr("No se encuentra %1.").arg(result.subject);
    case ShellFailure::NoStartFolder:
        return OpenFailure::tr("Su carpeta de inicio, %1, no existe.").arg(result.subject);
    case ShellFailure::NotInstalled:
        return OpenFailure::tr("El programa %1 no está instalado.").arg(result.subject);
    case ShellFailure::BrokenEntry:
        return OpenFailure::tr("%1 no es una entrada de escritorio que se pueda abrir.").arg(result.subject);
    case ShellFailure::UnreadableEntry:
        return OpenFailure::tr("No se puede leer %1: %2.").arg(result.subject, result.detail);
    case ShellFailure::NoOpener:
        return result.subject == u"xdg-open"
            ? OpenFailure::tr("Falta xdg-open, que abre documentos y carpetas (paquete xdg-utils).")
            : OpenFailure::tr("Ningún programa está asociado a %1.").arg(result.subject);
    case ShellFailure::NoTerminal:
        return OpenFailure::tr("No se encuentra el terminal %1 en el que debe ejecutarse.")
            .arg(result.subject);
    case ShellFailure::NoSettings:
        return OpenFailure::tr("No hay instalado ningún programa de configuración para ello.");
    }
    return OpenFailure::tr("No se pudo iniciar %1.").arg(result.subject);
}

// How long the same failure stays said.
constexpr qint64 kQuietMs = 5000;

} // namespace

void reportOpenFailure(const platform::ShellResult& result, const QString& failed)
{
    if (result.ok)
        return;
    qCWarning(lcItems, "cannot open: %s", qPrintable(result.error));
    const QString text = failed + QStringLiteral("\n\n") + reasonText(result);
    platform::Clock& clock = *platform::services().clock;
    ShelfState* state = ShelfState::exists() ? &ShelfState::get() : nullptr;
    if (state && text == state->lastFailureTold && state->lastFailureToldAt.isValid()) {
        const qint64 since = state->lastFailureToldAt.msecsTo(clock.now());
        if (since >= 0 && since < kQuietMs)
            return;
    }
    platform::services().messageBoxes->notice(
        QStringLiteral("Tolm"), text, platform::MessageBoxes::Kind::Critical);
    // The quiet time counts from when the box was closed.
    if (state) {
        state->lastFailureTold = text;
        state->lastFailureToldAt = clock.now();
    }
}

QString itemNotOpened(const TSpButton& item)
{
    QString name = item.Caption().trimmed();
    if (name.isEmpty())
        name = item.Hint().trimmed();
    if (name.isEmpty())
        name = item.Comando().trimmed();
    return OpenFailure::tr("No se puede abrir «%1».").arg(name);
}

} // namespace tolm::items
