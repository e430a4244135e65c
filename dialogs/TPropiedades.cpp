#include "dialogs/TPropiedades.h"

#include "dialogs/ClockBox.h"
#include "dialogs/DesignSize.h"
#include "dialogs/DriveBox.h"
#include "dialogs/FolderBox.h"
#include "dialogs/GeneralPage.h"
#include "dialogs/HeaderPanel.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/IconBox.h"
#include "dialogs/KindPages.h"
#include "dialogs/MemoryBox.h"
#include "dialogs/ShortcutPage.h"
#include "dialogs/TPropiedadesIconGrid.h"
#include "gfx/Bitmaps.h"
#include "items/CoverIndex.h"
#include "items/ItemFont.h"
#include "items/ItemHost.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "widgets/TCSpinEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using tolm::store::FontState;

namespace {

std::optional<FontState> runFontDialog(const FontState& initial)
{
    const auto chosen = tolm::platform::services().choosers->chooseFont(tolm::items::qtFont(initial), {});
    if (!chosen)
        return std::nullopt;
    return tolm::items::fontStateFrom(*chosen, initial);
}

// The dialog's size at the default font, as it was designed.
constexpr QSize kDesignSize { 360, 390 };

// "Aceptar", "Cancelar" and "Ayuda" stand at the right in this order on
// every desktop, as they always have, whatever order the desktop's own
// dialogs use.
class ButtonOrderStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

bool takesTab(const QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy();
}

} // namespace

TPropiedades::TPropiedades(TSpButton* item, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_item(item)
{
    Q_ASSERT(item);
    setObjectName(QStringLiteral("Propiedades"));
    setWindowTitle(tr("Propiedades"));
    setFont(tolm::items::qtFont(FontState {}));
    setWindowModality(Qt::ApplicationModal);
    m_window = item->parentWidget();

    // As Qt's tab dialog example: a tab widget of one page per tab over a
    // button box.
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_generalPage = new GeneralPage;
    m_shortcutPage = new ShortcutPage;
    m_pages->addTab(m_generalPage, tr("General"));
    m_pages->addTab(m_shortcutPage, tr("Acceso directo"));
    // The header goes into its page once the kind's areas are settled: the
    // page's layout works out its size with them.
    m_header = new HeaderPanel(m_generalPage);
    buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 6);
    layout->setSpacing(6);
    layout->addWidget(m_pages);
    layout->addWidget(m_buttonBox);

    connectHeader();
    connectLauncherArea();
    connectShortcutPage();
    connectOptions();

    // The working copy lives in the example box and never reacts to the mouse
    // the way an item does: it is neither activated nor dragged.
    m_workingCopy = new TSpButton(exampleBox());
    m_workingCopy->setObjectName(QStringLiteral("workingCopy"));
    m_workingCopy->hide();
    m_workingCopy->installEventFilter(this);
    disconnect(m_workingCopy, &QAbstractButton::clicked, nullptr, nullptr);
    m_workingCopy->Assign(*item);
    // Out of its window the copy cannot follow the window's font, so it
    // carries the font the item shows now.
    m_workingCopy->setOwnFont(item->effectiveFont());
    // The copy stays in the middle of its box whatever size the box is given.
    exampleBox()->installEventFilter(this);

    if (QRadioButton* format = formatButton(item->Tipo()))
        format->setChecked(true);
    prepareKind();
    m_generalPage->takeHeader(m_header);
    // The copy's refreshes fill the figures of the drive and memory options.
    connect(m_workingCopy, &TSpButton::driveRefreshed, this, [this](const tolm::items::DriveReport& report) {
        showAfterPaint([this, report] { showDriveReport(report); });
    });
    connect(
        m_workingCopy, &TSpButton::memoryRefreshed, this, [this](const tolm::items::MemoryReport& report) {
            showAfterPaint([this, report] { showMemoryReport(report); });
        });
    connect(this, &QDialog::finished, this, &TPropiedades::finish);
    connect(m_pages, &QTabWidget::currentChanged, this, &TPropiedades::pageChanged);
    setTabOrderOfControls();
    // The designed size; when the dialog is shown its layout makes it larger
    // if the font needs more, and keeps it from being made smaller.
    resize(kDesignSize);
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
    // Only a shown dialog's layouts leave out the areas its item's kind
    // hides; the first minimum they set counted them. Now the dialog takes
    // its designed size again, or what its font needs.
    dialog->layout()->invalidate();
    dialog->layout()->activate();
    dialog->resize(kDesignSize.expandedTo(dialog->minimumSize()));
    return dialog;
}

