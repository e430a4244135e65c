#include "QtPrinters.h"
#include "platform/IniSettings.h"
#include "support/FakePlatform.h"
#include "support/Watchdog.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tolm::platform;

TEST(IniSettings, RoundTripInTheGenSection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("sub/tolm.ini");
    {
        IniSettings settings(path);
        EXPECT_FALSE(settings.readString("gen", "tolml"));
        EXPECT_TRUE(settings.writeString("gen", "tolml", "41"));
        EXPECT_TRUE(settings.writeString("gen", "texto", "a, b; c"));
    }
    IniSettings again(path);
    EXPECT_EQ(again.readString("gen", "tolml"), QString("41"));
    EXPECT_EQ(again.readString("gen", "texto"), QString("a, b; c"));
    EXPECT_FALSE(again.readString("otra", "tolml"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[gen]"));
    EXPECT_TRUE(text.contains("tolml=41"));
}

TEST(IniSettings, StartCounter)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    IniSettings settings(dir.filePath("tolm.ini"));
    EXPECT_EQ(settings.countStart(), 1); // missing counts as 0
    EXPECT_EQ(settings.countStart(), 2);
    EXPECT_EQ(settings.readString("gen", "tolml"), QString("2"));

    ASSERT_TRUE(settings.writeString("gen", "tolml", "abc"));
    EXPECT_EQ(settings.countStart(), 1);
    ASSERT_TRUE(settings.writeString("gen", "tolml", "12a"));
    EXPECT_EQ(settings.countStart(), 1);
    ASSERT_TRUE(settings.writeString("gen", "tolml", " 7 "));
    EXPECT_EQ(settings.countStart(), 8);
}

// A folder that cannot exist, because a file of that name is in the way (a
// read-only folder would not stop root); a FIFO or a link to a device where
// the file should be, which Qt would wait on or read without end: reads find
// nothing and writes fail at once, and what stands there stays.
TEST(IniSettings, UnwritableOrSpecialFileIsAFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.ini")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.ini")));
    tolm::test::Watchdog watchdog(std::chrono::seconds(30));
    for (const char* name : { "blocker/tolm.ini", "fifo.ini", "zero.ini" }) {
        watchdog.step(name);
        IniSettings settings(dir.filePath(name));
        EXPECT_FALSE(settings.readString("gen", "tolml")) << name;
        EXPECT_FALSE(settings.writeString("gen", "tolml", "1")) << name;
        EXPECT_FALSE(settings.countStart()) << name;
    }
    EXPECT_FALSE(QFileInfo(dir.filePath("fifo.ini")).isFile());
    EXPECT_EQ(QFileInfo(dir.filePath("zero.ini")).symLinkTarget(), "/dev/zero");
}

TEST(IniSettings, DefaultPathIsInTheUserConfigFolder)
{
    const QString path = IniSettings::defaultPath();
    EXPECT_TRUE(path.endsWith("/Tolm/tolm.ini")) << path.toStdString();
    EXPECT_TRUE(path.startsWith('/'));
}

TEST(FakeSettings, CounterAndFailingWrites)
{
    tolm::test::FakeSettings fake;
    EXPECT_EQ(fake.countStart(), 1);
    fake.values["gen/tolml"] = "99";
    EXPECT_EQ(fake.countStart(), 100);
    fake.failWrites = true;
    EXPECT_FALSE(fake.countStart());
    EXPECT_EQ(fake.values["gen/tolml"], "100");
}
