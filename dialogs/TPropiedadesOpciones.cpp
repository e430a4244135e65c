// The clock options and the live drive and memory figures.
#include "dialogs/TPropiedades.h"
#include "dialogs/TPropiedadesLayout.h"
#include "gfx/Color.h"
#include "items/TSpButton.h"
#include "platform/NumberText.h"
#include "platform/Platform.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QComboBox>
#include <QFrame>

using namespace tolm::dialogs;
using tolm::platform::groupedNumber;
using tolm::platform::shortSizeText;

namespace {

constexpr QRect kLowerArea { 4, 142, 337, 176 };

// A small lowered square in a solid colour: the legend of a gauge's part.
QFrame* legend(QWidget* parent, const char* name, const QRect& geometry, tolm::gfx::Color color)
{
    auto* square = placed(new QFrame(parent), name, geometry);
    square->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, tolm::gfx::toQColor(color));
    square->setPalette(palette);
    return square;
}

// A bar gauge in a lowered frame; the filled part is `fore`, the rest `back`.
TCGauge* barGauge(QWidget* parent, const char* name, const char* frameName, const QRect& inner,
    tolm::gfx::Color fore, tolm::gfx::Color back)
{
    auto* frame = placed(new QFrame(parent), frameName, inner.adjusted(-2, -2, 2, 2));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* gauge = placed(new TCGauge(frame), name, { 2, 2, inner.width(), inner.height() });
    gauge->SeTCGaugeKind(TCGauge::gkHorizontalBar);
    gauge->SetBorderStyle(TCGauge::bsNone);
    gauge->SetForeColor(fore);
    gauge->SetBackColor(back);
    gauge->SetProgress(50);
    return gauge;
}

QLabel* figure(QWidget* parent, const char* name, const QRect& geometry, const QString& placeholder)
{
    return label(parent, name, placeholder, geometry, Qt::AlignRight | Qt::AlignVCenter);
}

const QString kBytesPlaceholder = QStringLiteral("99.999.999.999 bytes");
const QString kShortPlaceholder = QStringLiteral("99,99 GB");

TCSpinEdit* periodSpin(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* spin = new TCSpinEdit(parent);
    // The spin edit grows to the height its font needs; place it at that height at once.
    placed(spin, name,
        QRect(
            geometry.topLeft(), QSize(geometry.width(), std::max(geometry.height(), spin->GetMinHeight()))));
    spin->SetMinValue(0);
    spin->SetMaxValue(255);
    spin->SetValue(0);
    return spin;
}

QString bytesText(quint64 bytes)
{
    return tolm::platform::services().locale->groupedNumber(bytes) + QStringLiteral(" bytes");
}

} // namespace

void TPropiedades::buildClockOptions()
{
    m_groupOpciones = group(m_tabGeneral, "GroupOpciones", QStringLiteral(" Opciones "), kLowerArea);
    m_edFormatoHora = edit(m_groupOpciones, "EdFormatoHora", { 130, 20, 196, 21 });
    buddyLabel(m_groupOpciones, "Label7", QStringLiteral("Formato de la hora"), { 10, 20, 118, 21 },
        m_edFormatoHora);
    m_edFormatoFecha = edit(m_groupOpciones, "EdFormatoFecha", { 130, 48, 196, 21 });
    buddyLabel(m_groupOpciones, "Label8", QStringLiteral("Formato de la fecha"), { 10, 48, 118, 21 },
        m_edFormatoFecha);
    m_edSeparador = edit(m_groupOpciones, "EdSeparador", { 130, 76, 60, 21 });
    buddyLabel(m_groupOpciones, "Label9", QStringLiteral("Separador"), { 10, 76, 118, 21 }, m_edSeparador);
    m_checkHora
        = checkBox(m_groupOpciones, "CheckHora", QStringLiteral("Incluir hora"), { 10, 110, 150, 19 });
    m_checkFecha
        = checkBox(m_groupOpciones, "CheckFecha", QStringLiteral("Incluir fecha"), { 10, 136, 150, 19 });
    m_checkRelojA
        = checkBox(m_groupOpciones, "CheckRelojA", QStringLiteral("Reloj Analógico"), { 170, 110, 150, 19 });
    m_checkSeg = checkBox(m_groupOpciones, "CheckSeg", QStringLiteral("Segundero"), { 170, 136, 150, 19 });

    // The clock draws itself again at every tick; no refresh is asked for here.
    bindEdit(m_edFormatoHora, [this](const QString& text) { m_botonEjemplo->setParam(text); });
    bindEdit(m_edFormatoFecha, [this](const QString& text) { m_botonEjemplo->setDirectorio(text); });
    bindEdit(m_edSeparador, [this](const QString& text) { m_botonEjemplo->setFichIcono(text); });
    bindClockBit(m_checkHora, TSpButton::kTagNoTime);
    bindClockBit(m_checkFecha, TSpButton::kTagNoDate);
    bindClockBit(m_checkRelojA, TSpButton::kTagTextClock);
    bindClockBit(m_checkSeg, TSpButton::kTagNoSeconds);
}

