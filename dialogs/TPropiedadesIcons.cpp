// The icon picker of the "General" tab, and the file choosers of both tabs.
#include "dialogs/TPropiedades.h"
#include "dialogs/TPropiedadesIconGrid.h"
#include "gfx/Bitmaps.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace {

// The filters of "Seleccionar Icono". On Linux "*.*" would leave out every
// file without a dot, so all files are "*".
const char* const kIconFilters = QT_TRANSLATE_NOOP("TPropiedades",
    "Archivos de iconos (*.ico *.exe *.dll *.lnk);;"
    "Programas (*.exe);;"
    "Bibliotecas (*.dll);;"
    "Iconos (*.ico);;"
    "Todos los archivos (*)");

// The folder `file` lies in, found as starting it would find it: a name
// alone on PATH, a drive path through its drive; the home folder when that
// is no folder.
QString folderOf(const QString& file)
{
    const bool bareName = !file.contains(u'/') && !file.contains(u'\\') && !file.contains(u':');
    const QString local = bareName ? QStandardPaths::findExecutable(file)
                                   : tolm::platform::services().drives->localPath(file);
    const QString folder = QFileInfo(local).absolutePath();
    if (!file.isEmpty() && QDir::isAbsolutePath(local) && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

} // namespace

QString TPropiedades::chooseFile(const QString& title, const QString& filters, const QString& current)
{
    QString chosen = tolm::platform::services()
                         .choosers->chooseFile(title, filters, folderOf(current))
                         .value_or(QString());
    // The full name, whatever folder the dialog wandered to.
    if (!chosen.isEmpty())
        chosen = QFileInfo(chosen).absoluteFilePath();
    return chosen;
}

// ---------------------------------------------------------------- icon picker

void TPropiedades::setIconFileText(const QString& text)
{
    // Text set by the program: the grid follows it even when the text is the
    // same as before, which Qt would not report as a change.
    const QSignalBlocker blocker(iconFileEdit());
    iconFileEdit()->setText(text);
    recountIcons();
}

void TPropiedades::iconFileTyped()
{
    QLineEdit* edit = iconFileEdit();
    if (!edit->isModified())
        return;
    // The copy takes the typed name and the first icon at once: they are
    // what the recount would give it, and "Aceptar" may come before it.
    m_workingCopy->setFichIcono(edit->text());
    m_workingCopy->setIconIndex(0);
    edit->setModified(false);
    m_iconRecount->start();
}

bool TPropiedades::iconRecountPending() const
{
    return m_iconRecount->isActive();
}

void TPropiedades::recountIcons()
{
    m_iconRecount->stop();
    QLineEdit* edit = iconFileEdit();
    if (edit->isModified()) {
        m_workingCopy->setFichIcono(edit->text());
        m_workingCopy->setIconIndex(0);
        edit->setModified(false);
    }
    TPropiedadesIconGrid* grid = iconGrid();
    const int count = tolm::platform::services().icons->iconCount(m_workingCopy->FichIcono());
    grid->setColCount(std::max(1, count));
    grid->viewport()->update();
    m_workingCopy->refreshGlyph();
    // A stored index beyond the icons the file holds now (the file changed
    // since) cannot be selected; the first icon stands in for it.
    int index = m_workingCopy->iconIndex();
    if (index < 0 || index >= grid->ColCount())
        index = 0;
    grid->setCol(index);
}

bool TPropiedades::iconCellSelected(int column)
{
    m_workingCopy->setIconIndex(column);
    m_workingCopy->refreshGlyph();
    return true;
}

void TPropiedades::drawIconCell(QPainter& painter, int column, const QRect& cell, bool selected)
{
    painter.fillRect(cell, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    auto* icons = tolm::platform::services().icons;
    // Nothing is kept between paints: each visible cell asks for its icon again.
    QImage icon = icons->extractIcon(m_workingCopy->FichIcono(), column);
    if (icon.isNull())
        icon = icons->associatedIcon(m_workingCopy->Comando()).image;
    if (icon.isNull())
        icon = tolm::gfx::iconImage("NO_ICON");
    painter.drawImage(QRect(cell.topLeft() + QPoint(4, 4),
                          QSize(tolm::platform::Icons::iconSize, tolm::platform::Icons::iconSize)),
        icon);
}

void TPropiedades::takeAssociatedIcon()
{
    const QString command = m_workingCopy->Comando();
    const tolm::platform::AssociatedIcon found = tolm::platform::services().icons->associatedIcon(command);
    // Without an answer the command itself stands as the file, at index 0.
    const bool answered = !found.image.isNull() && !found.file.isEmpty();
    m_workingCopy->setIconIndex(answered ? (found.index & 0xFFFF) : 0);
    m_workingCopy->setFichIcono(answered ? found.file : command);
    setIconFileText(m_workingCopy->FichIcono());
}

void TPropiedades::browseIcon()
{
    const QString chosen = chooseFile(tr("Seleccionar Icono"), tr(kIconFilters), m_workingCopy->FichIcono());
    if (chosen.isEmpty())
        return;
    m_workingCopy->setFichIcono(chosen);
    m_workingCopy->setIconIndex(0);
    setIconFileText(chosen);
}
