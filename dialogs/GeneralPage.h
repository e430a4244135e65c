#pragma once

#include <QWidget>

class ClockBox;
class DriveBox;
class FolderBox;
class IconBox;
class QLineEdit;
class QVBoxLayout;
class MemoryBox;

// The "General" tab: under the dialog's header, what the item's kind has to
// set. A launcher has its description and its icon, a folder its
// description and its options; clocks, drives and memory tiles have their
// own boxes. The dialog shows the one of its item's kind.
class GeneralPage : public QWidget {
    Q_OBJECT

public:
    explicit GeneralPage(QWidget* parent = nullptr);

    // Puts the header at the top of the page.
    void takeHeader(QWidget* header);

    // The description and the icon or folder box, for launchers and folders.
    QWidget* launcherArea() const { return m_launcherArea; }
    QLineEdit* descriptionEdit() const { return m_descriptionEdit; }
    IconBox* iconBox() const { return m_iconBox; }
    FolderBox* folderBox() const { return m_folderBox; }
    ClockBox* clockBox() const { return m_clockBox; }
    DriveBox* driveBox() const { return m_driveBox; }
    MemoryBox* memoryBox() const { return m_memoryBox; }

private:
    QVBoxLayout* m_layout { nullptr };
    QWidget* m_launcherArea { nullptr };
    QLineEdit* m_descriptionEdit { nullptr };
    IconBox* m_iconBox { nullptr };
    FolderBox* m_folderBox { nullptr };
    ClockBox* m_clockBox { nullptr };
    DriveBox* m_driveBox { nullptr };
    MemoryBox* m_memoryBox { nullptr };
};