int TPropiedades::execute(TSpButton* item)
{
    QPointer<TPropiedades> dialog = open(item);
    if (!dialog)
        return QDialog::Rejected;
    return dialog->exec();
}

// ---------------------------------------------------------------- wiring

void TPropiedades::buildButtons()
{
    m_buttonBox = new QDialogButtonBox(this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    auto* order = new ButtonOrderStyle;
    order->setParent(m_buttonBox);
    m_buttonBox->setStyle(order);
    const auto add = [this](const char* name, const QString& text, QDialogButtonBox::ButtonRole role) {
        auto* button = new QPushButton(text, m_buttonBox);
        // These buttons never carry an icon. On a desktop whose dialog
        // buttons show icons, a button in a button box makes room for one
        // all the same, and the dialog grows a pixel past its designed size.
        button->setIconSize(QSize(0, 0));
        tolm::dialogs::keepAtLeast(button, { 75, 23 });
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        m_buttonBox->addButton(button, role);
        return button;
    };
    m_okButton = add("okButton", tr("Aceptar"), QDialogButtonBox::AcceptRole);
    m_cancelButton = add("cancelButton", tr("Cancelar"), QDialogButtonBox::RejectRole);
    m_helpButton = add("helpButton", tr("Ay&uda"), QDialogButtonBox::HelpRole);
    m_okButton->setDefault(true);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttonBox, &QDialogButtonBox::helpRequested, this, &TPropiedades::showHelp);
    HelpWindow::answerHelpKey(this, [this] { return helpSection(); });
}

void TPropiedades::connectHeader()
{
    bindEdit(nameEdit(), [this](const QString& text) { m_workingCopy->setCaption(text); });
    connect(m_header->formatButtons(), &QButtonGroup::idClicked, this, &TPropiedades::formatChosen);
    connect(fontButton(), &QPushButton::clicked, this, &TPropiedades::chooseFont);
    connect(defaultFontButton(), &QPushButton::clicked, this, &TPropiedades::useDefaultFont);
}

void TPropiedades::connectLauncherArea()
{
    bindEdit(descriptionEdit(), [this](const QString& text) { m_workingCopy->setHint(text); });

    // Counting the icons of a file reads the file; with every keystroke of a
    // fast typist that would keep the dialog from answering.
    m_iconRecount = new QTimer(this);
    m_iconRecount->setSingleShot(true);
    m_iconRecount->setInterval(kIconRecountDelayMs);
    connect(m_iconRecount, &QTimer::timeout, this, &TPropiedades::recountIcons);
    connect(iconFileEdit(), &QLineEdit::textChanged, this, &TPropiedades::iconFileTyped);
    iconGrid()->setSelectCell([this](int column) { return iconCellSelected(column); });
    iconGrid()->setDrawCell([this](QPainter& painter, int column, const QRect& cell, bool selected) {
        drawIconCell(painter, column, cell, selected);
    });
    // For a folder the picture is its folder picture.
    for (QCheckBox* useIcon : { useIconCheck(), folderUseIconCheck() }) {
        connect(useIcon, &QCheckBox::clicked, this, [this](bool on) {
            m_workingCopy->setShowsIcon(on);
            m_workingCopy->refreshGlyph();
        });
    }
    connect(associatedIconButton(), &QPushButton::clicked, this, &TPropiedades::takeAssociatedIcon);
    connect(browseIconButton(), &QPushButton::clicked, this, &TPropiedades::browseIcon);
    connect(
        folderAutoOpenCheck(), &QCheckBox::clicked, this, [this](bool on) { m_workingCopy->setAutorun(on); });
}

void TPropiedades::connectShortcutPage()
{
    bindEdit(commandEdit(), [this](const QString& text) { m_workingCopy->setComando(text); });
    bindEdit(parametersEdit(), [this](const QString& text) { m_workingCopy->setParam(text); });
    bindEdit(directoryEdit(), [this](const QString& text) { m_workingCopy->setDirectorio(text); });
    connect(runCombo(), &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0)
            m_workingCopy->setRun(index);
    });
    connect(autoRunCheck(), &QCheckBox::clicked, this, [this](bool on) { m_workingCopy->setAutorun(on); });
    connect(findTargetButton(), &QPushButton::clicked, this, &TPropiedades::findTarget);
    connect(shortcutIconButton(), &QPushButton::clicked, this, &TPropiedades::takeAssociatedIcon);
    connect(browseCommandButton(), &QPushButton::clicked, this, &TPropiedades::browseCommand);
}

