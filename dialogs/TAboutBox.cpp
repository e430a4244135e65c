#include "dialogs/TAboutBox.h"

#include "dialogs/HelpWindow.h"
#include "gfx/Bitmaps.h"
#include "platform/Platform.h"
#include "platform/UrlOpener.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <algorithm>

namespace {

// The comments' link that shows the manual rather than a web page.
constexpr const char* kManualLink = "manual";

// Stands in for the artwork while it is missing from the resources.
QPixmap placeholderArtwork(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(170, 200, 235));
    g.setColorAt(1, QColor(235, 240, 250));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255));
    p.drawRect(img.rect().adjusted(3, 3, -4, -4));
    return QPixmap::fromImage(img);
}

QPixmap placeholderIcon()
{
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(QColor(0, 64, 128));
    QPainter p(&img);
    p.setPen(Qt::white);
    QFont f;
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("T"));
    return QPixmap::fromImage(img);
}

QLabel* transparentLabel(QWidget* parent, const QString& text, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(align);
    return label;
}

// `place` made as large as the widget's text needs at its font; a wrapped
// label keeps its width unless a word is wider, and takes its lines' height.
QRect fitted(const QWidget* widget, QRect place)
{
    QSize needed = widget->minimumSizeHint();
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (label && label->wordWrap())
        needed.setHeight(label->heightForWidth(std::max(place.width(), needed.width())));
    place.setSize(place.size().expandedTo(needed));
    return place;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Información del programa"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    // A raised inner and lowered outer bevel around the artwork.
    m_panel = new QFrame(this);
    m_panel->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    m_panel->installEventFilter(this);

    m_image1 = new QLabel(m_panel);
    const QImage art = tolm::gfx::bitmap("about");
    m_artwork = art.isNull() ? placeholderArtwork({ 280, 120 }) : QPixmap::fromImage(art);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_programIcon = new QLabel(m_panel);
    m_programIcon->setGeometry(8, 8, 32, 32);
    m_programIcon->setScaledContents(true);
    const QImage icon = tolm::gfx::bitmap("tolm");
    m_programIcon->setPixmap(icon.isNull() ? placeholderIcon() : QPixmap::fromImage(icon));

    // The artwork keeps its left half quiet and dark for the labels; the shelf
    // and clock on the right stay clear of them.
    m_productName = transparentLabel(m_panel, QStringLiteral("Tolm 2000"), Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = m_productName->font();
    bold.setBold(true);
    m_productName->setFont(bold);
    m_version = transparentLabel(m_panel, tr("Versión 1.0 - Febrero 2000"), Qt::AlignLeft | Qt::AlignVCenter);
    m_notice = transparentLabel(m_panel, QString(), Qt::AlignRight | Qt::AlignVCenter);
    m_comments = transparentLabel(m_panel, QString(), Qt::AlignRight | Qt::AlignVCenter);
    m_comments->setWordWrap(true);
    QFont smaller = m_comments->font();
    smaller.setPointSize(7);
    m_comments->setFont(smaller);
    m_notice->setFont(smaller);
    for (QLabel* label : { m_productName, m_version, m_notice, m_comments }) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(pal);
    }
    for (QLabel* label : { m_notice, m_comments }) {
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(label, &QLabel::linkActivated, this, &TAboutBox::followLink);
    }

    // The home the button has always named is the manual now, which comes
    // with the program.
    m_manualButton = new QPushButton(tr("Tolm2000 - home"), this);
    m_okButton = new QPushButton(tr("Aceptar"), this);
    m_okButton->setDefault(true);
    m_okButton->setFocus();

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_manualButton, &QPushButton::clicked, this, &TAboutBox::openManual);
    connect(
        new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &TAboutBox::openManual);
    setUp();
    placeControls();
}

