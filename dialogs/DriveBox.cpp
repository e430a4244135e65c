#include "dialogs/DriveBox.h"

#include "dialogs/DesignSize.h"
#include "dialogs/FigureWidgets.h"
#include "gfx/Color.h"
#include "platform/NumberText.h"
#include "platform/Platform.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace tolm::dialogs;

namespace {

// A small lowered square in a solid colour: the legend of a gauge's part.
QFrame* legend(QWidget* parent, const char* name, tolm::gfx::Color color)
{
    auto* square = new QFrame(parent);
    square->setObjectName(QString::fromLatin1(name));
    square->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    square->setFixedSize(11, 11);
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, tolm::gfx::toQColor(color));
    square->setPalette(palette);
    return square;
}

} // namespace

DriveBox::DriveBox(QWidget* parent)
    : QGroupBox(tr(" Información y Opciones "), parent)
{
    using namespace tolm::gfx;
    setObjectName(QStringLiteral("driveBox"));

    // Used, free and capacity: a legend, a label, the bytes and the short size.
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(0);
    figures->setVerticalSpacing(2);
    figures->setColumnMinimumWidth(0, 14);
    figures->addWidget(legend(this, "usedLegend", clRed), 0, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    figures->addWidget(rowLabel(this, "usedLabel", tr("Espacio utilizado:"), 106), 0, 1);
    figures->addWidget(m_usedBytes = figureLabel(this, "usedBytes", kBytesPlaceholder), 0, 2);
    figures->addWidget(m_usedShort = figureLabel(this, "usedShort", kShortPlaceholder), 0, 3);
    figures->addWidget(legend(this, "freeLegend", clBlue), 1, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    figures->addWidget(rowLabel(this, "freeLabel", tr("Espacio disponible:"), 106), 1, 1);
    figures->addWidget(m_freeBytes = figureLabel(this, "freeBytes", kBytesPlaceholder), 1, 2);
    figures->addWidget(m_freeShort = figureLabel(this, "freeShort", kShortPlaceholder), 1, 3);
    figures->addWidget(rowLabel(this, "capacityLabel", tr("Capacidad:"), 106), 2, 1);
    figures->addWidget(m_capacityBytes = figureLabel(this, "capacityBytes", kBytesPlaceholder), 2, 2);
    figures->addWidget(m_capacityShort = figureLabel(this, "capacityShort", kShortPlaceholder), 2, 3);
    figures->setColumnMinimumWidth(2, kBytesWidth);
    figures->setColumnMinimumWidth(3, kShortWidth);
    for (int row = 0; row < 3; ++row)
        figures->setRowMinimumHeight(row, 15);

    m_freeGauge = barGauge(this, "freeGauge", "freeGaugeFrame", 15, clBlue, clRed);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->setContentsMargins(15, 0, 12, 0);
    gaugeRow->addWidget(m_freeGauge->parentWidget());

    m_typeLabel = new QLabel(tr("Tipo: Disco duro local (FAT)"), this);
    m_typeLabel->setObjectName(QStringLiteral("typeLabel"));
    m_typeLabel->setAlignment(Qt::AlignCenter);
    keepAtLeast(m_typeLabel, { 0, 15 });

    m_driveCombo = atLeast(new QComboBox(this), { 65, 0 });
    m_driveCombo->setObjectName(QStringLiteral("driveCombo"));
    m_driveCombo->setEditable(true);
    // Typed text is the drive as it is; no completion may change it.
    m_driveCombo->setCompleter(nullptr);
    m_driveCombo->setInsertPolicy(QComboBox::NoInsert);
    // Room for a drive letter or a short mount point; longer ones scroll.
    m_driveCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_driveCombo->setMinimumContentsLength(3);
    auto* driveLabel = rowLabel(this, "driveLabel", tr("Unidad:"), 50);
    driveLabel->setBuddy(m_driveCombo);
    m_refreshSpin = refreshPeriodSpin(this, "driveRefreshSpin");
    auto* refreshLabel = rowLabel(this, "driveRefreshLabel", tr("Actualizar cada (seg):"), 128);
    refreshLabel->setBuddy(m_refreshSpin);
    auto* settings = new QHBoxLayout;
    settings->setContentsMargins(8, 4, 0, 0);
    settings->setSpacing(2);
    settings->addWidget(driveLabel);
    settings->addWidget(m_driveCombo);
    settings->addSpacing(2);
    settings->addWidget(refreshLabel);
    settings->addWidget(m_refreshSpin);
    settings->addStretch();

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 3);
    box->setSpacing(6);
    box->addLayout(figures);
    box->addLayout(gaugeRow);
    box->addWidget(m_typeLabel);
    box->addLayout(settings);
    box->addStretch();
}

void DriveBox::listDrives(const QString& drive)
{
    const QStringList roots = tolm::platform::services().drives->logicalDriveStrings();
    m_driveCombo->clear();
    m_driveCombo->addItems(roots);
    int selected = -1;
    for (int i = 0; i < roots.size(); ++i) {
        if (roots[i].compare(drive, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    m_driveCombo->setCurrentIndex(selected);
    // A drive that is not in the list (a mount point, a letter not mounted
    // now) still shows what the item names.
    if (selected < 0)
        m_driveCombo->setEditText(drive);
}

QString DriveBox::typeName(int type)
{
    static const char* const names[] = { QT_TR_NOOP("Desconocido"), QT_TR_NOOP("Disco no accesible"),
        QT_TR_NOOP("Disco removible"), QT_TR_NOOP("Disco fijo"), QT_TR_NOOP("Unidad de red"),
        QT_TR_NOOP("CD-ROM"), QT_TR_NOOP("Disco RAM") };
    if (type < 0 || type > 6)
        return {};
    return tr(names[type]);
}

void DriveBox::showReport(const tolm::items::DriveReport& report)
{
    QString type = tr("Tipo: ") + typeName(report.type) + QStringLiteral(" (") + report.fileSystem
        + QStringLiteral(")");
    if (report.volumeRead && report.compressed)
        type += tr(", Comprimido");
    m_typeLabel->setText(type);

    QLabel* const bytes[] = { m_capacityBytes, m_freeBytes, m_usedBytes };
    QLabel* const shorts[] = { m_capacityShort, m_freeShort, m_usedShort };
    const bool cdrom = report.type == tolm::platform::DriveCdRom;
    if (report.sizesRead && !cdrom) {
        const quint64 total = report.totalBytes;
        const quint64 free = std::min(report.freeBytes, total);
        const quint64 used = std::min(report.usedBytes, total);
        m_capacityBytes->setText(bytesText(total));
        m_capacityShort->setText(sizeText(total));
        m_freeBytes->setText(bytesText(free));
        m_freeShort->setText(sizeText(free));
        m_usedBytes->setText(bytesText(used));
        m_usedShort->setText(sizeText(used));
        // The free share as the tile's bar and df's Use% count it: of what
        // files take and what may still be written, root's reserve left out.
        if (used + free > 0)
            m_freeGauge->SetProgress(static_cast<int>(tolm::platform::scaledShare(free, 100, used + free)));
        return;
    }
    const QString what = cdrom && report.volumeRead ? QStringLiteral("CD-ROM") : tr("Sin disco");
    for (QLabel* l : bytes)
        l->setText(what);
    for (QLabel* l : shorts)
        l->clear();
    m_freeGauge->SetProgress(cdrom && report.volumeRead ? 0 : 100);
}