void TPropiedades::connectOptions()
{
    // The clock draws itself again at every tick; no refresh is asked for here.
    bindEdit(timeFormatEdit(), [this](const QString& text) { m_workingCopy->setParam(text); });
    bindEdit(dateFormatEdit(), [this](const QString& text) { m_workingCopy->setDirectorio(text); });
    bindEdit(separatorEdit(), [this](const QString& text) { m_workingCopy->setFichIcono(text); });
    bindClockBit(showTimeCheck(), TSpButton::kTagNoTime);
    bindClockBit(showDateCheck(), TSpButton::kTagNoDate);
    bindClockBit(analogueCheck(), TSpButton::kTagTextClock);
    bindClockBit(secondHandCheck(), TSpButton::kTagNoSeconds);

    connect(driveCombo(), &QComboBox::editTextChanged, this, &TPropiedades::driveTyped);
    connect(driveRefreshSpin(), &TCSpinEdit::OnChange, this,
        [this] { refreshPeriodChanged(driveRefreshSpin()); });
    connect(memoryRefreshSpin(), &TCSpinEdit::OnChange, this,
        [this] { refreshPeriodChanged(memoryRefreshSpin()); });
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

void TPropiedades::bindClockBit(QCheckBox* box, int bit)
{
    // A checked box means the bit is clear: the clock shows that part.
    connect(box, &QCheckBox::clicked, this, [this, bit](bool on) {
        m_workingCopy->setClockOption(bit, !on);
        m_workingCopy->refreshGlyph();
    });
}

void TPropiedades::prepareKind()
{
    folderBox()->hide();
    clockBox()->hide();
    driveBox()->hide();
    memoryBox()->hide();
    const KindPage& page = KindPage::of(m_workingCopy->kind());
    page.showAreas(*this);
    if (!page.hasShortcutTab())
        m_pages->setTabVisible(m_pages->indexOf(m_shortcutPage), false);
    if (!ShelfState::exists())
        return;
    ShelfState& state = ShelfState::get();
    if (m_workingCopy->isTimerDriven()) {
        page.prepareCopy(*m_workingCopy);
        state.addTimerItem(m_workingCopy);
    }
    state.workingCopy = m_workingCopy;
}

// ---------------------------------------------------------------- showing

void TPropiedades::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        fillControls();
}

void TPropiedades::fillControls()
{
    m_workingCopy->show();
    m_defaultFontChosen = false;
    centreExample();
    m_filling = true;
    KindPage::of(m_workingCopy->kind()).fill(*this, *m_workingCopy);
    m_filling = false;
    focusFirstEdit();
}

void TPropiedades::centreExample()
{
    // Signed division truncating toward zero, as the layout was designed.
    const QGroupBox* box = exampleBox();
    const int top = (box->height() - m_workingCopy->height()) / 2 + 4;
    const int left = (box->width() - m_workingCopy->width()) / 2;
    m_workingCopy->move(left, top);
}

bool TPropiedades::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_workingCopy) {
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
    } else if (m_workingCopy && watched == exampleBox() && event->type() == QEvent::Resize) {
        centreExample();
    }
    return QDialog::eventFilter(watched, event);
}

void TPropiedades::pageChanged(int index)
{
    QWidget* page = m_pages->widget(index);
    if (!page || m_header->parentWidget() == page)
        return;
    if (page == m_shortcutPage)
        m_shortcutPage->takeHeader(m_header);
    else
        m_generalPage->takeHeader(m_header);
    setTabOrderOfControls();
}

