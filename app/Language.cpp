#include "app/Language.h"

#include "app/Log.h"
#include "platform/DesktopEntry.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace tolm::app {

namespace {

// The language the texts are written in needs no catalogue.
const QString kSourceLanguage = QStringLiteral("es");

QString catalogue(const QString& language)
{
    return QStringLiteral(":/i18n/tolm_%1.qm").arg(language);
}

bool installCatalogue(QObject* owner, const QString& name, const QString& folder = {})
{
    auto* translator = new QTranslator(owner);
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

QString chooseLanguage(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        // "es-ES", "de_DE.UTF-8", "pt-BR": the language is the first part,
        // the country the second.
        const QString locale = name.section(u'.', 0, 0).section(u'@', 0, 0).replace(u'-', u'_');
        const QString language = locale.section(u'_', 0, 0).toLower();
        if (language.isEmpty() || language == u"c" || language == u"posix")
            continue;
        if (language == kSourceLanguage || QFile::exists(catalogue(language))) {
            const QString country = locale.section(u'_', 1, 1);
            return country.isEmpty() ? language : language + u'_' + country.toUpper();
        }
    }
    return QStringLiteral("en");
}

void useLanguage(const QString& locale)
{
    platform::DesktopEntry::setShownLocale(locale);
    const Catalogues found = installCatalogues(locale, QCoreApplication::instance());
    if (!found.tolm)
        qCWarning(
            lcApp, "no catalogue for the language of %s; the texts stay in Spanish", qPrintable(locale));
}

Catalogues installCatalogues(const QString& locale, QObject* owner)
{
    const QString language = locale.section(u'_', 0, 0);
    Catalogues found;
    // Qt's catalogue is optional (Debian's qt6-translations-l10n): without
    // it Qt's buttons stay in English, which is no reason to stop.
    found.qt = installCatalogue(
        owner, QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    found.tolm = language == kSourceLanguage || installCatalogue(owner, catalogue(language));
    return found;
}

} // namespace tolm::app
