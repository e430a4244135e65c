#include "TPropiedadesFixture.h"
#include "widgets/TCSpinEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>

namespace {

class DialogKeyboardTest : public PropiedadesTest {
protected:
    TPropiedades* openFor(TSpButton* item)
    {
        TPropiedades* dialog = openFromMenu(item);
        QApplication::setActiveWindow(dialog);
        return dialog;
    }

    // The controls Tab visits from the focused one until it comes round,
    // by object name ("TabBar" for the tab bar).
    static QStringList tabStops(TPropiedades* dialog)
    {
        QStringList stops;
        QWidget* start = QApplication::focusWidget();
        if (!start)
            return stops;
        QWidget* at = start;
        do {
            stops.append(at == dialog->pages()->tabBar() ? QStringLiteral("TabBar") : at->objectName());
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
        } while (at && at != start && stops.size() < 60);
        return stops;
    }
};

// Of the formats, Tab stops at the chosen one; the arrows move between them.
const QStringList kTop { "nameEdit", "format0", "fontButton", "defaultFontButton" };
const QStringList kButtons { "okButton", "cancelButton", "helpButton", "TabBar" };

} // namespace

// Tab goes down the page as it is laid out, then to the dialog's buttons,
// and the first box to type in has the focus when the dialog opens.
TEST_F(DialogKeyboardTest, TabFollowsTheLayoutOfEveryPage)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    struct Page {
        const char* name;
        TSpButton* (tolm::app::ItemCommands::*make)();
        bool shortcutTab;
        QString firstFocus;
        QStringList lower;
    };
    const Page pages[] = {
        { "launcher, General", &tolm::app::ItemCommands::newLauncher, false, "nameEdit",
            // The file name box lies under its label, level with "Usar Icono".
            { "descriptionEdit", "iconFileEdit", "useIconCheck", "iconGrid", "associatedIconButton",
                "browseIconButton" } },
        { "launcher, Acceso directo", &tolm::app::ItemCommands::newLauncher, true, "nameEdit",
            { "commandEdit", "parametersEdit", "directoryEdit", "runCombo", "autoRunCheck",
                "findTargetButton", "shortcutIconButton", "browseCommandButton" } },
        { "folder", &tolm::app::ItemCommands::newFolder, false, "nameEdit",
            { "descriptionEdit", "folderUseIconCheck", "folderAutoOpenCheck" } },
        { "clock", &tolm::app::ItemCommands::newClock, false, "timeFormatEdit",
            { "timeFormatEdit", "dateFormatEdit", "separatorEdit", "showTimeCheck", "analogueCheck",
                "showDateCheck", "secondHandCheck" } },
        { "drive", &tolm::app::ItemCommands::newDrive, false, "driveCombo",
            { "driveCombo", "driveRefreshSpin" } },
        { "memory", &tolm::app::ItemCommands::newMemory, false, "memoryRefreshSpin",
            { "memoryRefreshSpin" } },
    };
    TPrincipal* main = startMain();
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name);
        TSpButton* item = (main->commands().*page.make)();
        TPropiedades* dialog = openFor(item);
        ASSERT_NE(dialog, nullptr);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->objectName(), page.firstFocus);
        EXPECT_TRUE(focused->hasFocus());
        if (page.shortcutTab) {
            dialog->pages()->setCurrentWidget(dialog->shortcutPage());
            dialog->nameEdit()->setFocus(Qt::TabFocusReason);
        }
        QStringList expected = kTop;
        if (dialog->nameEdit()->isEnabled())
            expected += page.lower;
        else
            expected = expected.mid(1) + page.lower;
        expected += kButtons;
        // Start the round at the name box, or where the focus opened.
        QStringList stops = tabStops(dialog);
        const qsizetype at = stops.indexOf(expected.first());
        ASSERT_GE(at, 0) << stops.join(' ').toStdString();
        stops = stops.mid(at) + stops.mid(0, at);
        EXPECT_EQ(stops, expected) << stops.join(' ').toStdString();
        dialog->reject();
        flushDeletes();
    }
}

// Screen readers find each control's label: edit boxes take it as their
// name; every control, combo boxes too, names it as its label.
TEST_F(DialogKeyboardTest, ControlsAreLabelledForScreenReaders)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    struct Row {
        const char* control;
        const char* label;
        bool isEdit;
    };
    struct Kind {
        TSpButton* (tolm::app::ItemCommands::*make)();
        std::vector<Row> rows;
    };
    const Kind kinds[] = {
        { &tolm::app::ItemCommands::newLauncher,
            { { "nameEdit", "Nombre:", true }, { "descriptionEdit", "Descripción:", true },
                { "iconFileEdit", "Nombre del Archivo", true }, { "commandEdit", "Comando", true },
                { "parametersEdit", "Parámetros", true }, { "directoryEdit", "Iniciar en", true },
                { "runCombo", "Ejecutar", false } } },
        { &tolm::app::ItemCommands::newClock,
            { { "timeFormatEdit", "Formato de la hora", true },
                { "dateFormatEdit", "Formato de la fecha", true }, { "separatorEdit", "Separador", true } } },
        { &tolm::app::ItemCommands::newDrive,
            { { "driveCombo", "Unidad:", false }, { "driveRefreshSpin", "Actualizar cada (seg):", true } } },
        { &tolm::app::ItemCommands::newMemory, { { "memoryRefreshSpin", "Actualizar cada (seg):", true } } },
    };
    TPrincipal* main = startMain();
    for (const Kind& kind : kinds) {
        TPropiedades* dialog = openFor((main->commands().*kind.make)());
        ASSERT_NE(dialog, nullptr);
        for (const Row& row : kind.rows) {
            SCOPED_TRACE(row.control);
            auto* control = dialog->findChild<QWidget*>(row.control);
            ASSERT_NE(control, nullptr);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
            QStringList labels;
            for (const auto& [other, relation] : iface->relations(QAccessible::Label))
                labels.append(other->text(QAccessible::Name));
            // A group box's title counts as a label of what it holds, too.
            EXPECT_TRUE(labels.contains(row.label)) << labels.join('|').toStdString();
            if (row.isEdit) {
                EXPECT_EQ(iface->text(QAccessible::Name), row.label);
            }
        }
        dialog->reject();
        flushDeletes();
    }
}
