#include "items/ItemAccessible.h"

#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QAccessibleWidget>

namespace tolm::items {

namespace {

AccessibilitySink s_sink = nullptr;

class ItemAccessible : public QAccessibleWidget {
public:
    explicit ItemAccessible(TSpButton* item)
        : QAccessibleWidget(item, QAccessible::Button)
    {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    TSpButton* item() const { return static_cast<TSpButton*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return item()->accessibleLabel();
        case QAccessible::Description:
            return item()->Hint();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        // The window holds the keyboard focus; the item with its mark is the
        // one the keys act on.
        s.focusable = item()->isEnabled();
        const bool marked = ShelfState::exists() && ShelfState::get().hoveredItem == item();
        s.focused = marked && item()->window()->isActiveWindow();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (item()->isEnabled())
            names << pressAction();
        return names;
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction() && item()->isEnabled())
            item()->click();
    }
};

} // namespace

QAccessibleInterface* itemAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TSpButton") && object && object->isWidgetType())
        return new ItemAccessible(static_cast<TSpButton*>(object));
    return nullptr;
}

void installItemAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(itemAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setAccessibilitySink(AccessibilitySink sink)
{
    s_sink = sink;
}

void announce(QAccessibleEvent& event)
{
    if (s_sink)
        s_sink(&event);
    else
        QAccessible::updateAccessibility(&event);
}

} // namespace tolm::items
