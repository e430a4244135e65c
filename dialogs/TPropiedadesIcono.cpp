// The launcher's "Acceso directo" tab, its icon picker and the folder options.
#include "dialogs/TPropiedades.h"
#include "dialogs/TPropiedadesIconGrid.h"
#include "dialogs/TPropiedadesLayout.h"
#include "gfx/Bitmaps.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QPainter>
#include <QTimer>

using namespace tolm::dialogs;

namespace {

// The filters of "Seleccionar Icono". On Linux "*.*" would leave out every
// file without a dot, so all files are "*".
const QString kIconFilters = QStringLiteral("Archivos de iconos (*.ico *.exe *.dll *.lnk);;"
                                            "Programas (*.exe);;"
                                            "Bibliotecas (*.dll);;"
                                            "Iconos (*.ico);;"
                                            "Todos los archivos (*)");

} // namespace

void TPropiedades::buildShortcutTab()
{
    // The top of the tab stays free for the panel that follows the active tab.
    m_groupBox2
        = group(m_tabAccDir, "GroupBox2", QStringLiteral(" Datos del programa "), { 4, 142, 337, 176 });
    m_edComando = edit(
        m_groupBox2, "EdComando", { 84, 18, 244, 21 }, QStringLiteral("Nombre del programa o Archivo"));
    buddyLabel(m_groupBox2, "Label3", QStringLiteral("&Comando"), { 10, 18, 72, 21 }, m_edComando);
    m_edParam = edit(
        m_groupBox2, "EdParam", { 84, 44, 244, 21 }, QStringLiteral("Parámetros del programa (opcional)"));
    buddyLabel(m_groupBox2, "Label4", QStringLiteral("&Parámetros"), { 10, 44, 72, 21 }, m_edParam);
    m_edDirectorio = edit(m_groupBox2, "EdDirectorio", { 84, 70, 244, 21 });
    buddyLabel(m_groupBox2, "Label5", QStringLiteral("&Iniciar en"), { 10, 70, 72, 21 }, m_edDirectorio);
    m_comboEjecutar = placed(new QComboBox(m_groupBox2), "ComboEjecutar", { 84, 96, 130, 21 });
    m_comboEjecutar->addItems(
        { QStringLiteral("Ventana normal"), QStringLiteral("Minimizada"), QStringLiteral("Maximizada") });
    buddyLabel(m_groupBox2, "Label6", QStringLiteral("&Ejecutar"), { 10, 96, 72, 21 }, m_comboEjecutar);
    m_checkAutoRun = checkBox(
        m_groupBox2, "CheckAutoRun", QStringLiteral("Ejecutar automáticamente"), { 10, 122, 200, 19 });
    m_button7 = button(m_groupBox2, "Button7", QStringLiteral("Buscar destino ..."), { 10, 146, 112, 23 });
    m_button6 = button(m_groupBox2, "Button6", QStringLiteral("Icono Asociado"), { 128, 146, 100, 23 });
    m_button8 = button(m_groupBox2, "Button8", QStringLiteral("E&xaminar..."), { 234, 146, 94, 23 });

    bindEdit(m_edComando, [this](const QString& text) { m_botonEjemplo->setComando(text); });
    bindEdit(m_edParam, [this](const QString& text) { m_botonEjemplo->setParam(text); });
    bindEdit(m_edDirectorio, [this](const QString& text) { m_botonEjemplo->setDirectorio(text); });
    connect(m_comboEjecutar, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0)
            m_botonEjemplo->setRun(index);
    });
    connect(m_checkAutoRun, &QCheckBox::clicked, this, [this](bool on) { m_botonEjemplo->setAutorun(on); });
    connect(m_button7, &QPushButton::clicked, this, &TPropiedades::Button7Click);
    connect(m_button6, &QPushButton::clicked, this, &TPropiedades::BIconoAsociadoClick);
    connect(m_button8, &QPushButton::clicked, this, &TPropiedades::Button8Click);
}

void TPropiedades::buildIconPicker()
{
    m_groupIcono = group(m_panelNormal, "GroupIcono", QStringLiteral(" Icono "), { 4, 30, 337, 148 });
    m_edFichIcono = edit(
        m_groupIcono, "EdFichIcono", { 10, 34, 284, 21 }, QStringLiteral("Nombre del archivo de icono"));
    buddyLabel(
        m_groupIcono, "Label1", QStringLiteral("&Nombre del Archivo"), { 10, 16, 160, 17 }, m_edFichIcono);
    m_checkUsarIcono
        = checkBox(m_groupIcono, "CheckUsarIcono", QStringLiteral("Usar Icono"), { 200, 15, 94, 19 });
    m_drawGrid1 = placed(new TPropiedadesIconGrid(m_groupIcono), "DrawGrid1", { 10, 60, 284, 57 });
    m_bIconoAsociado
        = button(m_groupIcono, "BIconoAsociado", QStringLiteral("Icono Asociado"), { 10, 120, 110, 23 });
    m_button5 = button(m_groupIcono, "Button5", QStringLiteral("E&xaminar..."), { 126, 120, 94, 23 });

    // Counting the icons of a file reads the file; with every keystroke of a
    // fast typist that would keep the dialog from answering.
    m_iconRecount = new QTimer(this);
    m_iconRecount->setSingleShot(true);
    m_iconRecount->setInterval(kIconRecountDelayMs);
    connect(m_iconRecount, &QTimer::timeout, this, &TPropiedades::EdFichIconoChange);
    connect(m_edFichIcono, &QLineEdit::textChanged, this, &TPropiedades::EdFichIconoTyped);
    m_drawGrid1->setSelectCell([this](int column) { return DrawGrid1SelectCell(column); });
    m_drawGrid1->setDrawCell([this](QPainter& painter, int column, const QRect& cell, bool selected) {
        DrawGrid1DrawCell(painter, column, cell, selected);
    });
    connect(m_checkUsarIcono, &QCheckBox::clicked, this, [this](bool on) {
        m_botonEjemplo->settag1(on ? 1 : 0);
        m_botonEjemplo->refreshGlyph();
    });
    connect(m_bIconoAsociado, &QPushButton::clicked, this, &TPropiedades::BIconoAsociadoClick);
    connect(m_button5, &QPushButton::clicked, this, &TPropiedades::Button5Click);
}

