// The dialog's controls, found in the pages that hold them.
#include "dialogs/ClockBox.h"
#include "dialogs/DriveBox.h"
#include "dialogs/FolderBox.h"
#include "dialogs/GeneralPage.h"
#include "dialogs/HeaderPanel.h"
#include "dialogs/IconBox.h"
#include "dialogs/MemoryBox.h"
#include "dialogs/ShortcutPage.h"
#include "dialogs/TPropiedades.h"

#include <QButtonGroup>

QLineEdit* TPropiedades::nameEdit() const
{
    return m_header->nameEdit();
}
QGroupBox* TPropiedades::exampleBox() const
{
    return m_header->exampleBox();
}
QGroupBox* TPropiedades::formatBox() const
{
    return m_header->formatBox();
}
QRadioButton* TPropiedades::formatButton(int index) const
{
    return m_header->formatButton(index);
}
int TPropiedades::formatIndex() const
{
    return m_header->formatButtons()->checkedId();
}
QPushButton* TPropiedades::fontButton() const
{
    return m_header->fontButton();
}
QPushButton* TPropiedades::defaultFontButton() const
{
    return m_header->defaultFontButton();
}

QWidget* TPropiedades::launcherArea() const
{
    return m_generalPage->launcherArea();
}
QLineEdit* TPropiedades::descriptionEdit() const
{
    return m_generalPage->descriptionEdit();
}
QGroupBox* TPropiedades::iconBox() const
{
    return m_generalPage->iconBox();
}
QLineEdit* TPropiedades::iconFileEdit() const
{
    return m_generalPage->iconBox()->fileEdit();
}
QCheckBox* TPropiedades::useIconCheck() const
{
    return m_generalPage->iconBox()->useIconCheck();
}
TPropiedadesIconGrid* TPropiedades::iconGrid() const
{
    return m_generalPage->iconBox()->iconGrid();
}
QPushButton* TPropiedades::associatedIconButton() const
{
    return m_generalPage->iconBox()->associatedIconButton();
}
QPushButton* TPropiedades::browseIconButton() const
{
    return m_generalPage->iconBox()->browseButton();
}
QGroupBox* TPropiedades::folderBox() const
{
    return m_generalPage->folderBox();
}
QCheckBox* TPropiedades::folderUseIconCheck() const
{
    return m_generalPage->folderBox()->useIconCheck();
}
QCheckBox* TPropiedades::folderAutoOpenCheck() const
{
    return m_generalPage->folderBox()->autoOpenCheck();
}

QGroupBox* TPropiedades::programBox() const
{
    return m_shortcutPage->programBox();
}
QLineEdit* TPropiedades::commandEdit() const
{
    return m_shortcutPage->commandEdit();
}
QLineEdit* TPropiedades::parametersEdit() const
{
    return m_shortcutPage->parametersEdit();
}
QLineEdit* TPropiedades::directoryEdit() const
{
    return m_shortcutPage->directoryEdit();
}
QComboBox* TPropiedades::runCombo() const
{
    return m_shortcutPage->runCombo();
}
QCheckBox* TPropiedades::autoRunCheck() const
{
    return m_shortcutPage->autoRunCheck();
}
QPushButton* TPropiedades::findTargetButton() const
{
    return m_shortcutPage->findTargetButton();
}
QPushButton* TPropiedades::shortcutIconButton() const
{
    return m_shortcutPage->associatedIconButton();
}
QPushButton* TPropiedades::browseCommandButton() const
{
    return m_shortcutPage->browseButton();
}

QGroupBox* TPropiedades::clockBox() const
{
    return m_generalPage->clockBox();
}
QLineEdit* TPropiedades::timeFormatEdit() const
{
    return m_generalPage->clockBox()->timeFormatEdit();
}
QLineEdit* TPropiedades::dateFormatEdit() const
{
    return m_generalPage->clockBox()->dateFormatEdit();
}
QLineEdit* TPropiedades::separatorEdit() const
{
    return m_generalPage->clockBox()->separatorEdit();
}
QCheckBox* TPropiedades::showTimeCheck() const
{
    return m_generalPage->clockBox()->showTimeCheck();
}
QCheckBox* TPropiedades::showDateCheck() const
{
    return m_generalPage->clockBox()->showDateCheck();
}
QCheckBox* TPropiedades::analogueCheck() const
{
    return m_generalPage->clockBox()->analogueCheck();
}
QCheckBox* TPropiedades::secondHandCheck() const
{
    return m_generalPage->clockBox()->secondHandCheck();
}
QGroupBox* TPropiedades::driveBox() const
{
    return m_generalPage->driveBox();
}
QComboBox* TPropiedades::driveCombo() const
{
    return m_generalPage->driveBox()->driveCombo();
}
TCSpinEdit* TPropiedades::driveRefreshSpin() const
{
    return m_generalPage->driveBox()->refreshSpin();
}
QGroupBox* TPropiedades::memoryBox() const
{
    return m_generalPage->memoryBox();
}
TCSpinEdit* TPropiedades::memoryRefreshSpin() const
{
    return m_generalPage->memoryBox()->refreshSpin();
}
