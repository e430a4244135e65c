#pragma once

#include "dialogs/GeneralPage.h"
#include "dialogs/HeaderPanel.h"
#include "dialogs/ShortcutPage.h"
#include "items/ItemReports.h"
#include "items/TSpButton.h"
#include "store/Components.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

class ClockBox;
class DriveBox;
class FolderBox;
class IconBox;
class MemoryBox;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class TCSpinEdit;
class TPropiedadesIconGrid;

// Edits one shelf item through a live working copy shown in the " Ejemplo "
// box. Every control writes into the copy at once; "Aceptar" copies it back
// onto the item, "Cancelar" and the close box drop it. A new dialog is made
// for every edit and released when it closes.
//
// Two tabs, "General" and, for launchers, "Acceso directo", each a page of
// its own; the header with the name, the example and the formats stands at
// the top of whichever is shown. Everything is placed by layouts: the dialog
// opens at its designed size, larger when its font needs more.
class TPropiedades : public QDialog {
    Q_OBJECT

public:
    // Prepares the dialog for `item` (the copy, the format, the kind's area)
    // without showing it. The dialog is `Propiedades()` until it finishes.
    explicit TPropiedades(TSpButton* item, QWidget* parent = nullptr);
    ~TPropiedades() override;

    // What the "P&ropiedades" command does: makes the dialog, runs it
    // modally, writes the copy back on "Aceptar" and lets the dialog go.
    static int execute(TSpButton* item);
    // The same without waiting: the dialog is shown and does its work when
    // it finishes. For tests and for callers that cannot block.
    static TPropiedades* open(TSpButton* item);
    // The dialog while it exists, else null.
    static TPropiedades* Propiedades();

    TSpButton* item() const { return m_item; }
    // The working copy the controls edit.
    TSpButton* workingCopy() const { return m_workingCopy; }
    // "Defecto" was the last font choice: the item follows its window's font.
    bool defaultFontChosen() const { return m_defaultFontChosen; }

    QTabWidget* pages() const { return m_pages; }
    GeneralPage* generalPage() const { return m_generalPage; }
    ShortcutPage* shortcutPage() const { return m_shortcutPage; }
    QDialogButtonBox* buttonBox() const { return m_buttonBox; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }
    QPushButton* helpButton() const { return m_helpButton; }
    // The manual's section on the page shown for this kind of item, where
    // "Ayuda" and F1 open it.
    QString helpSection() const;

    // The header.
    HeaderPanel* header() const { return m_header; }
    QLineEdit* nameEdit() const;
    QGroupBox* exampleBox() const;
    QGroupBox* formatBox() const;
    QRadioButton* formatButton(int index) const;
    // The chosen format's stored value.
    int formatIndex() const;
    QPushButton* fontButton() const;
    QPushButton* defaultFontButton() const;

    // The General tab: the launcher and folder area, the icon picker and the
    // folder options.
    QWidget* launcherArea() const;
    QLineEdit* descriptionEdit() const;
    QGroupBox* iconBox() const;
    QLineEdit* iconFileEdit() const;
    QCheckBox* useIconCheck() const;
    TPropiedadesIconGrid* iconGrid() const;
    QPushButton* associatedIconButton() const;
    QPushButton* browseIconButton() const;
    QGroupBox* folderBox() const;
    QCheckBox* folderUseIconCheck() const;
    QCheckBox* folderAutoOpenCheck() const;

    // The shortcut tab.
    QGroupBox* programBox() const;
    QLineEdit* commandEdit() const;
    QLineEdit* parametersEdit() const;
    QLineEdit* directoryEdit() const;
    QComboBox* runCombo() const;
    QCheckBox* autoRunCheck() const;
    QPushButton* findTargetButton() const;
    QPushButton* shortcutIconButton() const;
    QPushButton* browseCommandButton() const;

    // Clock, drive and memory options. The figure labels and gauges are
    // found by their names ("capacityShort", "freeGauge" ...).
    QGroupBox* clockBox() const;
    QLineEdit* timeFormatEdit() const;
    QLineEdit* dateFormatEdit() const;
    QLineEdit* separatorEdit() const;
    QCheckBox* showTimeCheck() const;
    QCheckBox* showDateCheck() const;
    QCheckBox* analogueCheck() const;
    QCheckBox* secondHandCheck() const;
    QGroupBox* driveBox() const;
    QComboBox* driveCombo() const;
    TCSpinEdit* driveRefreshSpin() const;
    QGroupBox* memoryBox() const;
    TCSpinEdit* memoryRefreshSpin() const;

    // What the drive and memory refreshes of the working copy write here.
    void showDriveReport(const tolm::items::DriveReport& report);
    void showMemoryReport(const tolm::items::MemoryReport& report);

    // The name of a drive type code as the dialog shows it; empty for an unknown code.
    static QString driveTypeName(int type);

    // Typing in "Nombre del Archivo" takes the file name at once; the icons
    // are counted again once the typing pauses for this long.
    static constexpr int kIconRecountDelayMs = 250;
    bool iconRecountPending() const;
    // Puts a file name in "Nombre del Archivo" and counts its icons at once.
    void setIconFileText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtons();
    void connectHeader();
    void connectLauncherArea();
    void connectShortcutPage();
    void connectOptions();
    void prepareKind();
    // Fills the controls from the working copy when the dialog is shown.
    void fillControls();
    void centreExample();
    void setTabOrderOfControls();
    // Puts the keyboard focus, shown, in the first box the user can type into.
    void focusFirstEdit();
    // The header moves to the page being shown.
    void pageChanged(int index);

    void chooseFont();
    void useDefaultFont();
    void formatChosen(int index);
    void findTarget();
    void browseCommand();
    void takeAssociatedIcon();
    void browseIcon();
    void iconFileTyped();
    void recountIcons();
    bool iconCellSelected(int column);
    void drawIconCell(QPainter& painter, int column, const QRect& cell, bool selected);
    void driveTyped(const QString& text);
    void refreshPeriodChanged(TCSpinEdit* spin);
    // Runs `show` now, or after the working copy's paint when it comes from one.
    void showAfterPaint(const std::function<void()>& show);
    void showHelp();

    // Runs the file dialog (or the tests' stand-in) in the folder of
    // `current`, the file the field holds, when it has one that exists, else
    // in the home folder: never in the shelf folder, the process's current
    // directory. Empty when the user cancelled.
    QString chooseFile(const QString& title, const QString& filters, const QString& current);
    // The edit rule: the box's text goes into the copy only when the user typed it.
    void bindEdit(QLineEdit* edit, const std::function<void(const QString&)>& store);
    void bindClockBit(QCheckBox* box, int bit);
    // Writes the copy back onto the item when the dialog was accepted; runs once.
    void finish(int result);

    QPointer<TSpButton> m_item;
    // The window the item stands on: its timer items' covered flags are
    // renewed when the copy is written back.
    QPointer<QWidget> m_window;
    TSpButton* m_workingCopy { nullptr };
    bool m_defaultFontChosen { false };
    bool m_filling { false };
    bool m_finished { false };

    QTabWidget* m_pages { nullptr };
    HeaderPanel* m_header { nullptr };
    GeneralPage* m_generalPage { nullptr };
    ShortcutPage* m_shortcutPage { nullptr };
    QDialogButtonBox* m_buttonBox { nullptr };
    QPushButton* m_okButton { nullptr };
    QPushButton* m_cancelButton { nullptr };
    QPushButton* m_helpButton { nullptr };
    QTimer* m_iconRecount { nullptr };
};
