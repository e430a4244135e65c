#include "dialogs/FigureWidgets.h"

#include "dialogs/DesignSize.h"
#include "platform/Platform.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace tolm::dialogs {

namespace {

// Keeps a period box 50 pixels wide, or as wide as three digits and the
// arrows need at a larger font.
class PeriodWidth : public QObject {
public:
    explicit PeriodWidth(TCSpinEdit* spin)
        : QObject(spin)
        , m_spin(spin)
    {
        spin->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_spin && event->type() == QEvent::FontChange)
            QTimer::singleShot(0, this, [this] { apply(); });
        return false;
    }

private:
    void apply()
    {
        const int digits = m_spin->fontMetrics().horizontalAdvance(QStringLiteral("999"));
        m_spin->setFixedWidth(std::max(50, digits + 2 * TCSpinEdit::kEdge + m_spin->GetMinHeight() + 4));
    }

    TCSpinEdit* m_spin;
};

} // namespace

QLabel* figureLabel(QWidget* parent, const char* name, const QString& placeholder)
{
    // No minimum of its own: the figure grows with what a refresh writes.
    auto* label = new QLabel(placeholder, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* rowLabel(QWidget* parent, const char* name, const QString& text, int width)
{
    auto* label = atLeast(new QLabel(text, parent), { width, 0 });
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

TCGauge* barGauge(QWidget* parent, const char* name, const char* frameName, int height, tolm::gfx::Color fore,
    tolm::gfx::Color back)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(frameName));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* gauge = new TCGauge(frame);
    gauge->setObjectName(QString::fromLatin1(name));
    gauge->setFixedHeight(height);
    gauge->SeTCGaugeKind(TCGauge::gkHorizontalBar);
    gauge->SetBorderStyle(TCGauge::bsNone);
    gauge->SetForeColor(fore);
    gauge->SetBackColor(back);
    gauge->SetProgress(50);
    auto* inside = new QHBoxLayout(frame);
    inside->setContentsMargins(1, 1, 1, 1);
    inside->addWidget(gauge);
    return gauge;
}

TCSpinEdit* refreshPeriodSpin(QWidget* parent, const char* name)
{
    auto* spin = new TCSpinEdit(parent);
    spin->setObjectName(QString::fromLatin1(name));
    new PeriodWidth(spin);
    spin->SetMinValue(0);
    spin->SetMaxValue(255);
    spin->SetValue(0);
    return spin;
}

QString bytesText(quint64 bytes)
{
    return tolm::platform::services().locale->groupedNumber(bytes) + QStringLiteral(" bytes");
}

QString sizeText(quint64 bytes)
{
    return tolm::platform::services().locale->sizeText(bytes);
}

} // namespace tolm::dialogs
