#include "dialogs/TPropiedades.h"

#include "dialogs/TAboutBox.h"
#include "dialogs/TPropiedadesLayout.h"
#include "items/CoverIndex.h"
#include "items/ItemFont.h"
#include "items/ItemHost.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "widgets/TCSpinEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

using namespace tolm::dialogs;
using tolm::store::Clase;
using tolm::store::FontState;

namespace {

// The font dialog works in Qt fonts; the item keeps the stored form, whose
// charset, colour and pitch the dialog does not offer and so keeps.
FontState fontStateFrom(const QFont& font, FontState base)
{
    base.name = font.family().toStdString();
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96.0 / 72.0);
    base.height = -std::max(1, pixels);
    base.style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0)
        | (font.strikeOut() ? 8 : 0);
    return base;
}

std::optional<FontState> runFontDialog(const FontState& initial)
{
    const auto chosen = tolm::platform::services().choosers->chooseFont(tolm::items::qtFont(initial), {});
    if (!chosen)
        return std::nullopt;
    return fontStateFrom(*chosen, initial);
}

// The size formats in the order of their stored values.
const char* const kFormatos[]
    = { "40x40", "80x40", "100x40", "120x40", "40x60", "60x60", "80x60", "40x20", "80x20", "120x20" };
constexpr int kFormatoCount = 10;

} // namespace

TPropiedades::TPropiedades(TSpButton* item, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_item(item)
{
    Q_ASSERT(item);
    setObjectName(QStringLiteral("Propiedades"));
    setWindowTitle(QStringLiteral("Propiedades"));
    setFixedSize(360, 390);
    setFont(tolm::items::qtFont(FontState {}));
    setWindowModality(Qt::ApplicationModal);
    m_window = item->parentWidget();

    buildGeneral();
    buildShortcutTab();
    buildIconPicker();
    buildFolderOptions();
    buildClockOptions();
    buildDriveOptions();
    buildMemoryOptions();

    // The working copy lives in the example box and never reacts to the mouse
    // the way an item does: it is neither activated nor dragged.
    m_botonEjemplo = new TSpButton(m_seleccionado);
    m_botonEjemplo->setObjectName(QStringLiteral("BotonEjemplo"));
    m_botonEjemplo->hide();
    m_botonEjemplo->installEventFilter(this);
    disconnect(m_botonEjemplo, &QAbstractButton::clicked, nullptr, nullptr);
    m_botonEjemplo->Assign(*item);
    // Out of its window the copy cannot follow the window's font, so it
    // carries the font the item shows now.
    m_botonEjemplo->setOwnFont(item->effectiveFont());

    if (QRadioButton* formato = FormatoItem(item->Tipo()))
        formato->setChecked(true);
    prepareKind();
    // The copy's refreshes fill the figures of the drive and memory options.
    connect(m_botonEjemplo, &TSpButton::driveRefreshed, this, &TPropiedades::showDriveReport);
    connect(m_botonEjemplo, &TSpButton::memoryRefreshed, this, &TPropiedades::showMemoryReport);
    connect(this, &QDialog::finished, this, &TPropiedades::finish);
    setTabOrderByLayout();
}

TPropiedades::~TPropiedades() = default;

// The dialog is a window of its own; there is at most one that has not
// finished, so it is found among the windows rather than kept aside.
TPropiedades* TPropiedades::Propiedades()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<TPropiedades*>(window);
        if (dialog && !dialog->m_finished)
            return dialog;
    }
    return nullptr;
}

