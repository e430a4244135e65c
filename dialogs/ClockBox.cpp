#include "dialogs/ClockBox.h"

#include "dialogs/DesignSize.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using tolm::dialogs::atLeast;

namespace {

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& text)
{
    auto* box = atLeast(new QCheckBox(text, parent), { 150, 19 });
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

ClockBox::ClockBox(QWidget* parent)
    : QGroupBox(tr(" Opciones "), parent)
{
    setObjectName(QStringLiteral("clockBox"));
    m_timeFormatEdit = edit(this, "timeFormatEdit");
    m_dateFormatEdit = edit(this, "dateFormatEdit");
    m_separatorEdit = edit(this, "separatorEdit");
    // A separator is a character or two.
    m_separatorEdit->setMaximumWidth(60);
    m_showTimeCheck = check(this, "showTimeCheck", tr("Incluir hora"));
    m_showDateCheck = check(this, "showDateCheck", tr("Incluir fecha"));
    m_analogueCheck = check(this, "analogueCheck", tr("Reloj Analógico"));
    m_secondHandCheck = check(this, "secondHandCheck", tr("Segundero"));

    auto* formats = new QFormLayout;
    formats->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    formats->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    formats->setHorizontalSpacing(2);
    formats->setVerticalSpacing(6);
    const std::pair<const char*, QString> labels[] = {
        { "timeFormatLabel", tr("Formato de la hora") },
        { "dateFormatLabel", tr("Formato de la fecha") },
        { "separatorLabel", tr("Separador") },
    };
    QLineEdit* const edits[] = { m_timeFormatEdit, m_dateFormatEdit, m_separatorEdit };
    for (int i = 0; i < 3; ++i) {
        auto* label = atLeast(new QLabel(labels[i].second, this), { 118, 0 });
        label->setObjectName(QString::fromLatin1(labels[i].first));
        label->setBuddy(edits[i]);
        formats->addRow(label, edits[i]);
    }

    // What the clock shows, in two columns: time and date, face and hand.
    auto* parts = new QGridLayout;
    parts->setHorizontalSpacing(10);
    parts->setVerticalSpacing(7);
    parts->addWidget(m_showTimeCheck, 0, 0);
    parts->addWidget(m_showDateCheck, 1, 0);
    parts->addWidget(m_analogueCheck, 0, 1);
    parts->addWidget(m_secondHandCheck, 1, 1);
    parts->setColumnStretch(2, 1);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(7, 1, 8, 3);
    box->setSpacing(12);
    box->addLayout(formats);
    box->addLayout(parts);
    box->addStretch();
}