void TPropiedades::bindClockBit(QCheckBox* box, int bit)
{
    // A checked box means the bit is clear: the clock shows that part.
    connect(box, &QCheckBox::clicked, this, [this, bit](bool on) {
        const int tag = m_botonEjemplo->Tag();
        m_botonEjemplo->setTag(on ? (tag & ~bit) : (tag | bit));
        m_botonEjemplo->refreshGlyph();
    });
}

void TPropiedades::buildDriveOptions()
{
    using namespace tolm::gfx;
    QGroupBox* g = m_groupDisco
        = group(m_tabGeneral, "GroupDisco", QStringLiteral(" Información y Opciones "), kLowerArea);
    legend(g, "Panel2", { 6, 21, 11, 11 }, clRed);
    label(g, "Label11", QStringLiteral("Espacio utilizado:"), { 20, 19, 106, 15 });
    m_lUtilizado = figure(g, "LUtilizado", { 126, 19, 140, 15 }, kBytesPlaceholder);
    m_lUtilizado2 = figure(g, "LUtilizado2", { 272, 19, 62, 15 }, kShortPlaceholder);
    legend(g, "Panel3", { 6, 38, 11, 11 }, clBlue);
    label(g, "Label12", QStringLiteral("Espacio disponible:"), { 20, 36, 106, 15 });
    m_lDisponible = figure(g, "LDisponible", { 126, 36, 140, 15 }, kBytesPlaceholder);
    m_lDisponible2 = figure(g, "LDisponible2", { 272, 36, 62, 15 }, kShortPlaceholder);
    label(g, "Label13", QStringLiteral("Capacidad:"), { 20, 53, 106, 15 });
    m_lCapacidad = figure(g, "LCapacidad", { 126, 53, 140, 15 }, kBytesPlaceholder);
    m_lCapacidad2 = figure(g, "LCapacidad2", { 272, 53, 62, 15 }, kShortPlaceholder);
    m_gauge1 = barGauge(g, "Gauge1", "PanelGauge1", { 17, 76, 303, 15 }, clBlue, clRed);
    m_lTipo = label(
        g, "LTipo", QStringLiteral("Tipo: Disco duro local (FAT)"), { 10, 98, 317, 15 }, Qt::AlignCenter);
    m_comboDrives = placed(new QComboBox(g), "ComboDrives", { 64, 124, 65, 21 });
    m_comboDrives->setEditable(true);
    // Typed text is the drive as it is; no completion may change it.
    m_comboDrives->setCompleter(nullptr);
    m_comboDrives->setInsertPolicy(QComboBox::NoInsert);
    buddyLabel(g, "Label14", QStringLiteral("Unidad:"), { 12, 124, 50, 21 }, m_comboDrives);
    m_spinTimeOut = periodSpin(g, "SpinTimeOut", { 270, 124, 50, 21 });
    buddyLabel(g, "Label15", QStringLiteral("Actualizar cada (seg):"), { 140, 124, 128, 21 }, m_spinTimeOut);

    connect(m_comboDrives, &QComboBox::editTextChanged, this, &TPropiedades::ComboDrivesChange);
    connect(m_spinTimeOut, &TCSpinEdit::OnChange, this, [this] { SpinTimeOutChange(m_spinTimeOut); });
}

