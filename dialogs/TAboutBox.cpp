#include "dialogs/TAboutBox.h"

#include "dialogs/HelpWindow.h"
#include "gfx/Bitmaps.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

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

QLabel* transparentLabel(QWidget* parent, const QString& text, const QRect& geometry, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(align);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Información del programa"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(298, 172);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    // A raised inner and lowered outer bevel around the artwork.
    auto* panel1 = new QFrame(this);
    panel1->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    panel1->setGeometry(8, 8, 281, 121);

    m_image1 = new QLabel(panel1);
    m_image1->setGeometry(panel1->contentsRect());
    QImage art = tolm::gfx::bitmap("about");
    m_image1->setPixmap(art.isNull() ? placeholderArtwork({ 280, 120 }) : QPixmap::fromImage(art));
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_programIcon = new QLabel(panel1);
    m_programIcon->setGeometry(8, 8, 32, 32);
    m_programIcon->setScaledContents(true);
    const QImage icon = tolm::gfx::bitmap("tolm");
    m_programIcon->setPixmap(icon.isNull() ? placeholderIcon() : QPixmap::fromImage(icon));

    // The artwork keeps its left half quiet and dark for the labels; the shelf
    // and clock on the right stay clear of them.
    m_productName = transparentLabel(
        panel1, QStringLiteral("Tolm 2000"), QRect(48, 8, 100, 16), Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = m_productName->font();
    bold.setBold(true);
    m_productName->setFont(bold);
    m_version = transparentLabel(
        panel1, tr("Versión 1.0 - Febrero 2000"), QRect(48, 24, 170, 16), Qt::AlignLeft | Qt::AlignVCenter);
    m_notice = transparentLabel(panel1, QString(), QRect(4, 44, 144, 41), Qt::AlignRight | Qt::AlignVCenter);
    m_comments = transparentLabel(panel1, tr("Consultar el fichero tolm2000.htm para más información"),
        QRect(4, 84, 144, 32), Qt::AlignRight | Qt::AlignVCenter);
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

    // The home the button has always named is the manual now, which comes
    // with the program.
    m_manualButton = new QPushButton(tr("Tolm2000 - home"), this);
    m_manualButton->setGeometry(8, 137, 120, 25);
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setGeometry(214, 137, 75, 25);
    m_okButton->setDefault(true);
    m_okButton->setFocus();

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_manualButton, &QPushButton::clicked, this, &TAboutBox::openManual);
    setUp();
}

void TAboutBox::setUp()
{
    m_notice->setText(QStringLiteral("© 2000 Proyecto Tolm\n"
                                     "Tolm2000 - home\n"
                                     "email: véase README.md"));
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