TPropiedades* TPropiedades::open(TSpButton* item)
{
    if (!item)
        return nullptr;
    if (TPropiedades* already = Propiedades()) {
        // One dialog at a time; the open one stays in front.
        already->raise();
        already->activateWindow();
        return nullptr;
    }
    auto* dialog = new TPropiedades(item, item->window());
    if (const QScreen* screen = dialog->screen()) {
        const QRect area = screen->availableGeometry();
        dialog->move(area.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
    }
    dialog->show();
    return dialog;
}

int TPropiedades::execute(TSpButton* item)
{
    QPointer<TPropiedades> dialog = open(item);
    if (!dialog)
        return QDialog::Rejected;
    return dialog->exec();
}

QUrl TPropiedades::helpPage()
{
    QUrl url = TAboutBox::homePage();
    url.setFragment(QStringLiteral("properties-dialog"));
    return url;
}

// ---------------------------------------------------------------- layout

void TPropiedades::buildGeneral()
{
    m_pageControl1 = placed(new QTabWidget(this), "PageControl1", { 5, 5, 350, 350 });
    m_tabGeneral = new QWidget;
    m_tabGeneral->setObjectName(QStringLiteral("TabGeneral"));
    m_tabAccDir = new QWidget;
    m_tabAccDir->setObjectName(QStringLiteral("TabAccDir"));
    m_pageControl1->addTab(m_tabGeneral, QStringLiteral("General"));
    m_pageControl1->addTab(m_tabAccDir, QStringLiteral("Acceso directo"));

    m_panel1 = placed(new QWidget(m_tabGeneral), "Panel1", { 0, 0, 345, 137 });
    m_edNombre
        = edit(m_panel1, "EdNombre", { 8, 18, 161, 21 }, QStringLiteral("Nombre del botón (Editable)"));
    buddyLabel(m_panel1, "Label2", QStringLiteral("Nombre:"), { 8, 2, 100, 16 }, m_edNombre);
    QPalette face = m_edNombre->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_edNombre->setPalette(face);
    m_seleccionado = group(m_panel1, "Seleccionado", QStringLiteral(" Ejemplo "), { 8, 44, 156, 89 },
        QStringLiteral("Botón con el formato seleccionado"));

    m_formato = group(m_panel1, "Formato", QStringLiteral(" Formato "), { 178, 2, 160, 104 },
        QStringLiteral("Seleccion de formato"));
    m_formatoButtons = new QButtonGroup(this);
    // Two columns, filled top to bottom.
    for (int i = 0; i < kFormatoCount; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kFormatos[i]), m_formato);
        radio->setObjectName(QStringLiteral("Formato%1").arg(i));
        radio->setGeometry(8 + (i / 5) * 76, 18 + (i % 5) * 17, 72, 17);
        m_formatoButtons->addButton(radio, i);
    }
    m_formatoButtons->button(0)->setChecked(true);
    connect(m_formatoButtons, &QButtonGroup::idClicked, this, &TPropiedades::FormatoClick);

    m_bFuente = button(m_panel1, "BFuente", QStringLiteral("Fuente"), { 178, 110, 78, 23 });
    m_bDefecto = button(m_panel1, "BDefecto", QStringLiteral("Defecto"), { 260, 110, 78, 23 });
    connect(m_bFuente, &QPushButton::clicked, this, &TPropiedades::BFuenteClick);
    connect(m_bDefecto, &QPushButton::clicked, this, &TPropiedades::BDefectoClick);

    auto* bevel = placed(new QFrame(m_panel1), "Bevel1", { 2, 135, 341, 2 });
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    m_panelNormal = placed(new QWidget(m_tabGeneral), "PanelNormal", { 0, 140, 345, 182 });
    m_edHint = edit(m_panelNormal, "EdHint", { 80, 4, 258, 21 });
    buddyLabel(m_panelNormal, "Label10", QStringLiteral("Descripción:"), { 8, 4, 70, 21 }, m_edHint);

    bindEdit(m_edNombre, [this](const QString& text) { m_botonEjemplo->setCaption(text); });
    bindEdit(m_edHint, [this](const QString& text) { m_botonEjemplo->setHint(text); });

    m_button1 = button(this, "Button1", QStringLiteral("Aceptar"), { 118, 361, 75, 23 });
    m_button2 = button(this, "Button2", QStringLiteral("Cancelar"), { 199, 361, 75, 23 });
    m_button3 = button(this, "Button3", QStringLiteral("&Help"), { 280, 361, 75, 23 });
    m_button1->setDefault(true);
    connect(m_button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_button3, &QPushButton::clicked, this, &TPropiedades::Button3Click);
    connect(m_pageControl1, &QTabWidget::currentChanged, this, &TPropiedades::PageControl1Change);
}