void TAboutBox::placeControls()
{
    // The places the box was designed with at the default font. A text
    // that needs more gets it; what stands below moves down, the artwork
    // grows in proportion until the labels fit on its left, and the buttons
    // keep to its corners.
    const QRect name = fitted(m_productName, { 48, 8, 100, 16 });
    const QRect version = fitted(m_version, { 48, name.bottom() + 1, 170, 16 });
    const QRect notice = fitted(m_notice, { 4, version.bottom() + 5, 144, 41 });
    const QRect comments = fitted(m_comments, { 4, notice.bottom(), notice.width(), 32 });
    m_productName->setGeometry(name);
    m_version->setGeometry(version);
    m_notice->setGeometry(notice);
    m_comments->setGeometry(comments);

    // The clock and the shelf take the artwork's right part: 64 pixels
    // beside the version, 134 beside the notice and the comments.
    const QSize design(281, 121);
    const double scale = std::max({ 1.0, double(version.right() + 64) / design.width(),
        double(comments.right() + 134) / design.width(), double(comments.bottom() + 5) / design.height() });
    const QRect panel(QPoint(8, 8), (QSizeF(design) * scale).toSize());
    m_panel->setGeometry(panel);
    m_image1->setGeometry(m_panel->contentsRect());
    const QPixmap art = scale > 1.0
        ? m_artwork.scaled(m_image1->size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
        : m_artwork;
    // A new picture asks for a new layout; the same one must not.
    if (m_image1->pixmap().size() != art.size())
        m_image1->setPixmap(art);

    const QRect manual = fitted(m_manualButton, { 8, panel.bottom() + 9, 120, 25 });
    QRect ok = fitted(m_okButton, { 0, manual.top(), 75, manual.height() });
    ok.moveRight(panel.right());
    m_manualButton->setGeometry(manual);
    m_okButton->setGeometry(ok);
    setFixedSize(panel.right() + 10, std::max(manual.bottom(), ok.bottom()) + 11);
}

bool TAboutBox::event(QEvent* event)
{
    // A button or label whose text, font or style changed asks its parent
    // for room.
    if (event->type() == QEvent::LayoutRequest)
        placeControls();
    return QDialog::event(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && event->type() == QEvent::LayoutRequest)
        placeControls();
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::setUp()
{
    // The manual the box points to is the one installed with the program,
    // shown by the help window; the project page is the package's home page.
    const QString home = QStringLiteral(TOLM_HOMEPAGE);
    const QString shown = QUrl(home).adjusted(QUrl::RemoveScheme).toString().mid(2);
    m_notice->setText(tr("© 2000 Proyecto Tolm")
        + QStringLiteral("<br><a href=\"%1\">%2</a><br>").arg(home, shown) + tr("Avisos: en esa página"));
    m_comments->setText(tr("Más en el <a href=\"%1\">manual</a> (F1) y en la <a href=\"%2\">página del "
                           "proyecto</a>.")
                            .arg(QLatin1String(kManualLink), home));
    // The links stand on the dark artwork too: white, underlined. A link
    // takes the application's link colour when its text is read, whatever
    // the label's palette says, so the colour goes with each link.
    for (QLabel* label : { m_notice, m_comments })
        label->setText(label->text().replace(
            QStringLiteral("<a href="), QStringLiteral("<a style=\"color: white\" href=")));
}

void TAboutBox::followLink(const QString& link)
{
    if (link == QLatin1String(kManualLink))
        openManual();
    else
        tolm::platform::services().urlOpener->openUrl(QUrl(link));
}

int TAboutBox::execute(QWidget* parent)
{
    auto* box = new TAboutBox(parent);
    box->centreOnScreen();
    return box->exec();
}

void TAboutBox::centreOnScreen()
{
    // Centred on the screen, not over the window that asked: a shelf window
    // is often small and near an edge. Moving it also keeps the dialog from
    // placing itself over its parent when it is shown.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // A window's position is its frame's; the frame is known once it was shown.
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void TAboutBox::openManual()
{
    // The manual belongs to the window that asked for the box, which stays
    // when the box closes.
    HelpWindow::showManual(parentWidget());
    accept();
}
