#include "platform/CommandLine.h"

#include "QtPrinters.h"
#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

using namespace tolm::platform;

TEST(SplitArguments, BlanksSeparateAndNothingIsExpanded)
{
    EXPECT_EQ(splitArguments("'a b' c;touch x"), QStringList({ "a b", "c;touch", "x" }));
    EXPECT_EQ(splitArguments("  one\ttwo \n three  "), QStringList({ "one", "two", "three" }));
    EXPECT_EQ(splitArguments("$HOME ~ *.txt `id` a|b >out"),
        QStringList({ "$HOME", "~", "*.txt", "`id`", "a|b", ">out" }));
    EXPECT_TRUE(splitArguments("").isEmpty());
    EXPECT_TRUE(splitArguments("   ").isEmpty());
}

TEST(SplitArguments, QuotesAndEscapes)
{
    EXPECT_EQ(splitArguments(R"("a b" 'c "d"' "e 'f'")"), QStringList({ "a b", "c \"d\"", "e 'f'" }));
    // Inside double quotes a backslash escapes only \ " $ `.
    EXPECT_EQ(splitArguments(R"("x\"y" "p\q" "\$v" "a\\b")"), QStringList({ "x\"y", "p\\q", "$v", "a\\b" }));
    // Inside single quotes nothing is special.
    EXPECT_EQ(splitArguments(R"('a\b' 'c\'d)"), QStringList({ "a\\b", "c\\d" }));
    // Outside quotes a backslash escapes blanks, quotes and itself.
    EXPECT_EQ(splitArguments(R"(a\ b c\"d e\'f g\\h)"), QStringList({ "a b", "c\"d", "e'f", "g\\h" }));
    // Quoted parts join the word they touch.
    EXPECT_EQ(splitArguments(R"(pre"mid dle"'post')"), QStringList({ "premid dlepost" }));
}

TEST(SplitArguments, WindowsPathsKeepTheirBackslashes)
{
    EXPECT_EQ(splitArguments(R"(c:\datos\carta.txt /p)"), QStringList({ "c:\\datos\\carta.txt", "/p" }));
}

TEST(SplitArguments, EmptyQuotesGiveEmptyArguments)
{
    EXPECT_EQ(splitArguments(R"(a '' "" b)"), QStringList({ "a", "", "", "b" }));
    EXPECT_EQ(splitArguments("''"), QStringList({ "" }));
}

TEST(SplitArguments, UnterminatedQuoteRunsToTheEnd)
{
    EXPECT_EQ(splitArguments("a 'b c"), QStringList({ "a", "b c" }));
    EXPECT_EQ(splitArguments("a \"b c"), QStringList({ "a", "b c" }));
    EXPECT_EQ(splitArguments("a '"), QStringList({ "a", "" }));
    EXPECT_EQ(splitArguments("trailing\\"), QStringList({ "trailing\\" }));
}

TEST(SplitArguments, QuotedArgumentsComeBackWhole)
{
    const QStringList tricky { "", "plain", "two words", "Ana's \"file\".txt", "c:\\datos\\x y", "'", "a\\",
        "$HOME;rm -rf ~", "tab\there" };
    QStringList quoted;
    for (const QString& argument : tricky) {
        EXPECT_EQ(splitArguments(quoteArgument(argument)), QStringList { argument });
        quoted << quoteArgument(argument);
    }
    EXPECT_EQ(splitArguments(quoted.join(' ')), tricky);
}

