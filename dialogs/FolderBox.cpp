#include "dialogs/FolderBox.h"

#include "dialogs/DesignSize.h"

#include <QCheckBox>
#include <QVBoxLayout>

using tolm::dialogs::atLeast;

FolderBox::FolderBox(QWidget* parent)
    : QGroupBox(tr(" Varios "), parent)
{
    setObjectName(QStringLiteral("folderBox"));
    m_useIconCheck = atLeast(new QCheckBox(tr("Usar Icono"), this), { 200, 19 });
    m_useIconCheck->setObjectName(QStringLiteral("folderUseIconCheck"));
    m_autoOpenCheck = atLeast(new QCheckBox(tr("Abrir automáticamente"), this), { 200, 19 });
    m_autoOpenCheck->setObjectName(QStringLiteral("folderAutoOpenCheck"));

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(9, 1, 0, 6);
    box->setSpacing(5);
    box->addWidget(m_useIconCheck, 0, Qt::AlignLeft);
    box->addWidget(m_autoOpenCheck, 0, Qt::AlignLeft);
}
