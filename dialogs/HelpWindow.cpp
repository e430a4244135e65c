#include "dialogs/HelpWindow.h"

#include "items/ItemKinds.h"
#include "items/TSpButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace {

HelpWindow* helpWindowOf(QWidget* owner)
{
    if (owner)
        return owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* help = qobject_cast<HelpWindow*>(window);
        if (help && !help->parentWidget())
            return help;
    }
    return nullptr;
}

} // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("Ayuda de Tolm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("manual"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // About 70 characters of the dialog font wide, and tall enough for a
    // section or two.
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 76, metrics.lineSpacing() * 34);
}

HelpWindow* HelpWindow::showManual(QWidget* owner, const QString& section)
{
    HelpWindow* help = helpWindowOf(owner);
    if (!help) {
        help = new HelpWindow(owner);
        help->placeBesideOwner();
    }
    QUrl page = manualUrl();
    if (!section.isEmpty())
        page.setFragment(section);
    help->m_browser->setSource(page);
    help->show();
    help->m_browser->setFocus();
    help->raise();
    help->activateWindow();
    return help;
}

void HelpWindow::placeBesideOwner()
{
    // Beside the window that asked rather than over it, so that the dialog
    // stays in sight while its help is read: at its right when there is room,
    // else on the roomier side, narrowed to fit; where neither side has room
    // for a readable column, the window manager places it.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : nullptr;
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect ownerFrame = owner->frameGeometry();
    // The frame is not known before the first show; allow for a usual one.
    const QSize frame(8, 30);
    constexpr int kGap = 8;
    const int rightRoom = area.right() - ownerFrame.right() - kGap - frame.width();
    const int leftRoom = ownerFrame.left() - area.left() - kGap - frame.width();
    const bool right = rightRoom >= width() || rightRoom >= leftRoom;
    const int room = right ? rightRoom : leftRoom;
    if (room < fontMetrics().averageCharWidth() * 40)
        return;
    resize(std::min(width(), room), height());
    const int left
        = right ? ownerFrame.right() + 1 + kGap : ownerFrame.left() - kGap - frame.width() - width();
    const int lowest = std::max(area.top(), area.bottom() + 1 - frame.height() - height());
    move(left, std::clamp(ownerFrame.top(), area.top(), lowest));
}

void HelpWindow::answerHelpKey(QWidget* window, std::function<QString()> section)
{
    auto* key = new QShortcut(QKeySequence::HelpContents, window);
    connect(key, &QShortcut::activated, window,
        [window, section = std::move(section)] { showManual(window, section ? section() : QString()); });
}

QString HelpWindow::itemSection(const TSpButton* item)
{
    if (!item)
        return QString::fromLatin1(kShelfSection);
    using namespace tolm::items;
    const ItemKind* kind = &item->kind();
    const std::pair<const ItemKind*, const char*> sections[] = {
        { &launcherKind(), "item-launcher" },
        { &folderKind(), "item-folder" },
        { &clockKind(), "item-clock" },
        { &driveKind(), "item-drive" },
        { &memoryKind(), "item-memory" },
    };
    for (const auto& [each, section] : sections) {
        if (each == kind)
            return QString::fromLatin1(section);
    }
    return QStringLiteral("items");
}

QUrl HelpWindow::manualUrl()
{
    //: The manual's page in this language, one of the HTML files compiled
    //: into the program (docs/manual/); manual-en.html until the language has
    //: a manual of its own.
    return QUrl(QStringLiteral("qrc:/help/") + tr("manual-es.html"));
}