TEST(DesktopExec, FieldCodes)
{
    const QString line = "editor --name=%c %i %f -x %%done %k %d";
    DesktopExec e
        = desktopExecCommands(line, { "/tmp/a b.txt" }, "ed-icon", "Editor", "/apps/ed.desktop").first();
    EXPECT_EQ(e.program, "editor");
    EXPECT_EQ(e.arguments,
        QStringList(
            { "--name=Editor", "--icon", "ed-icon", "/tmp/a b.txt", "-x", "%done", "/apps/ed.desktop" }));

    // Without files %f and %U drop out; without an icon %i does.
    e = desktopExecCommands("viewer %U --flag %F", {}, {}, "V", {}).first();
    EXPECT_EQ(e.program, "viewer");
    EXPECT_EQ(e.arguments, QStringList({ "--flag" }));

    QList<DesktopExec> all = desktopExecCommands("viewer %U", { "a", "b" }, {}, "V", {});
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].arguments, QStringList({ "a", "b" }));

    // A program that takes one file at a time is started once per file.
    for (const char* line : { "viewer -n %f", "viewer -n %u" }) {
        all = desktopExecCommands(line, { "a", "b" }, {}, "V", {});
        ASSERT_EQ(all.size(), 2) << line;
        EXPECT_EQ(all[0].arguments, QStringList({ "-n", "a" })) << line;
        EXPECT_EQ(all[1].arguments, QStringList({ "-n", "b" })) << line;
    }
}

TEST(DesktopExec, QuotedArgumentsAndEmptyLine)
{
    const DesktopEntry entry
        = DesktopEntry::parse("[Desktop Entry]\n"
                              "Name=Quoted\n"
                              "Exec=\"/opt/my app/run\" --title \"say \\\\\"hi\\\\\"\" %u\n");
    ASSERT_TRUE(entry.isValid());
    const DesktopExec e = desktopExecCommands(entry.exec(), { "file:///x" }, {}, entry.name(), {}).first();
    EXPECT_EQ(e.program, "/opt/my app/run");
    EXPECT_EQ(e.arguments, QStringList({ "--title", "say \"hi\"", "file:///x" }));

    EXPECT_TRUE(desktopExecCommands("", {}, {}, {}, {}).first().program.isEmpty());
    EXPECT_TRUE(desktopExecCommands("%f", {}, {}, {}, {}).first().program.isEmpty());
}

TEST(DesktopEntryParse, OnlyTheMainGroupCounts)
{
    const DesktopEntry entry = DesktopEntry::parse("# comment\n"
                                                   "[Desktop Entry]\n"
                                                   "Type=Application\n"
                                                   "Name=Main\n"
                                                   "Name[es]=Principal\n"
                                                   "Icon=main-icon\n"
                                                   "Path=/srv\\sdata\n"
                                                   "[Desktop Action new]\n"
                                                   "Name=Other\n"
                                                   "Exec=other\n");
    EXPECT_TRUE(entry.isValid());
    EXPECT_EQ(entry.name(), "Main");
    EXPECT_EQ(entry.icon(), "main-icon");
    EXPECT_EQ(entry.workingDirectory(), "/srv data");
    EXPECT_TRUE(entry.exec().isEmpty());
    EXPECT_FALSE(DesktopEntry::parse("Name=x\nExec=y\n").isValid());
}

TEST(DesktopEntryParse, LocalisedValuesFallBackFromTheMostSpecific)
{
    const DesktopEntry entry = DesktopEntry::parse("[Desktop Entry]\n"
                                                   "Name=Editor\n"
                                                   "Name[es]=Editor de textos\n"
                                                   "Name[es_MX]=Editor mexicano\n"
                                                   "Name[sr@latin]=Uredjivac\n"
                                                   "Name[sr_RS@latin]=Uredjivac RS\n"
                                                   "Name[de]=\n"
                                                   "Comment[es]=Escribe\n");
    const struct {
        const char* locale;
        const char* name;
    } cases[] = {
        { "es", "Editor de textos" },
        { "es_ES.UTF-8", "Editor de textos" },
        { "es_MX", "Editor mexicano" },
        { "sr_RS@latin", "Uredjivac RS" },
        { "sr_BA@latin", "Uredjivac" },
        { "sr", "Editor" },
        { "de_DE", "Editor" }, // an empty translation is no translation
        { "fr", "Editor" },
        { "", "Editor" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(entry.localizedValue("Name", c.locale), c.name) << c.locale;
    EXPECT_EQ(entry.localizedName(), "Editor de textos");
    EXPECT_EQ(entry.localizedValue("Comment", "es_AR"), "Escribe");
    EXPECT_EQ(DesktopEntry::parse("[Desktop Entry]\nName=Solo\n").localizedName(), "Solo");
}
