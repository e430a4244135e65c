#include "app/Language.h"

#include "ShelfFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>

namespace {

// The window menu as the start in this session makes it ("-" for a separator).
QString windowMenuTexts(TPrincipal* main)
{
    QStringList texts;
    for (const QAction* action : main->windowMenu()->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join(u'|');
}

} // namespace

using LanguageTest = ShelfTest;

// The system locale is read once per process, so each session is tried in a
// fresh one: a death test of the threadsafe style runs the test program
// again, in the environment set here.
TEST_F(LanguageTest, FollowsTheSession)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* const spanish
        = "Opciones|-|Nuevo|-|Deshacer|Pegar|-|Guardar configuración|Restaurar configuración|-|"
          "Organizar botones|-|Cerrar|-|Ayuda|Acerca de ..";
    const char* const english = "Options|-|New|-|Undo|Paste|-|Save settings|Restore settings|-|"
                                "Arrange buttons|-|Close|-|Help|About ...";
    const struct {
        const char* variable;
        const char* value;
        const char* menu;
    } sessions[] = {
        { "LANGUAGE", "es", spanish },
        { "LANG", "es_ES.UTF-8", spanish },
        { "LANGUAGE", "en", english },
        { "LANG", "de_DE.UTF-8", english },
        // The first language Tolm has texts in wins.
        { "LANGUAGE", "de:es:en", spanish },
    };
    const char* const variables[] = { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" };
    QMap<QByteArray, QByteArray> before;
    for (const char* name : variables)
        before[name] = qgetenv(name);
    for (const auto& session : sessions) {
        for (const char* name : variables)
            qunsetenv(name);
        qputenv(session.variable, session.value);
        // The child shows what it found, and says by its exit code whether it was right.
        EXPECT_EXIT(
            {
                tolm::app::useLanguage(tolm::app::chooseLanguage(QLocale::system().uiLanguages()));
                const QString menu = windowMenuTexts(startMain());
                std::fputs(qPrintable(menu), stderr);
                std::_Exit(menu == QString::fromUtf8(session.menu) ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << session.variable << "=" << session.value;
    }
    for (const char* name : variables) {
        if (before[name].isNull())
            qunsetenv(name);
        else
            qputenv(name, before[name]);
    }
}

// The language's locale names the translations of desktop entries shown on
// launchers (Name[es_ES] before Name[es]).
TEST(Language, IsTheFirstUserLanguageWithTextsWithItsCountry)
{
    const struct {
        QStringList uiLanguages;
        const char* chosen;
    } cases[] = {
        { { "es-ES", "en-US" }, "es_ES" },
        { { "de-DE", "es" }, "es" },
        { { "en-GB" }, "en_GB" },
        { { "de-DE", "xx" }, "en" },
        { { "C" }, "en" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(tolm::app::chooseLanguage(c.uiLanguages), c.chosen) << qPrintable(c.uiLanguages.join(u','));
}

// Every text of the sources has a translation in every catalogue, written
// and marked finished: lupdate brings copies of the catalogues up to date
// with the sources first, so a text added without a translation is caught.
TEST(Translations, EveryTextHasAFinishedTranslation)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    QStringList catalogues;
    const QDir sources(QStringLiteral(TOLM_SOURCE_DIR "/translations"));
    for (const QString& name : sources.entryList({ "tolm_*.ts" }, QDir::Files)) {
        catalogues.append(work.filePath(name));
        ASSERT_TRUE(QFile::copy(sources.filePath(name), catalogues.last()));
    }
    ASSERT_FALSE(catalogues.isEmpty());
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(TOLM_SOURCE_DIR));
    // The folders and options of `make translations`.
    lupdate.start(QStringLiteral(TOLM_LUPDATE),
        QString::fromUtf8(TOLM_LUPDATE_ARGUMENTS).split(u' ') + QStringList { "-ts" } + catalogues);
    ASSERT_TRUE(lupdate.waitForFinished(60000));
    const QByteArray warnings = lupdate.readAllStandardError();
    ASSERT_EQ(lupdate.exitCode(), 0) << warnings.constData();
    // A tr() outside a class lands in a context the program never asks for.
    EXPECT_FALSE(warnings.contains("lacks Q_OBJECT")) << warnings.constData();

    for (const QString& catalogue : catalogues) {
        QFile file(catalogue);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString source;
        QStringList untranslated;
        int translated = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                // "unfinished", "vanished" or "obsolete": not a translation in use.
                const bool finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
                const QString translation = xml.readElementText();
                // A text that reads the same translated is one of these; any
                // other is the Spanish copied over rather than translated.
                static const QStringList same { "CD-ROM", "General", "Total:", "Tolm2000 - home" };
                if (translation.isEmpty() || !finished || (translation == source && !same.contains(source)))
                    untranslated.append(source);
                else
                    ++translated;
            }
        }
        ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
        EXPECT_GT(translated, 100) << qPrintable(catalogue);
        EXPECT_TRUE(untranslated.isEmpty()) << qPrintable(QFileInfo(catalogue).fileName())
                                            << " lacks (run `make translations` and translate them):\n"
                                            << qPrintable(untranslated.join(u'\n'));
    }
}
