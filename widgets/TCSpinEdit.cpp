#include "widgets/TCSpinEdit.h"

#include "widgets/TCSpinButton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

namespace {

// A step past either end of the 32-bit range stops there: wrapping round would
// turn the largest number into the smallest.
std::int32_t saturatedSum(std::int32_t value, std::int64_t delta)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value + delta, INT32_MIN, INT32_MAX));
}

} // namespace

TCSpinEdit::TCSpinEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setText(QStringLiteral("0"));
    m_button = new TCSpinButton(this);
    m_button->resize(15, 17);
    m_button->SetFocusControl(this);
    m_button->setCursor(Qt::ArrowCursor);
    connect(m_button, &TCSpinButton::OnUpClick, this, &TCSpinEdit::UpClick);
    connect(m_button, &TCSpinButton::OnDownClick, this, &TCSpinEdit::DownClick);
    connect(this, &QLineEdit::textChanged, this, &TCSpinEdit::OnChange);
    SetEditRect();
}

TCSpinEdit::~TCSpinEdit()
{
    // The arrows go with their parent; forget them first so that no late
    // signal reaches a half-destroyed edit.
    disconnect(m_button, nullptr, this, nullptr);
    m_button = nullptr;
}

std::int32_t TCSpinEdit::Value()
{
    bool ok = false;
    const std::int32_t v = text().trimmed().toInt(&ok);
    if (!ok) {
        setText(QString::number(m_minValue));
        return m_minValue;
    }
    return v;
}

void TCSpinEdit::SetValue(std::int32_t value)
{
    const QString t = QString::number(CheckValue(value));
    if (t != text())
        setText(t);
}

std::int32_t TCSpinEdit::CheckValue(std::int32_t value) const
{
    if (m_maxValue == m_minValue)
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

void TCSpinEdit::SetEditorEnabled(bool on)
{
    m_editorEnabled = on;
    // Dropping text is a paste by other means.
    setDragEnabled(on);
    setAcceptDrops(on);
}

void TCSpinEdit::UpClick()
{
    if (isReadOnly()) {
        Beep();
        return;
    }
    SetValue(saturatedSum(Value(), m_increment));
}

void TCSpinEdit::DownClick()
{
    if (isReadOnly()) {
        Beep();
        return;
    }
    SetValue(saturatedSum(Value(), -std::int64_t(m_increment)));
}

bool TCSpinEdit::IsValidChar(QChar c) const
{
    const char16_t code = c.unicode();
    const QString decimal = locale().decimalPoint();
    bool valid = (decimal.size() == 1 && c == decimal.front()) || c == u'+' || c == u'-'
        || (c >= u'0' && c <= u'9') || (code < 32 && code != 13);
    if (!m_editorEnabled && valid && (code >= 32 || code == 8))
        valid = false;
    return valid;
}

void TCSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) {
        UpClick();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down) {
        DownClick();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
        if (canCutOrPaste())
            QLineEdit::keyPressEvent(event);
        return;
    }
    // Without the editor, deleting forward would change the text as surely as
    // typing would.
    if (!m_editorEnabled
        && (event->key() == Qt::Key_Delete || event->matches(QKeySequence::Undo)
            || event->matches(QKeySequence::Redo))) {
        Beep();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString chars = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        chars = QStringLiteral("\r");
    else if (event->key() == Qt::Key_Backspace)
        chars = QStringLiteral("\b");
    for (QChar c : chars) {
        if (!IsValidChar(c)) {
            Beep();
            // Enter still reaches the dialog for its default button.
            if (c == u'\r')
                event->ignore();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TCSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    for (QChar c : event->commitString()) {
        if (!IsValidChar(c)) {
            Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}

void TCSpinEdit::mousePressEvent(QMouseEvent* event)
{
    // The middle button pastes the selection on X11.
    if (event->button() == Qt::MiddleButton && !canCutOrPaste())
        return;
    QLineEdit::mousePressEvent(event);
}

void TCSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!canCutOrPaste()) {
        for (QAction* a : menu->actions()) {
            const QString name = a->objectName();
            if (name == QLatin1String("edit-cut") || name == QLatin1String("edit-paste")
                || name == QLatin1String("edit-delete") || name == QLatin1String("edit-undo")
                || name == QLatin1String("edit-redo"))
                a->setEnabled(false);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TCSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void TCSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A number typed out of range is put right when the field is left.
    const std::int32_t v = Value();
    if (CheckValue(v) != v)
        SetValue(v);
}

void TCSpinEdit::Beep()
{
    QApplication::beep();
}

int TCSpinEdit::GetMinHeight() const
{
    const int h = QFontMetrics(font()).height();
    const int s = std::min(h, QFontMetrics(QApplication::font()).height());
    constexpr int kBorder = 1;
    return h + s / 4 + 4 * kBorder + 2;
}

QSize TCSpinEdit::sizeHint() const
{
    return { QLineEdit::sizeHint().width(), GetMinHeight() };
}

void TCSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int m = GetMinHeight();
    if (height() < m) {
        resize(width(), m);
        return;
    }
    if (!m_button)
        return;
    // Client coordinates start inside the edge.
    m_button->setGeometry(kEdge + width() - m_button->width() - 5, kEdge, m_button->width(), height() - 5);
    SetEditRect();
}

void TCSpinEdit::SetEditRect()
{
    if (m_button)
        setTextMargins(0, 0, m_button->width() + 2, 0);
}