// Tab goes down the page as it is laid out: the tab bar, the name, the
// formats column by column, the font buttons, then the lower part of the
// page row by row, and the dialog's buttons last. Controls on the hidden
// page or of the other kinds are in the chain too; Tab passes over what is
// not shown.
void TPropiedades::setTabOrderOfControls()
{
    QList<QWidget*> order { m_pages, nameEdit() };
    for (int i = 0; i < HeaderPanel::kFormatCount; ++i)
        order.append(formatButton(i));
    order << fontButton() << defaultFontButton();
    // The file name box lies under its label, level with "Usar Icono".
    order << descriptionEdit() << iconFileEdit() << useIconCheck() << iconGrid() << associatedIconButton()
          << browseIconButton() << folderUseIconCheck() << folderAutoOpenCheck();
    order << timeFormatEdit() << dateFormatEdit() << separatorEdit() << showTimeCheck() << analogueCheck()
          << showDateCheck() << secondHandCheck();
    order << driveCombo() << driveRefreshSpin() << memoryRefreshSpin();
    order << commandEdit() << parametersEdit() << directoryEdit() << runCombo() << autoRunCheck()
          << findTargetButton() << shortcutIconButton() << browseCommandButton();
    // And round again to the tab bar.
    order << m_okButton << m_cancelButton << m_helpButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TPropiedades::focusFirstEdit()
{
    // The first box the user can type into, else the first control that takes Tab.
    QWidget* first = nullptr;
    QWidget* tabBar = m_pages->tabBar();
    for (QWidget* w = tabBar->nextInFocusChain(); w && w != tabBar; w = w->nextInFocusChain()) {
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

// ---------------------------------------------------------------- header

void TPropiedades::chooseFont()
{
    const std::optional<FontState> chosen = runFontDialog(m_workingCopy->ownFont());
    if (!chosen)
        return;
    m_workingCopy->setOwnFont(*chosen);
    m_defaultFontChosen = false;
}

void TPropiedades::useDefaultFont()
{
    if (const tolm::items::ItemHost* host = m_item ? m_item->host() : nullptr)
        m_workingCopy->setOwnFont(host->defaultFont());
    m_defaultFontChosen = true;
}

void TPropiedades::formatChosen(int index)
{
    m_workingCopy->setTipo(index);
    centreExample();
    m_workingCopy->refreshGlyph();
}

// ---------------------------------------------------------------- shortcut tab

void TPropiedades::findTarget()
{
    tolm::platform::services().shell->showInFileManager(
        m_workingCopy->Comando(), m_workingCopy->Directorio());
}

void TPropiedades::browseCommand()
{
    const QString chosen = chooseFile(QString(), QString(), m_workingCopy->Comando());
    if (chosen.isEmpty())
        return;
    m_workingCopy->setComando(chosen);
    commandEdit()->setText(chosen);
}

// ---------------------------------------------------------------- drive and memory

void TPropiedades::driveTyped(const QString& text)
{
    if (m_filling)
        return;
    m_workingCopy->setDirectorio(text);
    m_workingCopy->markSourceChanged();
    m_workingCopy->runPicture();
}

void TPropiedades::refreshPeriodChanged(TCSpinEdit* spin)
{
    if (m_filling)
        return;
    // The period has eight bits; the countdown below it starts again at 0,
    // so the next tick refreshes the item.
    bool ok = false;
    const int value = std::clamp(spin->text().trimmed().toInt(&ok), 0, 255);
    m_workingCopy->setRefreshPeriod(ok ? value : 0);
}

void TPropiedades::showAfterPaint(const std::function<void()>& show)
{
    // The copy reads its figures while it paints, and the gauges repaint at
    // once: a paint inside another paint frees the window's paint device
    // under the first one whenever the screen is scaled. Such a report waits
    // until the paint is over.
    if (m_workingCopy->testAttribute(Qt::WA_WState_InPaintEvent))
        QTimer::singleShot(0, this, show);
    else
        show();
}

QString TPropiedades::driveTypeName(int type)
{
    return DriveBox::typeName(type);
}

void TPropiedades::showDriveReport(const tolm::items::DriveReport& report)
{
    nameEdit()->setText(report.caption);
    m_generalPage->driveBox()->showReport(report);
}

void TPropiedades::showMemoryReport(const tolm::items::MemoryReport& report)
{
    m_generalPage->memoryBox()->showReport(report);
}

// ---------------------------------------------------------------- closing

void TPropiedades::showHelp()
{
    HelpWindow::showManual(this, helpSection());
}

QString TPropiedades::helpSection() const
{
    if (m_pages->currentWidget() == m_shortcutPage)
        return QStringLiteral("properties-shortcut");
    return QString::fromLatin1(KindPage::of(m_workingCopy->kind()).helpSection());
}

void TPropiedades::finish(int result)
{
    if (m_finished)
        return;
    m_finished = true;
    // A recount still waiting for the typing to pause is done now, so that
    // the item gets what the box says at this moment.
    if (m_iconRecount && m_iconRecount->isActive()) {
        m_iconRecount->stop();
        recountIcons();
    }
    if (ShelfState::exists()) {
        ShelfState& state = ShelfState::get();
        state.removeTimerItem(m_workingCopy);
        if (state.workingCopy == m_workingCopy)
            state.workingCopy = nullptr;
    }

    TSpButton* item = m_item;
    if (result == QDialog::Accepted && item) {
        const FontState before = item->effectiveFont();
        const bool followed = item->ParentFont();
        item->Assign(*m_workingCopy);
        // A font that did not change leaves the item following its window
        // (or not) as before; a new one is the item's own from now on.
        if (m_workingCopy->ownFont() != before)
            item->setOwnFont(m_workingCopy->ownFont());
        else if (followed)
            item->setParentFont(true);
        item->refreshGlyph();
        if (m_defaultFontChosen)
            item->setParentFont(true);

        // An open folder window is captioned with its item's description.
        if (QWidget* folder = item->folderWindow(); folder && item->isFolder() && item->folderOpen())
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
