#include "dialogs/ShortcutPage.h"

#include "dialogs/DesignSize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using tolm::dialogs::atLeast;

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text, int width)
{
    auto* b = atLeast(new QPushButton(text, parent), { width, 23 });
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

ShortcutPage::ShortcutPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("shortcutPage"));
    QGroupBox* g = m_programBox = new QGroupBox(tr(" Datos del programa "), this);
    g->setObjectName(QStringLiteral("programBox"));

    m_commandEdit = new QLineEdit(g);
    m_commandEdit->setObjectName(QStringLiteral("commandEdit"));
    m_commandEdit->setToolTip(tr("Nombre del programa o Archivo"));
    m_parametersEdit = new QLineEdit(g);
    m_parametersEdit->setObjectName(QStringLiteral("parametersEdit"));
    m_parametersEdit->setToolTip(tr("Parámetros del programa (opcional)"));
    m_directoryEdit = new QLineEdit(g);
    m_directoryEdit->setObjectName(QStringLiteral("directoryEdit"));
    m_runCombo = atLeast(new QComboBox(g), { 130, 0 });
    m_runCombo->setObjectName(QStringLiteral("runCombo"));
    m_runCombo->addItems({ tr("Ventana normal"), tr("Minimizada"), tr("Maximizada") });
    m_autoRunCheck = atLeast(new QCheckBox(tr("Ejecutar automáticamente"), g), { 200, 19 });
    m_autoRunCheck->setObjectName(QStringLiteral("autoRunCheck"));
    m_findTargetButton = button(g, "findTargetButton", tr("Buscar destino ..."), 112);
    m_associatedIconButton = button(g, "shortcutIconButton", tr("Icono Asociado"), 100);
    m_browseButton = button(g, "browseCommandButton", tr("E&xaminar..."), 94);

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    fields->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fields->setHorizontalSpacing(2);
    fields->setVerticalSpacing(3);
    const std::pair<const char*, QString> labels[] = {
        { "commandLabel", tr("&Comando") },
        { "parametersLabel", tr("&Parámetros") },
        { "directoryLabel", tr("&Iniciar en") },
        { "runLabel", tr("&Ejecutar") },
    };
    QWidget* const controls[] = { m_commandEdit, m_parametersEdit, m_directoryEdit, m_runCombo };
    for (int i = 0; i < 4; ++i) {
        auto* label = atLeast(new QLabel(labels[i].second, g), { 72, 0 });
        label->setObjectName(QString::fromLatin1(labels[i].first));
        label->setBuddy(controls[i]);
        fields->addRow(label, controls[i]);
    }
    // The run combo keeps its own width rather than the row's.
    m_runCombo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_findTargetButton);
    buttons->addWidget(m_associatedIconButton);
    buttons->addWidget(m_browseButton);
    buttons->addStretch();

    auto* box = new QVBoxLayout(g);
    box->setContentsMargins(7, 0, 6, 4);
    box->setSpacing(5);
    box->addLayout(fields);
    box->addWidget(m_autoRunCheck, 0, Qt::AlignLeft);
    box->addLayout(buttons);
    box->addStretch();

    auto* lower = new QVBoxLayout;
    lower->setContentsMargins(4, 5, 4, 4);
    lower->addWidget(g, 1);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addLayout(lower, 1);
}

void ShortcutPage::takeHeader(QWidget* header)
{
    m_layout->insertWidget(0, header);
    header->show();
    m_layout->activate();
}
