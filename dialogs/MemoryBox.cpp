#include "dialogs/MemoryBox.h"

#include "dialogs/FigureWidgets.h"
#include "gfx/Color.h"
#include "platform/NumberText.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

using namespace tolm::dialogs;

namespace {

QLabel* heading(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = rowLabel(parent, name, text, 0);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// A heading over two rows of a label, the bytes and the short size.
QGridLayout* figureRows(QLabel* title, const std::array<QLabel*, 6>& cells)
{
    auto* rows = new QGridLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setHorizontalSpacing(0);
    rows->setVerticalSpacing(0);
    rows->setColumnMinimumWidth(0, 8);
    rows->addWidget(title, 0, 0, 1, 4);
    for (int i = 0; i < 6; ++i)
        rows->addWidget(cells[i], 1 + i / 3, 1 + i % 3);
    rows->setColumnMinimumWidth(2, kBytesWidth);
    rows->setColumnMinimumWidth(3, kShortWidth + 6);
    for (int row = 0; row < 3; ++row)
        rows->setRowMinimumHeight(row, 14);
    return rows;
}

} // namespace

MemoryBox::MemoryBox(QWidget* parent)
    : QGroupBox(tr(" Información y Opciones "), parent)
{
    using namespace tolm::gfx;
    setObjectName(QStringLiteral("memoryBox"));

    m_refreshSpin = refreshPeriodSpin(this, "memoryRefreshSpin");
    auto* refreshLabel = rowLabel(this, "memoryRefreshLabel", tr("Actualizar cada (seg):"), 128);
    refreshLabel->setBuddy(m_refreshSpin);
    auto* refresh = new QHBoxLayout;
    refresh->setSpacing(0);
    refresh->addWidget(refreshLabel);
    refresh->addWidget(m_refreshSpin);
    refresh->addStretch();

    QGridLayout* pageFile = figureRows(heading(this, "pageFileHeading", tr("Fichero de paginación")),
        { rowLabel(this, "pageFileUsedLabel", tr("Espacio utilizado:"), 106),
            m_pageFileUsedBytes = figureLabel(this, "pageFileUsedBytes", kBytesPlaceholder),
            m_pageFileUsedShort = figureLabel(this, "pageFileUsedShort", kShortPlaceholder),
            rowLabel(this, "pageFileTotalLabel", tr("Total:"), 106),
            m_pageFileTotalBytes = figureLabel(this, "pageFileTotalBytes", kBytesPlaceholder),
            m_pageFileTotalShort = figureLabel(this, "pageFileTotalShort", kShortPlaceholder) });
    m_pageFileGauge = barGauge(this, "pageFileGauge", "pageFileGaugeFrame", 11, clBlue, clRed);
    auto* pageFileBar = new QHBoxLayout;
    pageFileBar->setContentsMargins(8, 0, 19, 0);
    pageFileBar->addWidget(m_pageFileGauge->parentWidget());

    QGridLayout* physical = figureRows(heading(this, "physicalHeading", tr("Memoria física")),
        { rowLabel(this, "physicalUsedLabel", tr("Espacio utilizado:"), 106),
            m_physicalUsedBytes = figureLabel(this, "physicalUsedBytes", kBytesPlaceholder),
            m_physicalUsedShort = figureLabel(this, "physicalUsedShort", kShortPlaceholder),
            rowLabel(this, "physicalTotalLabel", tr("Total:"), 106),
            m_physicalTotalBytes = figureLabel(this, "physicalTotalBytes", kBytesPlaceholder),
            m_physicalTotalShort = figureLabel(this, "physicalTotalShort", kShortPlaceholder) });

    m_loadGauge = barGauge(this, "loadGauge", "loadGaugeFrame", 11, clRed, clBlue);
    auto* load = new QHBoxLayout;
    load->setContentsMargins(8, 0, 19, 0);
    load->setSpacing(8);
    load->addWidget(rowLabel(this, "loadLabel", tr("Carga de Memoria"), 110));
    load->addWidget(m_loadGauge->parentWidget(), 1);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(9, 0, 0, 3);
    box->setSpacing(3);
    box->addLayout(refresh);
    box->addLayout(pageFile);
    box->addLayout(pageFileBar);
    box->addLayout(physical);
    box->addSpacing(3);
    box->addLayout(load);
    box->addStretch();
}

void MemoryBox::showReport(const tolm::items::MemoryReport& report)
{
    const quint64 pageTotal = report.totalPageFile;
    const quint64 pageUsed = pageTotal - std::min(report.availablePageFile, pageTotal);
    m_pageFileTotalBytes->setText(bytesText(pageTotal));
    m_pageFileTotalShort->setText(sizeText(pageTotal));
    m_pageFileUsedBytes->setText(bytesText(pageUsed));
    m_pageFileUsedShort->setText(sizeText(pageUsed));
    if (pageTotal > 100)
        m_pageFileGauge->SetProgress(
            static_cast<int>(std::min<quint64>(report.availablePageFile / (pageTotal / 100), 100)));
    else if (pageTotal > 0)
        m_pageFileGauge->SetProgress(
            static_cast<int>(std::min<quint64>(report.availablePageFile * 100 / pageTotal, 100)));

    const quint64 physTotal = report.totalPhysical;
    const quint64 physUsed = physTotal - std::min(report.availablePhysical, physTotal);
    m_physicalTotalBytes->setText(bytesText(physTotal));
    m_physicalTotalShort->setText(sizeText(physTotal));
    m_physicalUsedBytes->setText(bytesText(physUsed));
    m_physicalUsedShort->setText(sizeText(physUsed));
    m_loadGauge->SetProgress(report.load);
}
