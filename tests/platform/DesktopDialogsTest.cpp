#include "platform/LinuxChoosers.h"
#include "platform/LinuxMessageBoxes.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace tolm::platform;

namespace {

// Runs `act` on the modal dialog of type T from inside its own event loop,
// once it is open. The dialog must end there, or the call under test never
// returns.
template <typename T> void whenOpen(std::function<void(T*)> act)
{
    QTimer::singleShot(0, [act] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(dialog);
    });
}

} // namespace

TEST(LinuxMessageBoxes, AQuestionAnswersItsButtonAndCancelByDefault)
{
    const struct {
        const char* press;
        std::function<void(QMessageBox*)> answer;
        Answer expected;
    } cases[] = {
        { "OK", [](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); }, Answer::Ok },
        { "Cancel", [](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); }, Answer::Cancel },
        { "Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, Answer::Cancel },
        // Enter presses the default button.
        { "Enter", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, Answer::Cancel },
    };
    LinuxMessageBoxes boxes;
    for (const auto& c : cases) {
        QString caption, text;
        whenOpen<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel) << c.press;
            c.answer(box);
        });
        EXPECT_EQ(boxes.question("Atención", "¿Borrar carpeta?"), c.expected) << c.press;
        EXPECT_EQ(caption, "Atención") << c.press;
        EXPECT_EQ(text, "¿Borrar carpeta?") << c.press;
    }
}

TEST(LinuxMessageBoxes, ANoticeHasOneOkButtonAndTheIconOfItsKindAndFitsTheScreen)
{
    LinuxMessageBoxes boxes;
    // A folder file's name may be 255 characters long, with no blank in it.
    const QString longName = "No se puede guardar /home/ana/" + QString(255, u'x') + "/" + QString(60, u'y');
    for (const auto& [kind, icon] : { std::pair { MessageBoxes::Kind::Warning, QMessageBox::Warning },
             std::pair { MessageBoxes::Kind::Critical, QMessageBox::Critical } }) {
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QString caption;
        int width = 0;
        whenOpen<QMessageBox>([&](QMessageBox* box) {
            buttons = box->standardButtons();
            shown = box->icon();
            caption = box->windowTitle();
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            width = std::max(label->minimumSizeHint().width() - label->width(),
                box->frameGeometry().width() - box->screen()->availableGeometry().width());
            box->button(QMessageBox::Ok)->click();
        });
        boxes.notice("Tolm", kind == MessageBoxes::Kind::Warning ? longName : "No se puede guardar", kind);
        EXPECT_LE(width, 0) << "wider than it can be by " << width;
        EXPECT_EQ(buttons, QMessageBox::Ok);
        EXPECT_EQ(shown, icon);
        EXPECT_EQ(caption, "Tolm");
    }
}

TEST(LinuxChoosers, TheColourDialogStartsFromTheColourAndAnswersTheChosenOne)
{
    LinuxChoosers choosers;
    QColor start;
    whenOpen<QColorDialog>([&start](QColorDialog* dialog) {
        start = dialog->currentColor();
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    EXPECT_EQ(choosers.chooseColor(QColor(200, 100, 50)), QColor(10, 20, 30));
    EXPECT_EQ(start, QColor(200, 100, 50));

    whenOpen<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->reject();
    });
    EXPECT_EQ(choosers.chooseColor(QColor(200, 100, 50)), std::nullopt);
}

TEST(LinuxChoosers, TheFontDialogOffersApplyOnlyWhenAskedTo)
{
    LinuxChoosers choosers;
    QFont initial;
    initial.setPixelSize(17);

    // Without Apply: the font shown when OK is pressed.
    bool hadApply = true;
    QFont shown;
    whenOpen<QFontDialog>([&](QFontDialog* dialog) {
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        hadApply = buttons && buttons->button(QDialogButtonBox::Apply);
        shown = dialog->currentFont();
        dialog->accept();
    });
    const std::optional<QFont> chosen = choosers.chooseFont(initial, {});
    EXPECT_FALSE(hadApply);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, shown);

    // With Apply: each press hands over the font shown, and cancelling
    // afterwards answers nothing.
    QList<QFont> applied;
    whenOpen<QFontDialog>([&](QFontDialog* dialog) {
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QPushButton* apply = buttons ? buttons->button(QDialogButtonBox::Apply) : nullptr;
        shown = dialog->currentFont();
        if (apply)
            apply->click();
        dialog->reject();
    });
    EXPECT_EQ(
        choosers.chooseFont(initial, [&applied](const QFont& font) { applied.append(font); }), std::nullopt);
    ASSERT_EQ(applied.size(), 1);
    EXPECT_EQ(applied[0], shown);
}