void TPropiedades::buildFolderOptions()
{
    m_groupCarpeta = group(m_panelNormal, "GroupCarpeta", QStringLiteral(" Varios "), { 4, 30, 337, 72 });
    m_checkUsarIcono2
        = checkBox(m_groupCarpeta, "CheckUsarIcono2", QStringLiteral("Usar Icono"), { 12, 20, 200, 19 });
    m_checkAutoRun2 = checkBox(
        m_groupCarpeta, "CheckAutoRun2", QStringLiteral("Abrir automáticamente"), { 12, 44, 200, 19 });
    // For a folder the picture is its folder picture.
    connect(m_checkUsarIcono2, &QCheckBox::clicked, this, [this](bool on) {
        m_botonEjemplo->settag1(on ? 1 : 0);
        m_botonEjemplo->refreshGlyph();
    });
    connect(m_checkAutoRun2, &QCheckBox::clicked, this, [this](bool on) { m_botonEjemplo->setAutorun(on); });
}

// ---------------------------------------------------------------- shortcut tab

void TPropiedades::Button7Click()
{
    // The command goes after the comma as it is, without quotes or a space.
    tolm::platform::services().shell->open(QStringLiteral("explorer"),
        QStringLiteral("/select,") + m_botonEjemplo->Comando(), m_botonEjemplo->Directorio(),
        tolm::platform::ShowState::Normal);
}

void TPropiedades::Button8Click()
{
    const QString chosen = chooseFile(QString(), QString());
    if (chosen.isEmpty())
        return;
    m_botonEjemplo->setComando(chosen);
    m_edComando->setText(chosen);
}

// ---------------------------------------------------------------- icon picker

void TPropiedades::setIconFileText(const QString& text)
{
    // Text set by the program: the grid follows it even when the text is the
    // same as before, which Qt would not report as a change.
    const QSignalBlocker blocker(m_edFichIcono);
    m_edFichIcono->setText(text);
    EdFichIconoChange();
}

void TPropiedades::EdFichIconoTyped()
{
    if (!m_edFichIcono->isModified())
        return;
    // The copy takes the typed name and the first icon at once: they are
    // what the recount would give it, and "Aceptar" may come before it.
    m_botonEjemplo->setFichIcono(m_edFichIcono->text());
    m_botonEjemplo->setTag(0);
    m_edFichIcono->setModified(false);
    m_iconRecount->start();
}

bool TPropiedades::iconRecountPending() const
{
    return m_iconRecount->isActive();
}

void TPropiedades::EdFichIconoChange()
{
    m_iconRecount->stop();
    if (m_edFichIcono->isModified()) {
        m_botonEjemplo->setFichIcono(m_edFichIcono->text());
        m_botonEjemplo->setTag(0);
        m_edFichIcono->setModified(false);
    }
    const int count = tolm::platform::services().icons->iconCount(m_botonEjemplo->FichIcono());
    m_drawGrid1->setColCount(std::max(1, count));
    m_drawGrid1->viewport()->update();
    m_botonEjemplo->refreshGlyph();
    // A stored index beyond the icons the file holds now (the file changed
    // since) cannot be selected; the first icon stands in for it.
    int index = m_botonEjemplo->Tag();
    if (index < 0 || index >= m_drawGrid1->ColCount())
        index = 0;
    m_drawGrid1->setCol(index);
}

bool TPropiedades::DrawGrid1SelectCell(int column)
{
    m_botonEjemplo->setTag(column);
    m_botonEjemplo->refreshGlyph();
    return true;
}

void TPropiedades::DrawGrid1DrawCell(QPainter& painter, int column, const QRect& cell, bool selected)
{
    painter.fillRect(cell, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    auto* icons = tolm::platform::services().icons;
    // Nothing is kept between paints: each visible cell asks for its icon again.
    QImage icon = icons->extractIcon(m_botonEjemplo->FichIcono(), column);
    if (icon.isNull())
        icon = icons->associatedIcon(m_botonEjemplo->Comando()).image;
    if (icon.isNull())
        icon = tolm::gfx::iconImage("NO_ICON");
    painter.drawImage(QRect(cell.topLeft() + QPoint(4, 4),
                          QSize(tolm::platform::Icons::iconSize, tolm::platform::Icons::iconSize)),
        icon);
}

void TPropiedades::BIconoAsociadoClick()
{
    const QString command = m_botonEjemplo->Comando();
    const tolm::platform::AssociatedIcon found = tolm::platform::services().icons->associatedIcon(command);
    // Without an answer the command itself stands as the file, at index 0.
    const bool answered = !found.image.isNull() && !found.file.isEmpty();
    m_botonEjemplo->setTag(answered ? (found.index & 0xFFFF) : 0);
    m_botonEjemplo->setFichIcono(answered ? found.file : command);
    setIconFileText(m_botonEjemplo->FichIcono());
}

void TPropiedades::Button5Click()
{
    const QString chosen = chooseFile(QStringLiteral("Seleccionar Icono"), kIconFilters);
    if (chosen.isEmpty())
        return;
    m_botonEjemplo->setFichIcono(chosen);
    m_botonEjemplo->setTag(0);
    setIconFileText(chosen);
}
