#include "dialogs/GeneralPage.h"

#include "dialogs/ClockBox.h"
#include "dialogs/DesignSize.h"
#include "dialogs/DriveBox.h"
#include "dialogs/FolderBox.h"
#include "dialogs/IconBox.h"
#include "dialogs/MemoryBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using tolm::dialogs::atLeast;

GeneralPage::GeneralPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("generalPage"));

    m_launcherArea = new QWidget(this);
    m_launcherArea->setObjectName(QStringLiteral("launcherArea"));
    m_descriptionEdit = new QLineEdit(m_launcherArea);
    m_descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    auto* descriptionLabel = atLeast(new QLabel(tr("Descripción:"), m_launcherArea), { 70, 0 });
    descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
    descriptionLabel->setBuddy(m_descriptionEdit);
    m_iconBox = new IconBox(m_launcherArea);
    m_folderBox = new FolderBox(m_launcherArea);

    auto* description = new QHBoxLayout;
    description->setContentsMargins(4, 0, 3, 0);
    description->setSpacing(2);
    description->addWidget(descriptionLabel);
    description->addWidget(m_descriptionEdit);
    auto* launcher = new QVBoxLayout(m_launcherArea);
    launcher->setContentsMargins(0, 2, 0, 0);
    launcher->setSpacing(3);
    launcher->addLayout(description);
    launcher->addWidget(m_iconBox, 1);
    launcher->addWidget(m_folderBox);
    launcher->addStretch();

    m_clockBox = new ClockBox(this);
    m_driveBox = new DriveBox(this);
    m_memoryBox = new MemoryBox(this);

    // The header, then the kind's area down to the bottom of the page.
    auto* lower = new QVBoxLayout;
    lower->setContentsMargins(4, 4, 4, 4);
    for (QWidget* area :
        std::initializer_list<QWidget*> { m_launcherArea, m_clockBox, m_driveBox, m_memoryBox })
        lower->addWidget(area, 1);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addLayout(lower, 1);
}

void GeneralPage::takeHeader(QWidget* header)
{
    m_layout->insertWidget(0, header);
    header->show();
    m_layout->activate();
}