void TPropiedades::buildMemoryOptions()
{
    using namespace tolm::gfx;
    QGroupBox* g = m_groupMemoria
        = group(m_tabGeneral, "GroupMemoria", QStringLiteral(" Información y Opciones "), kLowerArea);
    m_spinTimeOutM = periodSpin(g, "SpinTimeOutM", { 140, 16, 50, 21 });
    buddyLabel(g, "Label27", QStringLiteral("Actualizar cada (seg):"), { 12, 16, 128, 21 }, m_spinTimeOutM);

    QFont heading = font();
    heading.setBold(true);
    label(g, "Label36", QStringLiteral("Fichero de paginación"), { 12, 40, 200, 14 })->setFont(heading);
    label(g, "Label26", QStringLiteral("Espacio utilizado:"), { 20, 54, 106, 14 });
    m_lPUtilizado = figure(g, "LPUtilizado", { 126, 54, 140, 14 }, kBytesPlaceholder);
    m_lPUtilizado2 = figure(g, "LPUtilizado2", { 272, 54, 62, 14 }, kShortPlaceholder);
    label(g, "Label33", QStringLiteral("Total:"), { 20, 68, 106, 14 });
    m_lPCapacidad = figure(g, "LPCapacidad", { 126, 68, 140, 14 }, kBytesPlaceholder);
    m_lPCapacidad2 = figure(g, "LPCapacidad2", { 272, 68, 62, 14 }, kShortPlaceholder);
    m_gauge3 = barGauge(g, "Gauge3", "PanelGauge3", { 22, 86, 291, 11 }, clBlue, clRed);

    label(g, "Label25", QStringLiteral("Memoria física"), { 12, 102, 200, 14 })->setFont(heading);
    label(g, "Label16", QStringLiteral("Espacio utilizado:"), { 20, 116, 106, 14 });
    m_lMUtilizado = figure(g, "LMUtilizado", { 126, 116, 140, 14 }, kBytesPlaceholder);
    m_lMUtilizado2 = figure(g, "LMUtilizado2", { 272, 116, 62, 14 }, kShortPlaceholder);
    label(g, "Label22", QStringLiteral("Total:"), { 20, 130, 106, 14 });
    m_lMCapacidad = figure(g, "LMCapacidad", { 126, 130, 140, 14 }, kBytesPlaceholder);
    m_lMCapacidad2 = figure(g, "LMCapacidad2", { 272, 130, 62, 14 }, kShortPlaceholder);
    label(g, "Label17", QStringLiteral("Carga de Memoria"), { 20, 150, 110, 14 });
    m_gauge2 = barGauge(g, "Gauge2", "PanelGauge2", { 140, 152, 173, 11 }, clRed, clBlue);

    connect(m_spinTimeOutM, &TCSpinEdit::OnChange, this, [this] { SpinTimeOutChange(m_spinTimeOutM); });
}

// ---------------------------------------------------------------- drive

