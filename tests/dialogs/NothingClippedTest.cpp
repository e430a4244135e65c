#include "TPropiedadesFixture.h"
#include "app/Language.h"
#include "dialogs/ApplicationPicker.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"
#include "platform/LinuxMessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

namespace {

// Words of the Spanish the texts are written in that no English text of the
// catalogue uses: one of them shown under English is a text left out of it.
bool spanish(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\b\\p{L}{4,}\\b"));
    const auto words = [](const QString& from) {
        QSet<QString> found;
        for (const auto& match : word.globalMatch(from))
            found.insert(match.captured().toLower());
        return found;
    };
    static const QSet<QString> spanishOnly = [&words] {
        QFile file(QStringLiteral(TOLM_SOURCE_DIR "/translations/tolm_en.ts"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QString ts = QString::fromUtf8(file.readAll());
        QString sources;
        QString translations;
        static const QRegularExpression element(QStringLiteral("<(source|translation)>([^<]*)<"));
        for (const auto& match : element.globalMatch(ts))
            (match.captured(1) == u"source" ? sources : translations) += match.captured(2) + u' ';
        return words(sources) - words(translations);
    }();
    static const QRegularExpression letter(
        QStringLiteral("[áéíóúñ¿¡]"), QRegularExpression::CaseInsensitiveOption);
    return text.contains(letter) || words(text).intersects(spanishOnly);
}

// Whether a window manager has room to write the window's title whole in
// its title bar: a bold face of about the application's font, beside the
// window's icon and its buttons (a dialog's only closes), each about a
// title bar wide, and the gaps around them.
bool titleFits(const QWidget* window)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int barHeight = metrics.height() + 8;
    const int buttons = window->windowType() == Qt::Dialog ? 1 : 3;
    return window->width()
        >= metrics.horizontalAdvance(window->windowTitle()) + (buttons + 2) * barHeight + 16;
}

// Every window and menu made in a language, then every font in it made
// larger by a factor, as a larger desktop font or a wider face would.
class NothingClipped : public PropiedadesTest,
                       public ::testing::WithParamInterface<std::tuple<std::string, double>> {
protected:
    void SetUp() override
    {
        PropiedadesTest::SetUp();
        // Texts are translated when the widgets are made: the catalogues the
        // program installs for the language, Qt's among them when the
        // system has it.
        m_found = tolm::app::installCatalogues(QString::fromStdString(language()), m_catalogues.get());
        ASSERT_TRUE(m_found.tolm);
    }

    void TearDown() override
    {
        m_catalogues.reset();
        PropiedadesTest::TearDown();
    }

    std::string language() const { return std::get<0>(GetParam()); }

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
    // The texts shown go to `shown`, the boxes' too.
    static std::string clipped(QWidget* window, QStringList& shown)
    {
        QString found;
        const auto expectRoom = [&found, &shown](const QString& text, QSize room, QSize needed) {
            shown << text;
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
            } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && w->isVisible()) {
                shown << edit->text();
            }
            if (w->isVisible())
                expectRoom(text, room, needed);
        }
        return found.toStdString();
    }

    // The checks of the table on one window: nothing cut, and in the
    // language of the session: under English no Spanish text, under Spanish
    // no button of Qt's English. Qt's own boxes cannot help keeping those
    // without Qt's catalogue: theirs are gathered apart.
    void check(QWidget* window, const std::string& name, bool qtMade = false)
    {
        SCOPED_TRACE(name);
        QStringList shown { window->windowTitle() };
        EXPECT_EQ(clipped(window, shown), "");
        static const QStringList qtEnglish { "OK", "Cancel", "Help", "Apply", "Close", "Yes", "No" };
        std::string wrong;
        for (const QString& text : shown) {
            if (language() == "en" ? spanish(text) : qtEnglish.contains(QString(text).remove(u'&')))
                wrong += text.toStdString() + "\n";
        }
        if (qtMade && language() == "es")
            m_qtButtonsLeft += wrong;
        else
            EXPECT_EQ(wrong, "");
    }

    tolm::app::Catalogues m_found;
    std::string m_qtButtonsLeft;

private:
    std::unique_ptr<QObject> m_catalogues { std::make_unique<QObject>() };
};

TEST_P(NothingClipped, InEveryDialogAndMenuInTheSessionsLanguage)
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
            check(dialog,
                "properties of Clase " + std::to_string(item->claseValue()) + ", tab " + std::to_string(tab));
            if (std::get<1>(GetParam()) == 1.0) {
                EXPECT_TRUE(titleFits(dialog)) << dialog->width();
            }
        }
        cancel(dialog);
    }

    // Windows that keep their size whatever their font: their titles are
    // measured at the font they were made with.
    TAboutBox about;
    TCalendario calendar;
    calendar.setLocale(QLocale(QString::fromStdString(language())));
    HelpWindow* help = HelpWindow::showManual(main);
    ApplicationPicker picker({ { "id", "/a.desktop", "Editor", "", "editor", "editor" } });
    QList<QWidget*> windows { &about, &calendar, help, &picker };
    for (QWidget* window : windows) {
        window->show();
        EXPECT_TRUE(titleFits(window)) << window->metaObject()->className() << " is " << window->width();
    }
    ASSERT_EQ(menus.size(), 8);
    for (QWidget* window : menus + windows) {
        enlargeFonts(window);
        check(window, window->metaObject()->className() + (" " + window->objectName().toStdString()));
    }
    delete help;

    // A message box as the program shows it, answered by the table.
    QTimer::singleShot(0, [this] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            enlargeFonts(box);
            check(box, "message box", true);
            box->close();
        }
    });
    tolm::platform::LinuxMessageBoxes().question(QStringLiteral("Tolm"), QStringLiteral("?"));

    if (language() == "es" && !m_found.qt)
        GTEST_SKIP() << "Qt's catalogue of Spanish is not installed (qt6-translations-l10n): "
                        "Qt's own buttons stay English";
    EXPECT_EQ(m_qtButtonsLeft, "");
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndTextScales, NothingClipped,
    ::testing::Combine(::testing::Values("es", "en"), ::testing::Values(1.0, 1.25, 2.0)),
    [](const auto& info) {
        return std::get<0>(info.param) + "_"
            + QString::number(std::get<1>(info.param)).replace(u'.', u'_').toStdString() + "x";
    });

} // namespace
