#include "platform/Applications.h"

#include "support/TemporaryDesktop.h"

#include <gtest/gtest.h>

using namespace tolm::platform;

// Made-up applications folders, most entries there to show a rule that keeps
// them out of the list; what is left is sorted by name and searched on names,
// keywords and comments without regard to case or accents.
TEST(ApplicationsTest, ListsWhatTheMenusShowAndSearchesIt)
{
    tolm::test::TemporaryDesktop desktop;
    const QByteArray program = desktop.write("bin/program", "#!/bin/sh\n", true).toUtf8();
    const std::pair<const char*, QByteArray> entries[] = {
        { "home/editor",
            "Name=Text Editor\nName[es]=Editor de textos\nGenericName=Editor\n"
            "Keywords=plain;text;\nKeywords[es]=nota;texto;\nComment=Edit text files\n"
            "Comment[es]=Edición de archivos de texto\nExec=editor %U\nIcon=accessories-text-editor" },
        // The user's entries hide the system's of the same id.
        { "system/editor", "Name=Hidden\nExec=x" },
        { "home/removed", "Name=R\nHidden=true" },
        { "system/removed", "Name=Removed\nExec=x" },
        // kde/calc.desktop is known as kde-calc.desktop.
        { "system/kde/calc", "Name=Calculadora\nExec=calc" },
        { "later/kde-calc", "Name=Other Calculator\nExec=calc" },
        { "later/tree", "Name=Árbol genealógico\nExec=tree\nTryExec=" + program },
        { "later/zone", "Name=zona\nExec=z" },
        { "later/yacht", "Name=Yate\nExec=y\nOnlyShowIn=GNOME;Unity;" },
        { "later/notkde", "Name=Buscar\nExec=b\nNotShowIn=KDE;" },
        { "later/nodisplay", "Name=N\nExec=x\nNoDisplay=true" },
        { "later/kde", "Name=K\nExec=x\nOnlyShowIn=KDE;" },
        { "later/notxfce", "Name=X\nExec=x\nNotShowIn=XFCE;" },
        { "later/gone", "Name=G\nExec=x\nTryExec=" + program + "-gone" },
        { "later/noexec", "Name=E" },
        { "later/noname", "Exec=x" },
        { "later/link", "Type=Link\nName=L\nURL=https://example.org" },
    };
    for (const auto& [name, lines] : entries) {
        const QString file = QString::fromUtf8(name);
        const qsizetype slash = file.indexOf(u'/');
        desktop.write(file.left(slash) + "/applications" + file.mid(slash) + ".desktop",
            "[Desktop Entry]\n" + QByteArray(lines.startsWith("Type=") ? "" : "Type=Application\n") + lines
                + "\n");
    }
    const QList<Application> applications
        = listApplications({ desktop.path("home/applications"), desktop.path("system/applications"),
                               desktop.path("later/applications") },
            { "XFCE", "GNOME" }, "es_ES.UTF-8");
    ASSERT_EQ(applications.size(), 6);
    EXPECT_EQ(applications[2].id, "kde-calc.desktop");
    EXPECT_EQ(applications[3].path, desktop.path("home/applications/editor.desktop"));
    EXPECT_EQ(applications[3].icon, "accessories-text-editor");

    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {
        { "  ", { "Árbol genealógico", "Buscar", "Calculadora", "Editor de textos", "Yate", "zona" } },
        { "EDITOR", { "Editor de textos" } },
        { "edicion", { "Editor de textos" } }, // the translated comment
        { "edit files", { "Editor de textos" } }, // the comment as written; every word
        { "nota", { "Editor de textos" } }, // a translated keyword
        { "plain", { "Editor de textos" } },
        { "GENEALÓGICO", { "Árbol genealógico" } },
        { "arbol", { "Árbol genealógico" } },
        { "ca", { "Buscar", "Calculadora" } },
        { "editor zona", {} },
    };
    for (const auto& c : cases) {
        QStringList found;
        const QStringList words = searchWords(QString::fromUtf8(c.typed));
        for (const Application& application : applications) {
            if (application.matches(words))
                found << application.name;
        }
        EXPECT_EQ(found, c.found) << c.typed;
    }
}
