#include "dialogs/KindPages.h"

#include "dialogs/DriveBox.h"
#include "dialogs/GeneralPage.h"
#include "dialogs/TPropiedades.h"
#include "items/ItemKinds.h"
#include "items/TSpButton.h"
#include "widgets/TCSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <unordered_map>

namespace {

class LauncherPage final : public KindPage {
public:
    bool hasShortcutTab() const override { return true; }
    void fill(TPropiedades& dialog, TSpButton& b) const override
    {
        dialog.nameEdit()->setText(b.Caption());
        dialog.runCombo()->setCurrentIndex(b.Run() <= 2 ? b.Run() : -1);
        dialog.autoRunCheck()->setChecked(b.Autorun());
        dialog.commandEdit()->setText(b.Comando());
        dialog.parametersEdit()->setText(b.Param());
        dialog.directoryEdit()->setText(b.Directorio());
        dialog.descriptionEdit()->setText(b.Hint());
        dialog.useIconCheck()->setChecked(b.showsIcon());
        dialog.setIconFileText(b.FichIcono());
    }
};

// For a folder the picture is its folder picture: no icon to choose.
class FolderPage final : public KindPage {
public:
    void showAreas(TPropiedades& dialog) const override
    {
        dialog.iconBox()->hide();
        dialog.folderBox()->show();
    }
    void fill(TPropiedades& dialog, TSpButton& b) const override
    {
        dialog.nameEdit()->setText(b.Caption());
        dialog.folderAutoOpenCheck()->setChecked(b.Autorun());
        dialog.descriptionEdit()->setText(b.Hint());
        dialog.folderUseIconCheck()->setChecked(b.showsIcon());
    }
};

class ClockPage final : public KindPage {
public:
    const char* helpSection() const override { return "properties-clock"; }
    void showAreas(TPropiedades& dialog) const override
    {
        dialog.launcherArea()->hide();
        dialog.clockBox()->show();
    }
    void fill(TPropiedades& dialog, TSpButton& b) const override
    {
        dialog.nameEdit()->setText(QCoreApplication::translate("KindPage", "Reloj"));
        dialog.nameEdit()->setEnabled(false);
        dialog.timeFormatEdit()->setText(b.Param());
        dialog.dateFormatEdit()->setText(b.Directorio());
        dialog.separatorEdit()->setText(b.FichIcono());
        // A checked box shows the part its option bit leaves out.
        const int options = b.clockOptions();
        dialog.analogueCheck()->setChecked(!(options & TSpButton::kTagTextClock));
        dialog.secondHandCheck()->setChecked(!(options & TSpButton::kTagNoSeconds));
        dialog.showTimeCheck()->setChecked(!(options & TSpButton::kTagNoTime));
        dialog.showDateCheck()->setChecked(!(options & TSpButton::kTagNoDate));
    }
};

class DrivePage final : public KindPage {
public:
    const char* helpSection() const override { return "properties-tiles"; }
    void showAreas(TPropiedades& dialog) const override
    {
        dialog.launcherArea()->hide();
        dialog.driveBox()->show();
    }
    void prepareCopy(TSpButton& copy) const override { copy.createPictureCache(); }
    void fill(TPropiedades& dialog, TSpButton& b) const override
    {
        dialog.nameEdit()->setEnabled(false);
        dialog.generalPage()->driveBox()->listDrives(b.Directorio());
        dialog.driveRefreshSpin()->SetValue(b.refreshPeriod());
        b.refreshGlyph();
    }
};

class MemoryPage final : public KindPage {
public:
    const char* helpSection() const override { return "properties-tiles"; }
    void showAreas(TPropiedades& dialog) const override
    {
        dialog.launcherArea()->hide();
        dialog.memoryBox()->show();
    }
    void prepareCopy(TSpButton& copy) const override { copy.createPictureCache(); }
    void fill(TPropiedades& dialog, TSpButton& b) const override
    {
        dialog.nameEdit()->setEnabled(false);
        dialog.memoryRefreshSpin()->SetValue(b.refreshPeriod());
        b.refreshGlyph();
    }
};

// A resources tile is shown with the launcher's areas and tabs, all empty.
class ResourcesPage final : public KindPage {
public:
    bool hasShortcutTab() const override { return true; }
};

class OtherPage final : public KindPage { };

} // namespace

const KindPage& KindPage::of(const tolm::items::ItemKind& kind)
{
    using namespace tolm::items;
    static const LauncherPage launcher;
    static const FolderPage folder;
    static const ClockPage clock;
    static const DrivePage drive;
    static const MemoryPage memory;
    static const ResourcesPage resources;
    static const OtherPage other;
    static const std::unordered_map<const ItemKind*, const KindPage*> pages {
        { &launcherKind(), &launcher },
        { &folderKind(), &folder },
        { &clockKind(), &clock },
        { &driveKind(), &drive },
        { &memoryKind(), &memory },
        { &resourcesKind(), &resources },
    };
    const auto found = pages.find(&kind);
    return found == pages.end() ? other : *found->second;
}