QRadioButton* TPropiedades::FormatoItem(int index) const
{
    return qobject_cast<QRadioButton*>(m_formatoButtons->button(index));
}

int TPropiedades::FormatoIndex() const
{
    return m_formatoButtons->checkedId();
}

void TPropiedades::bindEdit(QLineEdit* edit, const std::function<void(const QString&)>& store)
{
    // Text the program puts into a box is not the user's and never flows
    // back; only the user's typing sets the modified flag.
    connect(edit, &QLineEdit::textChanged, this, [edit, store](const QString& text) {
        if (!edit->isModified())
            return;
        store(text);
        edit->setModified(false);
    });
}

void TPropiedades::prepareKind()
{
    m_groupCarpeta->hide();
    m_groupOpciones->hide();
    m_groupDisco->hide();
    m_groupMemoria->hide();
    const Clase clase = m_botonEjemplo->clase();
    switch (clase) {
    case Clase::Carpeta:
        m_groupIcono->hide();
        m_groupCarpeta->show();
        break;
    case Clase::Reloj:
        m_panelNormal->hide();
        m_groupOpciones->show();
        break;
    case Clase::Disco:
        m_panelNormal->hide();
        m_groupDisco->show();
        break;
    case Clase::Memoria:
        m_panelNormal->hide();
        m_groupMemoria->show();
        break;
    default:
        break;
    }
    if (clase != Clase::Normal && clase != Clase::Recursos)
        m_pageControl1->setTabVisible(m_pageControl1->indexOf(m_tabAccDir), false);
    if (!ShelfState::exists())
        return;
    ShelfState& state = ShelfState::get();
    if (m_botonEjemplo->isTimerDriven()) {
        if (clase == Clase::Disco || clase == Clase::Memoria)
            m_botonEjemplo->createPictureCache();
        state.addTimerItem(m_botonEjemplo);
    }
    state.workingCopy = m_botonEjemplo;
}

// ---------------------------------------------------------------- showing

void TPropiedades::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPropiedades::FormShow()
{
    m_botonEjemplo->show();
    m_fuenteDefecto = false;
    centreExample();
    m_filling = true;
    TSpButton& b = *m_botonEjemplo;
    switch (b.clase()) {
    case Clase::Normal:
        m_edNombre->setText(b.Caption());
        m_comboEjecutar->setCurrentIndex(b.Run() <= 2 ? b.Run() : -1);
        m_checkAutoRun->setChecked(b.Autorun());
        m_edComando->setText(b.Comando());
        m_edParam->setText(b.Param());
        m_edDirectorio->setText(b.Directorio());
        m_edHint->setText(b.Hint());
        m_checkUsarIcono->setChecked(b.tag1() != 0);
        setIconFileText(b.FichIcono());
        break;
    case Clase::Carpeta:
        m_edNombre->setText(b.Caption());
        m_checkAutoRun2->setChecked(b.Autorun());
        m_edHint->setText(b.Hint());
        m_checkUsarIcono2->setChecked(b.tag1() != 0);
        break;
    case Clase::Reloj:
        m_edNombre->setText(QStringLiteral("Reloj"));
        m_edNombre->setEnabled(false);
        m_edFormatoHora->setText(b.Param());
        m_edFormatoFecha->setText(b.Directorio());
        m_edSeparador->setText(b.FichIcono());
        m_checkRelojA->setChecked(!(b.Tag() & TSpButton::kTagTextClock));
        m_checkSeg->setChecked(!(b.Tag() & TSpButton::kTagNoSeconds));
        m_checkHora->setChecked(!(b.Tag() & TSpButton::kTagNoTime));
        m_checkFecha->setChecked(!(b.Tag() & TSpButton::kTagNoDate));
        break;
    case Clase::Disco:
        m_edNombre->setEnabled(false);
        fillDrives();
        m_spinTimeOut->SetValue((b.tag2() >> 8) & 0xFF);
        b.refreshGlyph();
        break;
    case Clase::Memoria:
        m_edNombre->setEnabled(false);
        m_spinTimeOutM->SetValue((b.tag2() >> 8) & 0xFF);
        b.refreshGlyph();
        break;
    default:
        break;
    }
    m_filling = false;
    focusFirstEdit();
}

