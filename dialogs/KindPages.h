#pragma once

class TPropiedades;
class TSpButton;

namespace tolm::items {
class ItemKind;
}

// What the properties dialog shows of each kind of item: the areas of the
// "General" tab, whether the "Acceso directo" tab is there, and the fields
// that fill them. The dialog's controls write into the working copy
// themselves; only the kind's boxes are shown.
class KindPage {
public:
    virtual ~KindPage() = default;

    // The page of an item's kind; a kind without one shows the launcher's
    // areas empty, without the shortcut tab.
    static const KindPage& of(const tolm::items::ItemKind& kind);

    // Shows the kind's areas; the boxes of the other kinds are hidden already.
    virtual void showAreas(TPropiedades&) const { }
    virtual bool hasShortcutTab() const { return false; }
    // Readies the working copy before the timer refreshes it.
    virtual void prepareCopy(TSpButton&) const { }
    // Fills the kind's controls from the working copy.
    virtual void fill(TPropiedades&, TSpButton&) const { }
    // The manual's section on the "General" tab of this kind.
    virtual const char* helpSection() const { return "properties-general"; }

protected:
    KindPage() = default;
};
