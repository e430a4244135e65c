#include "dialogs/TAboutBox.h"

#include "support/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct AboutBox : ::testing::Test {
    tolm::test::FakePlatform fake;
    tolm::platform::ScopedServices use { fake.services() };
};

} // namespace

TEST_F(AboutBox, ShowsTheProgramAndItsVersion)
{
    QPointer<TAboutBox> box = new TAboutBox;
    EXPECT_EQ(box->windowTitle(), "Información del programa");
    EXPECT_EQ(box->size(), QSize(298, 172));
    EXPECT_EQ(box->ProductName()->text(), "Tolm 2000");
    EXPECT_EQ(box->Version()->text(), "Versión 1.0 - Febrero 2000");
    EXPECT_EQ(box->Comments()->text(), "Consultar el fichero tolm2000.htm para más información");
    const QStringList notice = box->Notice()->text().split('\n');
    ASSERT_EQ(notice.size(), 3);
    EXPECT_TRUE(notice[0].contains("2000"));
    EXPECT_TRUE(notice[2].startsWith("email: "));
    EXPECT_EQ(box->OKButton()->text(), "OK");
    EXPECT_TRUE(box->OKButton()->isDefault());
    EXPECT_EQ(box->webButton()->text(), "Tolm2000 - home");
    EXPECT_FALSE(box->Image1()->pixmap().isNull());
    EXPECT_EQ(box->ProgramIcon()->size(), QSize(32, 32));

    box->show();
    QTest::mouseClick(box->OKButton(), Qt::LeftButton);
    EXPECT_EQ(box->result(), QDialog::Accepted);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull()); // released once closed
}

TEST_F(AboutBox, HomeButtonOpensTheReadmeAndCloses)
{
    fake.urlOpener.result = false; // a failure to open is not looked at
    QPointer<TAboutBox> box = new TAboutBox;
    box->show();
    QTest::mouseClick(box->webButton(), Qt::LeftButton);
    const QList<QUrl>& opened = fake.urlOpener.opened;
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), "file");
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/README.md"));
    // The build folder keeps the README where an installed program finds it.
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile());
    EXPECT_EQ(opened[0], TAboutBox::homePage());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}

TEST(AboutBoxHomePage, IsTheReadmeBesideTheProgramOrInItsPrefix)
{
    // Paths below a prefix holding the program in bin/; a trailing slash
    // makes a folder.
    const struct {
        const char* layout;
        QStringList made;
        QString expected;
    } cases[] = {
        { "installed", { "share/doc/tolm/README.md" }, "share/doc/tolm/README.md" },
        { "unpacked", { "bin/README.md" }, "bin/README.md" },
        { "both", { "bin/README.md", "share/doc/tolm/README.md" }, "bin/README.md" },
        { "a folder of that name", { "bin/README.md/", "share/doc/tolm/README.md" },
            "share/doc/tolm/README.md" },
        // Nothing to find: where an installation would put it.
        { "none", {}, "share/doc/tolm/README.md" },
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QDir prefix(QFileInfo(dir.path()).canonicalFilePath());
        ASSERT_TRUE(prefix.mkpath("bin"));
        for (const QString& path : c.made) {
            if (path.endsWith(u'/')) {
                ASSERT_TRUE(prefix.mkpath(path));
                continue;
            }
            ASSERT_TRUE(prefix.mkpath(QFileInfo(path).path()));
            QFile readme(prefix.filePath(path));
            ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
        }
        const QUrl page = TAboutBox::homePage(prefix.filePath("bin"));
        EXPECT_TRUE(page.isLocalFile()) << c.layout;
        EXPECT_EQ(page.toLocalFile(), prefix.filePath(c.expected)) << c.layout;
    }
}

// The box opens in the middle of the screen, wherever the window that asked
// for it stands.
TEST_F(AboutBox, OpensCentredOnTheScreen)
{
    for (const QPoint& parentAt : { QPoint(51, 9), QPoint(600, 400) }) {
        QWidget shelf(nullptr, Qt::Tool);
        shelf.setGeometry(QRect(parentAt, QSize(120, 60)));
        shelf.show();
        QRect seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget())) {
                seen = box->frameGeometry();
                box->reject();
            }
        });
        TAboutBox::execute(&shelf);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(seen.isValid());
        const QPoint centre = shelf.screen()->geometry().center();
        EXPECT_LE(std::abs(seen.center().x() - centre.x()), 2) << seen.x();
        EXPECT_LE(std::abs(seen.center().y() - centre.y()), 2) << seen.y();
    }
}