void TPropiedades::centreExample()
{
    // Signed division truncating toward zero, as the layout was designed.
    const int top = (m_seleccionado->height() - m_botonEjemplo->height()) / 2 + 4;
    const int left = (m_seleccionado->width() - m_botonEjemplo->width()) / 2;
    m_botonEjemplo->move(left, top);
}

bool TPropiedades::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_botonEjemplo) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- general tab

void TPropiedades::BFuenteClick()
{
    const std::optional<FontState> chosen = runFontDialog(m_botonEjemplo->ownFont());
    if (!chosen)
        return;
    m_botonEjemplo->setOwnFont(*chosen);
    m_fuenteDefecto = false;
}

void TPropiedades::BDefectoClick()
{
    if (const tolm::items::ItemHost* host = m_item ? m_item->host() : nullptr)
        m_botonEjemplo->setOwnFont(host->defaultFont());
    m_fuenteDefecto = true;
}

void TPropiedades::FormatoClick(int index)
{
    m_botonEjemplo->setTipo(index);
    centreExample();
    m_botonEjemplo->refreshGlyph();
}

void TPropiedades::PageControl1Change(int index)
{
    QWidget* page = m_pageControl1->widget(index);
    if (!page || m_panel1->parentWidget() == page)
        return;
    m_panel1->setParent(page);
    m_panel1->move(0, 0);
    m_panel1->show();
    setTabOrderByLayout();
}

namespace {

bool takesTab(const QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy();
}

// Where a control starts on the page: where its label starts, when it has one
// (a box under its label belongs to the label's row).
QPoint placeOf(QWidget* control, const QList<QLabel*>& labels, const QWidget* area)
{
    QPoint place = control->mapTo(area, QPoint(0, 0));
    for (const QLabel* label : labels) {
        if (label->buddy() == control) {
            const QPoint at = label->mapTo(area, QPoint(0, 0));
            place = QPoint(std::min(place.x(), at.x()), std::min(place.y(), at.y()));
        }
    }
    return place;
}

// The controls inside `area` that Tab stops at, row by row from the top,
// each row from the left. Controls whose tops lie within a few pixels of
// the first of a row are in that row.
QList<QWidget*> rowsOf(QWidget* area)
{
    constexpr int kRowSlack = 8;
    const QList<QLabel*> labels = area->findChildren<QLabel*>();
    QList<std::pair<QPoint, QWidget*>> found;
    for (QWidget* child : area->findChildren<QWidget*>()) {
        // The drop-down list of a combo box is a window of its own.
        if (takesTab(child) && child->window() == area->window())
            found.append({ placeOf(child, labels, area), child });
    }
    std::stable_sort(
        found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first.y() < b.first.y(); });
    QList<QWidget*> ordered;
    for (qsizetype rowStart = 0; rowStart < found.size();) {
        qsizetype rowEnd = rowStart + 1;
        while (
            rowEnd < found.size() && found.at(rowEnd).first.y() - found.at(rowStart).first.y() <= kRowSlack)
            ++rowEnd;
        std::stable_sort(found.begin() + rowStart, found.begin() + rowEnd,
            [](const auto& a, const auto& b) { return a.first.x() < b.first.x(); });
        for (qsizetype i = rowStart; i < rowEnd; ++i)
            ordered.append(found.at(i).second);
        rowStart = rowEnd;
    }
    return ordered;
}

} // namespace