void TPropiedades::fillDrives()
{
    const QStringList roots = tolm::platform::services().drives->logicalDriveStrings();
    m_comboDrives->clear();
    m_comboDrives->addItems(roots);
    const QString directorio = m_botonEjemplo->Directorio();
    int selected = -1;
    for (int i = 0; i < roots.size(); ++i) {
        if (roots[i].compare(directorio, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    m_comboDrives->setCurrentIndex(selected);
    // A drive that is not in the list (a mount point, a letter not mounted
    // now) still shows what the item names.
    if (selected < 0)
        m_comboDrives->setEditText(directorio);
}

void TPropiedades::ComboDrivesChange(const QString& text)
{
    if (m_filling)
        return;
    m_botonEjemplo->setDirectorio(text);
    m_botonEjemplo->settag1(-2);
    m_botonEjemplo->runPicture();
}

void TPropiedades::SpinTimeOutChange(TCSpinEdit* spin)
{
    if (m_filling)
        return;
    // The period has eight bits; the countdown below it starts again at 0,
    // so the next tick refreshes the item.
    bool ok = false;
    const int value = std::clamp(spin->text().trimmed().toInt(&ok), 0, 255);
    m_botonEjemplo->settag2((ok ? value : 0) * 256);
}

QString TPropiedades::driveTypeName(int type)
{
    static const char* const names[] = { "Desconocido", "Disco no accesible", "Disco removible", "Disco fijo",
        "Unidad de red", "CD-ROM", "Disco RAM" };
    if (type < 0 || type > 6)
        return {};
    return QString::fromUtf8(names[type]);
}

void TPropiedades::showDriveReport(const tolm::items::DriveReport& report)
{
    m_edNombre->setText(report.caption);
    QString tipo = QStringLiteral("Tipo: ") + driveTypeName(report.type) + QStringLiteral(" (")
        + report.fileSystem + QStringLiteral(")");
    if (report.volumeRead && report.compressed)
        tipo += QStringLiteral(", Comprimido");
    m_lTipo->setText(tipo);

    QLabel* const bytes[] = { m_lCapacidad, m_lDisponible, m_lUtilizado };
    QLabel* const shorts[] = { m_lCapacidad2, m_lDisponible2, m_lUtilizado2 };
    const bool cdrom = report.type == tolm::platform::DriveCdRom;
    if (report.sizesRead && !cdrom) {
        const quint64 total = report.totalBytes;
        const quint64 free = std::min(report.freeBytes, total);
        m_lCapacidad->setText(bytesText(total));
        m_lCapacidad2->setText(shortSizeText(total / 1024));
        m_lDisponible->setText(bytesText(free));
        m_lDisponible2->setText(shortSizeText(free / 1024));
        m_lUtilizado->setText(bytesText(total - free));
        m_lUtilizado2->setText(shortSizeText(total / 1024 - free / 1024));
        if (total > 0)
            m_gauge1->SetProgress(static_cast<int>(static_cast<unsigned __int128>(free) * 100 / total));
        return;
    }
    const QString what = cdrom && report.volumeRead ? QStringLiteral("CD-ROM") : QStringLiteral("Sin disco");
    for (QLabel* l : bytes)
        l->setText(what);
    for (QLabel* l : shorts)
        l->clear();
    m_gauge1->SetProgress(cdrom && report.volumeRead ? 0 : 100);
}

// ---------------------------------------------------------------- memory

void TPropiedades::showMemoryReport(const tolm::items::MemoryReport& report)
{
    const quint64 pageTotal = report.totalPageFile;
    const quint64 pageUsed = pageTotal - std::min(report.availablePageFile, pageTotal);
    m_lPCapacidad->setText(bytesText(pageTotal));
    m_lPCapacidad2->setText(shortSizeText(pageTotal / 1024));
    m_lPUtilizado->setText(bytesText(pageUsed));
    m_lPUtilizado2->setText(shortSizeText(pageUsed / 1024));
    if (pageTotal > 100)
        m_gauge3->SetProgress(
            static_cast<int>(std::min<quint64>(report.availablePageFile / (pageTotal / 100), 100)));
    else if (pageTotal > 0)
        m_gauge3->SetProgress(
            static_cast<int>(std::min<quint64>(report.availablePageFile * 100 / pageTotal, 100)));

    const quint64 physTotal = report.totalPhysical;
    const quint64 physUsed = physTotal - std::min(report.availablePhysical, physTotal);
    m_lMCapacidad->setText(bytesText(physTotal));
    m_lMCapacidad2->setText(shortSizeText(physTotal / 1024));
    m_lMUtilizado->setText(bytesText(physUsed));
    m_lMUtilizado2->setText(shortSizeText(physUsed / 1024));
    m_gauge2->SetProgress(report.load);
}
