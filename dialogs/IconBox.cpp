#include "dialogs/IconBox.h"

#include "dialogs/DesignSize.h"
#include "dialogs/TPropiedadesIconGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using tolm::dialogs::atLeast;

IconBox::IconBox(QWidget* parent)
    : QGroupBox(tr(" Icono "), parent)
{
    setObjectName(QStringLiteral("iconBox"));

    m_fileEdit = new QLineEdit(this);
    m_fileEdit->setObjectName(QStringLiteral("iconFileEdit"));
    m_fileEdit->setToolTip(tr("Nombre del archivo de icono"));
    auto* fileLabel = atLeast(new QLabel(tr("&Nombre del Archivo"), this), { 160, 17 });
    fileLabel->setObjectName(QStringLiteral("iconFileLabel"));
    fileLabel->setBuddy(m_fileEdit);
    m_useIconCheck = atLeast(new QCheckBox(tr("Usar Icono"), this), { 94, 19 });
    m_useIconCheck->setObjectName(QStringLiteral("useIconCheck"));

    // Seven icons wide; the cells keep their size at any font.
    m_iconGrid = atLeast(new TPropiedadesIconGrid(this), { 284, 57 });
    m_iconGrid->setObjectName(QStringLiteral("iconGrid"));
    m_iconGrid->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_associatedIconButton = atLeast(new QPushButton(tr("Icono Asociado"), this), { 110, 23 });
    m_associatedIconButton->setObjectName(QStringLiteral("associatedIconButton"));
    m_browseButton = atLeast(new QPushButton(tr("E&xaminar..."), this), { 94, 23 });
    m_browseButton->setObjectName(QStringLiteral("browseIconButton"));
    for (QPushButton* button : { m_associatedIconButton, m_browseButton })
        button->setAutoDefault(false);

    // The file's label with "Usar Icono" level with it, the file, the grid
    // and the buttons, in a column as wide as seven icons; the rest of the
    // box's width stays empty.
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(fileLabel);
    labelRow->addStretch();
    labelRow->addWidget(m_useIconCheck);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(6);
    buttonRow->addWidget(m_associatedIconButton);
    buttonRow->addWidget(m_browseButton);
    buttonRow->addStretch();

    auto* box = new QGridLayout(this);
    box->setContentsMargins(7, 0, 0, 2);
    box->setVerticalSpacing(1);
    box->addLayout(labelRow, 0, 0);
    box->addWidget(m_fileEdit, 1, 0);
    box->addWidget(m_iconGrid, 2, 0);
    box->addLayout(buttonRow, 3, 0);
    box->setColumnStretch(1, 1);
    box->setRowStretch(4, 1);
}
