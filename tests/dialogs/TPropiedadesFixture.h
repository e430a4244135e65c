#pragma once

#include "app/ShelfFixture.h"
#include "dialogs/TPropiedades.h"

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// A shelf whose "P&ropiedades" command opens the real dialog without
// waiting for it, with the file and font dialogs answered by the test.
class PropiedadesTest : public ShelfTest {
protected:
    void SetUp() override
    {
        ShelfTest::SetUp();
        TPropiedades::setFileChooser([this](QWidget*, const QString& title, const QString& filters) {
            fileDialogs.append(title + QLatin1Char('|') + filters);
            return chosenFile;
        });
        TPropiedades::setFontChooser([this](QWidget*, const tolm::store::FontState& initial) {
            fontDialogStart = initial;
            return chosenFont;
        });
        TPropiedades::setUrlOpener([this](const QUrl& url) {
            openedUrls.append(url);
            return true;
        });
    }

    void propertiesRequested(TSpButton* item) override { TPropiedades::open(item); }

    void TearDown() override
    {
        if (TPropiedades* open = TPropiedades::Propiedades())
            open->reject();
        flushDeletes();
        TPropiedades::setFileChooser({});
        TPropiedades::setFontChooser({});
        TPropiedades::setUrlOpener({});
        ShelfTest::TearDown();
    }

    // Right-click the item (it becomes the current item) and choose "P&ropiedades".
    TPropiedades* openFromMenu(TSpButton* item)
    {
        state().currentItem = item;
        QMenu* menu = item->popupMenu();
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("P&ropiedades")) {
                action->trigger();
                break;
            }
        }
        return TPropiedades::Propiedades();
    }

    // Replaces the box's text as the user would, key by key.
    static void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    // A check box toggles when its box or its text is clicked, not beside them.
    static void clickBox(QAbstractButton* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    void accept(TPropiedades* dialog)
    {
        QTest::mouseClick(dialog->Button1(), Qt::LeftButton);
        flushDeletes();
    }

    void cancel(TPropiedades* dialog)
    {
        QTest::mouseClick(dialog->Button2(), Qt::LeftButton);
        flushDeletes();
    }

    static QImage picture(QWidget* widget) { return widget->grab().toImage(); }

    QString chosenFile;
    QStringList fileDialogs;
    std::optional<tolm::store::FontState> chosenFont;
    tolm::store::FontState fontDialogStart;
    QList<QUrl> openedUrls;
};
