#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

namespace tolm::app {

// Copies of shelf files made when two machines changed the same file, by a
// file-sync service ("tolm95.sync-conflict-….dat", "tolm95 (conflicted
// copy).dat", …) or by a Tolm ("tolm95-conflicto-….dat"), hold what one of
// them arranged, and Tolm never reads them. They are said in a message box:
// those in the shelf folder at start, and those that appear while Tolm runs,
// each one once; a copy this Tolm wrote was said when it wrote it.
class ConflictCopies : public QObject {
    Q_OBJECT

public:
    explicit ConflictCopies(const QString& folder, QObject* parent = nullptr);

    // Says the copies in the folder not said before, in one box.
    void sayNew();

private:
    QString m_folder;
    QSet<QString> m_said;
    // A service writes a copy in steps (a temporary file, then a rename), and
    // several copies at once: the folder is looked at once it has settled.
    QTimer m_settle;
    bool m_saying { false };
};

} // namespace tolm::app