// Tab follows the layout from the top: the tab bar, the name, the formats
// column by column, the font buttons, then the lower part of the page row by
// row, and the dialog's buttons last. Controls on the hidden page or of the
// other kinds are in the chain too; Tab passes over what is not shown.
void TPropiedades::setTabOrderByLayout()
{
    QList<QWidget*> order { m_pageControl1->tabBar(), m_edNombre };
    for (int i = 0; i < kFormatoCount; ++i)
        order.append(FormatoItem(i));
    order << m_bFuente << m_bDefecto;
    for (QWidget* area : std::initializer_list<QWidget*> {
             m_panelNormal, m_groupOpciones, m_groupDisco, m_groupMemoria, m_groupBox2 })
        order += rowsOf(area);
    order << m_button1 << m_button2 << m_button3;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TPropiedades::focusFirstEdit()
{
    // The first box the user can type into, else the first control that takes Tab.
    QWidget* first = nullptr;
    for (QWidget* w = m_pageControl1->tabBar()->nextInFocusChain(); w && w != m_pageControl1->tabBar();
         w = w->nextInFocusChain()) {
        if (!w->isVisibleTo(this) || !w->isEnabled() || !takesTab(w))
            continue;
        if (!first)
            first = w;
        const auto* combo = qobject_cast<QComboBox*>(w);
        if (qobject_cast<QLineEdit*>(w) || (combo && combo->isEditable())) {
            first = w;
            break;
        }
    }
    if (first)
        first->setFocus(Qt::TabFocusReason);
}

QString TPropiedades::chooseFile(const QString& title, const QString& filters)
{
    const QString before = QDir::currentPath();
    QString chosen = tolm::platform::services().choosers->chooseFile(title, filters).value_or(QString());
    // The full name, whatever folder the dialog wandered to.
    if (!chosen.isEmpty())
        chosen = QFileInfo(chosen).absoluteFilePath();
    if (QDir::currentPath() != before)
        QDir::setCurrent(before);
    return chosen;
}

void TPropiedades::Button3Click()
{
    tolm::platform::services().urlOpener->openUrl(helpPage());
}

// ---------------------------------------------------------------- closing

void TPropiedades::finish(int result)
{
    if (m_finished)
        return;
    m_finished = true;
    // A recount still waiting for the typing to pause is done now, so that
    // the item gets what the box says at this moment.
    if (m_iconRecount && m_iconRecount->isActive()) {
        m_iconRecount->stop();
        EdFichIconoChange();
    }
    if (ShelfState::exists()) {
        ShelfState& state = ShelfState::get();
        state.removeTimerItem(m_botonEjemplo);
        if (state.workingCopy == m_botonEjemplo)
            state.workingCopy = nullptr;
    }

    TSpButton* item = m_item;
    if (result == QDialog::Accepted && item) {
        const FontState before = item->effectiveFont();
        const bool followed = item->ParentFont();
        item->Assign(*m_botonEjemplo);
        // A font that did not change leaves the item following its window
        // (or not) as before; a new one is the item's own from now on.
        if (m_botonEjemplo->ownFont() != before)
            item->setOwnFont(m_botonEjemplo->ownFont());
        else if (followed)
            item->setParentFont(true);
        item->refreshGlyph();
        if (m_fuenteDefecto)
            item->setParentFont(true);

        // An open folder window is captioned with its item's description.
        if (QWidget* folder = item->folderWindow();
            folder && item->clase() == Clase::Carpeta && item->Tag() != 0)
            folder->setWindowTitle(item->Hint());
        if (ShelfState::exists() && m_window) {
            const tolm::items::CoverIndex cover(m_window);
            const auto timerItems = ShelfState::get().timerItems;
            for (const QPointer<TSpButton>& other : timerItems) {
                if (other && other->parentWidget() == m_window)
                    other->updateCoveredFlag(cover);
            }
        }
    }
    deleteLater();
}
