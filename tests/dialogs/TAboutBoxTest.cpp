#include "dialogs/TAboutBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct AboutBox : ::testing::Test {
    ~AboutBox() override { TAboutBox::setUrlOpener({}); }
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
    EXPECT_EQ(box->BotonWeb()->text(), "Tolm2000 - home");
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
    QList<QUrl> opened;
    TAboutBox::setUrlOpener([&opened](const QUrl& url) {
        opened << url;
        return false; // a failure to open is not looked at
    });
    QPointer<TAboutBox> box = new TAboutBox;
    box->show();
    QTest::mouseClick(box->BotonWeb(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), "file");
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/README.md"));
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile());
    EXPECT_EQ(opened[0], TAboutBox::homePage());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}
