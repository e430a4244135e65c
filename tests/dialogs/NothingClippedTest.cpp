#include "TPropiedadesFixture.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>
#include <string>
#include <tuple>

namespace {

// Every window and menu made in a language, then every font in it made
// larger by a factor, as a larger desktop font or a wider face would.
class NothingClipped : public PropiedadesTest,
                       public ::testing::WithParamInterface<std::tuple<std::string, double>> {
protected:
    void SetUp() override
    {
        PropiedadesTest::SetUp();
        // Texts are translated when the widgets are made.
        const std::string language = std::get<0>(GetParam());
        if (language != "es") {
            ASSERT_TRUE(m_translator.load(QString::fromStdString(":/i18n/tolm_" + language + ".qm")));
            QCoreApplication::installTranslator(&m_translator);
        }
    }

    void TearDown() override
    {
        QCoreApplication::removeTranslator(&m_translator);
        PropiedadesTest::TearDown();
    }

    void enlargeFonts(QWidget* window) const
    {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        QList<QFont> fonts;
        for (QWidget* w : widgets)
            fonts.append(w->font());
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            QFont& f = fonts[i];
            if (f.pixelSize() > 0)
                f.setPixelSize(qRound(f.pixelSize() * std::get<1>(GetParam())));
            else
                f.setPointSizeF(f.pointSizeF() * std::get<1>(GetParam()));
            // A submenu is a window of its own, and the example keeps the item's font.
            const bool own = widgets[i] == window || !widgets[i]->isWindow();
            if (own && !qobject_cast<TSpButton*>(widgets[i]))
                widgets[i]->setFont(f);
        }
        settle();
    }

    // Fonts, figures and layouts take a few turns of the event loop to arrive.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    // The texts of a shown window or menu that lack room, one line each. A
    // label needs what its size hint asks, a word-wrapped one the height of
    // its lines; a button, check box, radio button, group box, combo box or
    // tab bar the width its hint asks and a line's height (rows of radio
    // buttons lie closer than their hints ask); the calendar's arrows, drawn
    // edge to edge, their captions; a menu entry its text in its font.
    static std::string clipped(QWidget* window)
    {
        QString found;
        const auto expectRoom = [&found](const QString& text, QSize room, QSize needed) {
            if (!text.isEmpty() && (room.width() < needed.width() || room.height() < needed.height()))
                QDebug(&found) << text << "has" << room << "needs" << needed << "\n";
        };
        if (auto* menu = qobject_cast<QMenu*>(window)) {
            menu->popup({});
            settle();
            for (QAction* action : menu->actions()) {
                const QRect room = menu->actionGeometry(action);
                const QFontMetrics metrics(action->font().resolve(menu->font()));
                const QString text = action->isSeparator()
                    ? QString()
                    : (action->text().remove(u'&') + QLatin1Char(' ')
                        + action->shortcut().toString(QKeySequence::NativeText))
                          .trimmed();
                expectRoom(text, menu->rect().contains(room) ? room.size() : QSize(),
                    { metrics.horizontalAdvance(text), metrics.height() });
            }
            menu->hide();
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            QSize needed(w->minimumSizeHint().width(), w->fontMetrics().height());
            QSize room(w->width(), w->contentsRect().height());
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w)) {
                text = label->text();
                needed = label->wordWrap() ? QSize(needed.width(), label->heightForWidth(w->width()))
                                           : w->minimumSizeHint();
                room = w->size();
            } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
                text = tool->text();
                needed.setWidth(w->fontMetrics().horizontalAdvance(text));
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                text = button->text();
            } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
                text = box->title();
            } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                text = combo->currentText();
            } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
                text = tabs->tabText(tabs->currentIndex());
                needed.setWidth(tabs->sizeHint().width());
            }
            if (w->isVisible())
                expectRoom(text, room, needed);
        }
        return found.toStdString();
    }

private:
    QTranslator m_translator;
};

TEST_P(NothingClipped, InEveryDialogAndMenu)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 4'000'787'030'016ull, 1'000'000'000'000ull);
    TPrincipal* main = startMain();
    QList<QWidget*> menus { main->windowMenu() };
    for (QAction* action : main->windowMenu()->actions()) {
        if (action->menu())
            menus << action->menu();
    }
    for (TSpButton* item : { main->commands().newLauncher(), main->commands().newFolder(),
             main->commands().newClock(), main->commands().newDrive(), main->commands().newMemory() }) {
        menus << item->popupMenu();
        TPropiedades* dialog = TPropiedades::open(item);
        ASSERT_NE(dialog, nullptr);
        enlargeFonts(dialog);
        for (int tab : { 0, 1 }) {
            if (!dialog->pages()->isTabVisible(tab))
                continue;
            dialog->pages()->setCurrentIndex(tab);
            settle();
            EXPECT_EQ(clipped(dialog), "") << "properties of Clase " << item->claseValue() << ", tab " << tab;
        }
        cancel(dialog);
    }

    TAboutBox about;
    TCalendario calendar;
    calendar.setLocale(QLocale(QString::fromStdString(std::get<0>(GetParam()))));
    about.show();
    calendar.show();
    ASSERT_EQ(menus.size(), 8);
    menus << &about << &calendar;
    for (QWidget* window : menus) {
        enlargeFonts(window);
        EXPECT_EQ(clipped(window), "")
            << window->metaObject()->className() << " " << window->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndTextScales, NothingClipped,
    ::testing::Combine(::testing::Values("es", "en"), ::testing::Values(1.0, 1.25, 2.0)),
    [](const auto& info) {
        return std::get<0>(info.param) + "_"
            + QString::number(std::get<1>(info.param)).replace(u'.', u'_').toStdString() + "x";
    });

} // namespace
