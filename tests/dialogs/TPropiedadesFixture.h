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
// waiting for it; the fake platform answers its file and font dialogs.
class PropiedadesTest : public ShelfTest {
protected:
    void SetUp() override { ShelfTest::SetUp(); }

    void propertiesRequested(TSpButton* item) override { TPropiedades::open(item); }

    void TearDown() override
    {
        if (TPropiedades* open = TPropiedades::Propiedades())
            open->reject();
        flushDeletes();
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
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        flushDeletes();
    }

    void cancel(TPropiedades* dialog)
    {
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        flushDeletes();
    }

    static QImage picture(QWidget* widget) { return widget->grab().toImage(); }

    // The file dialogs asked for so far, each as "title|filters".
    QStringList fileDialogs() const
    {
        QStringList asked;
        for (const auto& request : fake.choosers.fileRequests)
            asked.append(request.title + QLatin1Char('|') + request.filters);
        return asked;
    }
};
