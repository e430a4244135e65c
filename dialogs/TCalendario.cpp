#include "dialogs/TCalendario.h"

#include "dialogs/HelpWindow.h"
#include "platform/Platform.h"
#include "widgets/DateArithmetic.h"
#include "widgets/TCCalendar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

using tolm::widgets::decodeDate;
using tolm::widgets::YearMonthDay;

namespace {

QFont smallFont(const QFont& base)
{
    // Characters 9 pixels high, as small as the bar and the cells allow.
    QFont f = base;
    f.setPixelSize(TCalendario::kSmallFontPixels);
    return f;
}

QToolButton* makeButton(QWidget* parent, const QString& caption, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TCalendario::TCalendario(QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setWindowTitle(tr("Calendario"));
    HelpWindow::answerHelpKey(this, [] { return QString::fromLatin1(HelpWindow::kCalendarSection); });
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    m_panel1 = new QFrame(this);
    m_panel2 = new QFrame(m_panel1);
    m_panel3 = new QFrame(m_panel1);
    m_speedButton1 = makeButton(m_panel2, QStringLiteral("<<"), tr("Año anterior"));
    m_speedButton2 = makeButton(m_panel2, QStringLiteral("<"), tr("Mes anterior"));
    m_speedButton3 = makeButton(m_panel3, QStringLiteral(">"), tr("Mes siguiente"));
    m_speedButton4 = makeButton(m_panel3, QStringLiteral(">>"), tr("Año siguiente"));
    for (QToolButton* button : { m_speedButton1, m_speedButton2, m_speedButton3, m_speedButton4 })
        button->installEventFilter(this);

    m_panelMes = new QLabel(m_panel1);
    m_panelMes->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panelMes->setLineWidth(1);
    m_panelMes->setAlignment(Qt::AlignCenter);
    m_panelMes->setFont(smallFont(font()));
    QPalette black = m_panelMes->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_panelMes->setPalette(black);
    m_panelMes->installEventFilter(this);

    m_calen = new TCCalendar(this);
    m_calen->setFont(smallFont(font()));
    m_calen->setFocusPolicy(Qt::StrongFocus);
    QPalette calenPalette = m_calen->palette();
    calenPalette.setColor(QPalette::Text, Qt::black);
    m_calen->setPalette(calenPalette);

    connect(m_speedButton1, &QToolButton::clicked, this, [this] { step(&TCCalendar::PrevYear); });
    connect(m_speedButton2, &QToolButton::clicked, this, [this] { step(&TCCalendar::PrevMonth); });
    connect(m_speedButton3, &QToolButton::clicked, this, [this] { step(&TCCalendar::NextMonth); });
    connect(m_speedButton4, &QToolButton::clicked, this, [this] { step(&TCCalendar::NextYear); });
    connect(m_calen, &TCCalendar::changed, this, &TCalendario::CalenChange);

    // Tell the window manager the sizes the window settles on anyway.
    setBaseSize(3, 1);
    setSizeIncrement(7, 7);
    setMinimumSize(7 * 11 + 3, 7 * 7 + 1);
    resize(std::max(kInitialClientWidth, titleBarWidth()), kInitialClientHeight);
    move(482, 96);
    layoutControls();
    fitGridFont();
    CalenChange();
}

int TCalendario::titleBarWidth() const
{
    // A window manager writes the title in a bold face of about the
    // application's font, beside the window's icon and three buttons, each
    // about as wide as the bar is high, with gaps between them and at the
    // ends that add up to about one more. The designed width cuts
    // "Calendario" there to "Ca…io" (Openbox's default theme needs 171
    // pixels for "Calendar" at a 9-point font).
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(windowTitle()) + 5 * (metrics.height() + 8) + 16;
}

void TCalendario::showToday()
{
    m_calen->SetUseCurrentDate(true);
    CalenChange();
    show();
    raise();
    activateWindow();
    m_calen->SetUseCurrentDate(false);
}

void TCalendario::step(void (TCCalendar::*move)())
{
    try {
        (m_calen->*move)();
    } catch (const tolm::widgets::DateEncodeError&) {
        // The grid's own words are the runtime's English; the box speaks the user's language.
        tolm::platform::services().messageBoxes->notice(QApplication::applicationDisplayName(),
            tr("Argumento no válido al codificar la fecha"), tolm::platform::MessageBoxes::Kind::Critical);
    } catch (const std::exception& e) {
        tolm::platform::services().messageBoxes->notice(QApplication::applicationDisplayName(),
            QString::fromUtf8(e.what()), tolm::platform::MessageBoxes::Kind::Critical);
    }
}

QString TCalendario::formatMonth(double date, const QLocale& locale, bool longName, bool fourDigitYear)
{
    const YearMonthDay ymd = decodeDate(date);
    const QString month = locale.monthName(ymd.month, longName ? QLocale::LongFormat : QLocale::ShortFormat);
    const QString year = fourDigitYear ? QStringLiteral("%1").arg(ymd.year, 4, 10, QLatin1Char('0'))
                                       : QStringLiteral("%1").arg(ymd.year % 100, 2, 10, QLatin1Char('0'));
    return month + QLatin1Char('-') + year;
}

QString TCalendario::monthBarText(
    double date, const QLocale& locale, int available, const std::function<int(const QString&)>& measure)
{
    const QString full = formatMonth(date, locale, true, true);
    if (measure(full) <= available)
        return full;
    const QString shortYear4 = formatMonth(date, locale, false, true);
    if (measure(shortYear4) <= available)
        return shortYear4;
    return formatMonth(date, locale, false, false);
}

void TCalendario::CalenChange()
{
    const double date = m_calen->CalendarDate();
    m_panelMes->setToolTip(formatMonth(date, locale(), true, true));
    // Measured in the application's default font as well, which is larger
    // than the bar's own, so the shorter forms come in a little early rather
    // than late.
    const QFontMetrics metrics(QApplication::font());
    const QFontMetrics own = m_panelMes->fontMetrics();
    m_panelMes->setText(monthBarText(date, locale(), m_panelMes->contentsRect().width(),
        [&](const QString& s) { return std::max(metrics.horizontalAdvance(s), own.horizontalAdvance(s)); }));
}

QSize TCalendario::snapClientSize(QSize size)
{
    int w = size.width();
    int h = size.height();
    const int r = w % 7;
    if (r < 3)
        w += 3 - r;
    else if (r > 3)
        w += 10 - r;
    const int s = h % 7;
    if (s == 0)
        h += 1;
    else if (s > 1)
        h += 8 - s;
    return { w, h };
}

void TCalendario::FormResize()
{
    const QSize snapped = snapClientSize(size());
    if (snapped != size())
        resize(snapped);
}

void TCalendario::layoutControls()
{
    // The buttons are as wide and high as their captions in their fonts,
    // and never smaller than designed; the bar is as high as they and the
    // month's name need. When the bar grows, the window grows by as much, so
    // that the month and the grid keep their room.
    int side = kButtonSide;
    for (const QToolButton* b : { m_speedButton1, m_speedButton2, m_speedButton3, m_speedButton4 }) {
        const QFontMetrics metrics = b->fontMetrics();
        side = std::max({ side, metrics.horizontalAdvance(b->text()), metrics.height() });
    }
    const int endWidth = 2 * side;
    const int barHeight = std::max(
        { kBarHeight, side + 1, m_panelMes->fontMetrics().height() + 2 * m_panelMes->frameWidth() });
    if (endWidth != m_endWidth || barHeight != m_barHeight) {
        const QSize grown(2 * (endWidth - m_endWidth), barHeight - m_barHeight);
        m_endWidth = endWidth;
        m_barHeight = barHeight;
        setMinimumSize(QSize(7 * 11 + 3 + 2 * (endWidth - kEndWidth), 7 * 7 + 1 + barHeight - kBarHeight));
        resize(size() + grown);
    }
    const int w = width();
    m_panel1->setGeometry(0, 0, w, m_barHeight);
    m_panel2->setGeometry(0, 0, m_endWidth, m_barHeight);
    m_panel3->setGeometry(w - m_endWidth, 0, m_endWidth, m_barHeight);
    m_speedButton1->setGeometry(0, 0, side, side);
    m_speedButton2->setGeometry(side, 0, side, side);
    m_speedButton3->setGeometry(0, 0, side, side);
    m_speedButton4->setGeometry(side, 0, side, side);
    m_panelMes->setGeometry(m_endWidth, 0, std::max(0, w - 2 * m_endWidth), m_barHeight);
    m_calen->setGeometry(0, m_barHeight, w, std::max(0, height() - m_barHeight));
}

void TCalendario::fitGridFont()
{
    if (!m_calen)
        return;
    QStringList texts;
    for (int day = 1; day <= 7; ++day)
        texts.append(locale().dayName(day, QLocale::ShortFormat));
    for (int n = 1; n <= 31; ++n)
        texts.append(QString::number(n));
    // The cells as the grid will size them; its own figures follow only
    // when its resize arrives, which for a hidden window is at its showing.
    const QRect inside = m_calen->contentsRect();
    const int lines = 6 * m_calen->GridLineWidth();
    const int cellWidth = std::max(0, (inside.width() - lines) / 7);
    const int cellHeight = std::max(0, (inside.height() - lines) / 7);
    QFont f = smallFont(font());
    for (int pixels = kSmallFontPixels; pixels > kSmallestFontPixels; --pixels) {
        f.setPixelSize(pixels);
        const QFontMetrics metrics(f);
        const bool fits = metrics.height() <= cellHeight
            && std::all_of(texts.cbegin(), texts.cend(),
                [&](const QString& text) { return metrics.horizontalAdvance(text) <= cellWidth; });
        if (fits)
            break;
        f.setPixelSize(pixels - 1);
    }
    if (m_calen->font() != f)
        m_calen->setFont(f);
}

void TCalendario::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LocaleChange || event->type() == QEvent::FontChange)
        fitGridFont();
}

void TCalendario::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
    fitGridFont();
    FormResize();
}

void TCalendario::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

bool TCalendario::eventFilter(QObject* watched, QEvent* event)
{
    if (m_calen && watched == m_panelMes && event->type() == QEvent::Resize)
        CalenChange();
    // A widget learns of its new font after its filters do.
    if (event->type() == QEvent::FontChange)
        QTimer::singleShot(0, this, [this] {
            layoutControls();
            CalenChange();
        });
    return QWidget::eventFilter(watched, event);
}
