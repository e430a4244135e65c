#include "platform/LinuxMessageBoxes.h"

#include "platform/DialogParent.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

namespace tolm::platform {

namespace {

constexpr int kLongestUnbroken = 40;

// A box's label breaks lines only between words, and a word as long as a
// file name may be makes the box wider than the screen. Such a word gets
// zero-width spaces, where a line may break: after a path separator once
// half a line has gone by, else every kLongestUnbroken characters, never
// inside a character or before its accents.
QString breakable(const QString& text)
{
    const QChar breakHere(0x200B);
    QString out;
    out.reserve(text.size() + text.size() / (kLongestUnbroken / 2));
    int run = 0;
    for (const QChar c : text) {
        if (run >= kLongestUnbroken && !c.isLowSurrogate() && !c.isMark()) {
            out += breakHere;
            run = 0;
        }
        out += c;
        run = c.isSpace() ? 0 : run + 1;
        if ((c == u'/' || c == u'\\') && run >= kLongestUnbroken / 2) {
            out += breakHere;
            run = 0;
        }
    }
    return out;
}

// A message box no taller than the screen. QMessageBox makes itself as tall
// as its text, and a text of many lines (three hundred file names) would put
// its buttons below the screen's edge, out of reach. Such a box shows its
// text in a scrolled area instead, and stands whole on the screen.
class FittingMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        // Sizes the box to its text.
        QMessageBox::showEvent(event);
        fitScreen();
    }

    bool event(QEvent* event) override
    {
        // QMessageBox sizes itself to its text again at every layout request:
        // to the scrolled area's small size, with its lines unbroken. Once
        // fitted, the box keeps its size and its lines.
        if (event->type() == QEvent::LayoutRequest && m_fitted.isValid())
            return QDialog::event(event);
        return QMessageBox::event(event);
    }

private:
    void fitScreen()
    {
        const QRect area = screen()->availableGeometry();
        // The window manager's frame, or before it has said, a title bar's worth.
        const int frame = std::max(frameGeometry().height() - height(),
            style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
        const int room = area.height() - frame;
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        if (m_fitted.isValid() || height() <= room || !label || !grid)
            return;
        int row = 0, column = 0, rows = 1, columns = 1;
        const int index = grid->indexOf(label);
        if (index < 0)
            return;
        // As wide as the box made itself for the whole text, and a scroll bar.
        m_fitted = QSize(width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), room);
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        grid->removeWidget(label);
        auto* scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidgetResizable(true);
        // Lines break at the scrolled area's width, however wide the label
        // would like to be.
        label->setMinimumWidth(1);
        scroll->setWidget(label);
        grid->addWidget(scroll, row, column, rows, columns);
        scroll->show();
        setFixedSize(m_fitted);
        const QRect frameRect = frameGeometry();
        move(std::clamp(
                 frameRect.left(), area.left(), std::max(area.left(), area.right() - frameRect.width())),
            area.top());
    }

    // The size the box keeps once its text scrolls.
    QSize m_fitted;
};

QMessageBox::StandardButton ask(
    QMessageBox::Icon icon, const QString& caption, const QString& text, QMessageBox::StandardButtons buttons)
{
    FittingMessageBox box(icon, caption, breakable(text), buttons, dialogParent());
    if (buttons & QMessageBox::Cancel)
        box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.standardButton(box.clickedButton());
}

} // namespace

void LinuxMessageBoxes::notice(const QString& caption, const QString& text, Kind kind)
{
    ask(kind == Kind::Critical ? QMessageBox::Critical : QMessageBox::Warning, caption, text,
        QMessageBox::Ok);
}

Answer LinuxMessageBoxes::question(const QString& caption, const QString& text)
{
    const auto button = ask(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

Answer LinuxMessageBoxes::choice(
    const QString& caption, const QString& text, const QString& okText, const QString& cancelText)
{
    FittingMessageBox box(
        QMessageBox::Question, caption, breakable(text), QMessageBox::NoButton, dialogParent());
    QPushButton* ok = box.addButton(okText, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(cancelText, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

} // namespace tolm::platform
