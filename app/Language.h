#pragma once

#include <QString>
#include <QStringList>

class QObject;

namespace tolm::app {

// The language Tolm speaks, as a locale name ("es", "es_ES", "en_GB"): the
// first of the user's languages (most wanted first, as QLocale::uiLanguages()
// lists them) that Tolm has texts in, English when it has none of them.
// Tolm's own texts are written in Spanish; every other language is a
// catalogue in :/i18n.
QString chooseLanguage(const QStringList& uiLanguages);

// Makes the application speak that language: Tolm's texts, Qt's own
// (message box buttons, standard dialogs) when the system has Qt's catalogue
// for it, and the names and comments of desktop entries made into launchers.
// Dates, times and numbers keep the formats of the user's locale.
void useLanguage(const QString& locale);

// What installCatalogues() found.
struct Catalogues {
    bool tolm { false }; // Tolm's own, or none needed (Spanish)
    bool qt { false }; // Qt's, from the system's Qt translations
};
// Installs the catalogues of the locale's language into the application,
// each a child of `owner`: deleting it takes them out again.
Catalogues installCatalogues(const QString& locale, QObject* owner);

} // namespace tolm::app
