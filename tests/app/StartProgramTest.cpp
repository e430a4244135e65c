// The built tolm run as a child process: what it does before and instead of
// showing a shelf, and where it keeps the shelves it shows.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kPatienceMs = 20000;

struct Outcome {
    int exitCode { -1 };
    QString out;
    QString err;
};

class StartProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("cwd"));
        QDir(m_root.path()).mkpath(QStringLiteral("home"));
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME",
                 "XDG_CONFIG_HOME", "TOLM_EXIT_AFTER_FIRST_PAINT" })
            m_env.remove(QString::fromLatin1(name));
        m_env.insert(QStringLiteral("HOME"), path("home"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.path());
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }

    Outcome run(const QStringList& arguments)
    {
        QProcess process;
        process.setProgram(QStringLiteral(TOLM_PROGRAM));
        process.setArguments(arguments);
        process.setWorkingDirectory(path("cwd"));
        process.setProcessEnvironment(m_env);
        process.start();
        EXPECT_TRUE(process.waitForFinished(kPatienceMs)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
        return { process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()) };
    }

    // Every file and folder under the temporary root, relative to it.
    QStringList everything() const
    {
        QStringList found;
        QDirIterator it(m_root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(QDir(m_root.path()).relativeFilePath(it.next()));
        found.sort();
        return found;
    }

    // Shows a shelf on the offscreen platform and ends as soon as it is painted.
    void showShelfOnce(const QStringList& arguments)
    {
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        m_env.insert(QStringLiteral("TOLM_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        const Outcome result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    }

    QTemporaryDir m_root;
    QProcessEnvironment m_env;
};

} // namespace

TEST_F(StartProgramTest, AnswersWithoutADisplayAndTouchesNoFile)
{
    const QStringList before = everything();
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* inOut;
        const char* inErr;
    };
    const Case cases[] = {
        { { "--help" }, 0, "--dir DIR", "" },
        { { "--version" }, 0, "tolm 1", "" },
        { { "--user", "--version" }, 0, "tolm ", "" },
        { { "--bogus" }, 2, "", "--bogus" },
        { { "--dir" }, 2, "", "--dir" },
        { { "extra" }, 2, "", "extra" },
        // No display: said in one line that names both variables.
        { {}, 1, "", "WAYLAND_DISPLAY" },
        { { "--user" }, 1, "", "DISPLAY" },
    };
    for (const Case& c : cases) {
        const Outcome result = run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, c.exitCode) << line << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.contains(QString::fromLatin1(c.inOut)))
            << line << ": " << result.out.toStdString();
        if (*c.inErr) {
            EXPECT_TRUE(result.err.contains(QString::fromLatin1(c.inErr)))
                << line << ": " << result.err.toStdString();
            EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << line << ": " << result.err.toStdString();
        } else {
            EXPECT_TRUE(result.err.isEmpty()) << line << ": " << result.err.toStdString();
        }
    }
    EXPECT_EQ(everything(), before);
}

TEST_F(StartProgramTest, AutostartAddsAndRemovesItsEntryWithoutADisplay)
{
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    const QString entry = path("config/autostart/tolm.desktop");
    EXPECT_EQ(run({ "--autostart", "on" }).exitCode, 0);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    EXPECT_TRUE(
        text.contains(QStringLiteral("Exec=%1 --user\n").arg(QFileInfo(TOLM_PROGRAM).canonicalFilePath())))
        << text.toStdString();
    // Twice on is still one entry; off removes it, and off again is no error.
    EXPECT_EQ(run({ "--autostart", "on" }).exitCode, 0);
    EXPECT_EQ(QDir(path("config/autostart")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(run({ "--autostart=off" }).exitCode, 0);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(run({ "--autostart", "off" }).exitCode, 0);
    EXPECT_EQ(
        QDir(path("cwd")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(StartProgramTest, TheShelvesGoToTheChosenFolderAndNotTheCurrentOne)
{
    showShelfOnce({ "--dir", "estantes/nuevos" });
    EXPECT_TRUE(QFile::exists(path("cwd/estantes/nuevos/tolm95.dat")));

    m_env.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
    showShelfOnce({ "--user" });
    EXPECT_TRUE(QFile::exists(path("data/tolm/tolm95.dat")));
    // The per-user folder is the user's alone.
    EXPECT_EQ(QFile::permissions(path("data/tolm")) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);

    m_env.remove(QStringLiteral("XDG_DATA_HOME"));
    showShelfOnce({ "--user" });
    EXPECT_TRUE(QFile::exists(path("home/.local/share/tolm/tolm95.dat")));

    EXPECT_EQ(QDir(path("cwd")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList({ "estantes" }));
    EXPECT_EQ(QDir(path("cwd/estantes/nuevos")).entryList(QStringList({ "*.dat" }), QDir::Files),
        QStringList({ "tolm95.dat" }));

    // Without an option, the current directory, as always.
    showShelfOnce({});
    EXPECT_TRUE(QFile::exists(path("cwd/tolm95.dat")));

    // A folder that cannot be made ends the start with a word, not with an unsavable shelf.
    QFile blocker(path("cwd/fichero"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Outcome blocked = run({ "--dir", "fichero/estantes" });
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains("fichero/estantes")) << blocked.err.toStdString();
}
