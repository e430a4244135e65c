#include "dialogs/DesignSize.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace tolm::dialogs {

namespace {

// Watches one widget; owned by it.
class DesignSize : public QObject {
public:
    DesignSize(QWidget* widget, QSize size)
        : QObject(widget)
        , m_widget(widget)
        , m_size(size)
    {
        widget->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The widget learns of its new font after its filters do, and only
        // then forgets the size it had worked out; the minimum follows once
        // it has.
        if (watched == m_widget
            && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
            QTimer::singleShot(0, this, [this] { apply(); });
        return false;
    }

private:
    void apply()
    {
        if (!m_widget)
            return;
        const QSize needed = m_widget->minimumSizeHint();
        m_widget->setMinimumSize(m_size.width() > 0 ? std::max(m_size.width(), needed.width()) : 0,
            m_size.height() > 0 ? std::max(m_size.height(), needed.height()) : 0);
    }

    QPointer<QWidget> m_widget;
    QSize m_size;
};

} // namespace

QWidget* keepAtLeast(QWidget* widget, QSize size)
{
    new DesignSize(widget, size);
    return widget;
}

} // namespace tolm::dialogs
