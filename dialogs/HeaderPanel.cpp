#include "dialogs/HeaderPanel.h"

#include "dialogs/DesignSize.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

using tolm::dialogs::atLeast;

namespace {

// The size formats in the order of their stored values.
const char* const kFormats[]
    = { "40x40", "80x40", "100x40", "120x40", "40x60", "60x60", "80x60", "40x20", "80x20", "120x20" };

// The box the working copy stands in, placed by hand in its middle. It is
// as large as the largest format (120 x 60) needs, and as its title needs.
class ExampleBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;
    QSize minimumSizeHint() const override { return QGroupBox::minimumSizeHint().expandedTo({ 156, 89 }); }
    QSize sizeHint() const override { return minimumSizeHint(); }
};

} // namespace

HeaderPanel::HeaderPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("header"));

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setToolTip(tr("Nombre del botón (Editable)"));
    QPalette face = m_nameEdit->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_nameEdit->setPalette(face);
    m_nameLabel = atLeast(new QLabel(tr("Nombre:"), this), { 0, 16 });
    m_nameLabel->setObjectName(QStringLiteral("nameLabel"));
    m_nameLabel->setBuddy(m_nameEdit);

    m_exampleBox = new ExampleBox(tr(" Ejemplo "), this);
    m_exampleBox->setObjectName(QStringLiteral("exampleBox"));
    m_exampleBox->setToolTip(tr("Botón con el formato seleccionado"));
    m_exampleBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_formatBox = new QGroupBox(tr(" Formato "), this);
    m_formatBox->setObjectName(QStringLiteral("formatBox"));
    m_formatBox->setToolTip(tr("Seleccion de formato"));
    m_formatButtons = new QButtonGroup(this);
    auto* formats = new QGridLayout(m_formatBox);
    formats->setContentsMargins(5, 0, 1, 0);
    formats->setHorizontalSpacing(4);
    formats->setVerticalSpacing(0);
    formats->setColumnStretch(0, 1);
    formats->setColumnStretch(1, 1);
    // Two columns, filled top to bottom.
    for (int i = 0; i < kFormatCount; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kFormats[i]), m_formatBox);
        radio->setObjectName(QStringLiteral("format%1").arg(i));
        formats->addWidget(radio, i % 5, i / 5);
        m_formatButtons->addButton(radio, i);
    }
    m_formatButtons->button(0)->setChecked(true);
    fitFormatRows();

    m_fontButton = atLeast(new QPushButton(tr("Fuente"), this), { 78, 23 });
    m_fontButton->setObjectName(QStringLiteral("fontButton"));
    m_defaultFontButton = atLeast(new QPushButton(tr("Defecto"), this), { 78, 23 });
    m_defaultFontButton->setObjectName(QStringLiteral("defaultFontButton"));
    for (QPushButton* button : { m_fontButton, m_defaultFontButton })
        button->setAutoDefault(false);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("headerLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);

    // The name over the example on the left, the formats over the font
    // buttons on the right; the two columns share the width.
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(m_nameLabel);
    left->addWidget(m_nameEdit);
    left->addSpacing(5);
    left->addWidget(m_exampleBox);
    left->addStretch();
    auto* fontButtons = new QHBoxLayout;
    fontButtons->setSpacing(4);
    fontButtons->addWidget(m_fontButton);
    fontButtons->addWidget(m_defaultFontButton);
    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    right->addWidget(m_formatBox);
    right->addLayout(fontButtons);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->setContentsMargins(6, 1, 5, 0);
    columns->setSpacing(9);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(2, 0, 2, 0);
    panel->setSpacing(1);
    panel->addLayout(columns);
    panel->addWidget(line);
}

QRadioButton* HeaderPanel::formatButton(int index) const
{
    return qobject_cast<QRadioButton*>(m_formatButtons->button(index));
}

void HeaderPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitFormatRows();
}

void HeaderPanel::fitFormatRows()
{
    // 17 pixels a row at the default font, closer than the style's radio
    // buttons ask for; more when the text needs it.
    const int row = std::max(17, fontMetrics().height() + 4);
    for (QAbstractButton* radio : m_formatButtons->buttons())
        radio->setFixedHeight(row);
}
