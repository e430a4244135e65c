#include "dialogs/TAboutBox.h"

#include "dialogs/HelpWindow.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString plainText(const QLabel* label)
{
    QTextDocument document;
    document.setHtml(label->text());
    // A line break within a paragraph comes out as the Unicode line separator.
    return document.toPlainText().replace(QChar::LineSeparator, u'\n');
}

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
    const QStringList notice = plainText(box->Notice()).split('\n');
    ASSERT_EQ(notice.size(), 3);
    EXPECT_EQ(notice[0], "© 2000 Proyecto Tolm");
    EXPECT_EQ(notice[2], "Avisos: en esa página");
    EXPECT_EQ(box->OKButton()->text(), "Aceptar");
    EXPECT_TRUE(box->OKButton()->isDefault());
    EXPECT_EQ(box->manualButton()->text(), "Tolm2000 - home");
    EXPECT_FALSE(box->Image1()->pixmap().isNull());
    EXPECT_EQ(box->ProgramIcon()->size(), QSize(32, 32));

    box->show();
    QTest::mouseClick(box->OKButton(), Qt::LeftButton);
    EXPECT_EQ(box->result(), QDialog::Accepted);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull()); // released once closed
}

TEST_F(AboutBox, HomeButtonShowsTheManualAndCloses)
{
    // The shelf keeps one help window, however often the button is pressed.
    QWidget shelf;
    for (int press = 0; press < 2; ++press) {
        QPointer<TAboutBox> box = new TAboutBox(&shelf);
        box->show();
        QTest::mouseClick(box->manualButton(), Qt::LeftButton);
        EXPECT_EQ(box->result(), QDialog::Accepted);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());
    }
    const QList<HelpWindow*> help = shelf.findChildren<HelpWindow*>();
    ASSERT_EQ(help.size(), 1);
    EXPECT_TRUE(help[0]->isVisible());
    EXPECT_EQ(help[0]->browser()->source(), QUrl("qrc:/help/manual-es.html"));
    EXPECT_TRUE(fake.urlOpener.opened.isEmpty()); // no browser, no network
}

// The box points to what is installed: the manual, shown by the help
// window, and the project's page, in the browser; no missing file.
TEST_F(AboutBox, ItsLinksLeadToTheManualAndToTheProjectPage)
{
    QWidget shelf;
    QPointer<TAboutBox> box = new TAboutBox(&shelf);
    EXPECT_EQ(plainText(box->Comments()), "Más en el manual (F1) y en la página del proyecto.");
    static const QRegularExpression links(QStringLiteral("href=\"(manual)\".*href=\"(https://[^\"]+)\""));
    const QRegularExpressionMatch found = links.match(box->Comments()->text());
    ASSERT_TRUE(found.hasMatch()) << qPrintable(box->Comments()->text());
    EXPECT_TRUE(box->Notice()->text().contains(found.captured(2)));
    emit box->Comments()->linkActivated(found.captured(2));
    EXPECT_EQ(fake.urlOpener.opened, QList<QUrl> { QUrl(found.captured(2)) });
    EXPECT_TRUE(shelf.findChildren<HelpWindow*>().isEmpty());
    emit box->Comments()->linkActivated(found.captured(1));
    EXPECT_EQ(shelf.findChildren<HelpWindow*>().size(), 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull()); // closed, as by its manual button
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
