#include "items/ShelfState.h"

#include "items/HintWindow.h"
#include "items/TSpButton.h"

#include <QtGlobal>

namespace {
ShelfState* s_instance = nullptr;
}

ShelfState::ShelfState()
{
    if (s_instance)
        qFatal("tolm: a second ShelfState while one exists");
    s_instance = this;
}

ShelfState::~ShelfState()
{
    s_instance = nullptr;
}

ShelfState& ShelfState::get()
{
    if (!s_instance)
        qFatal("tolm: ShelfState::get() with no ShelfState");
    return *s_instance;
}

bool ShelfState::exists()
{
    return s_instance != nullptr;
}

void ShelfState::addTimerItem(TSpButton* item)
{
    if (item && !m_timerSet.contains(item)) {
        m_timerSet.insert(item);
        timerItems.append(item);
        wantTick();
    }
}

void ShelfState::removeTimerItem(TSpButton* item)
{
    if (m_timerSet.remove(item))
        timerItems.removeAll(item);
}

void ShelfState::removeTimerItems(const QList<TSpButton*>& items)
{
    QSet<const TSpButton*> leaving;
    for (const TSpButton* item : items) {
        if (m_timerSet.remove(item))
            leaving.insert(item);
    }
    if (!leaving.isEmpty())
        timerItems.removeIf(
            [&leaving](const QPointer<TSpButton>& item) { return leaving.contains(item.data()); });
}

tolm::items::HintWindow& ShelfState::hintWindow()
{
    if (!m_hintWindow)
        m_hintWindow = std::make_unique<tolm::items::HintWindow>();
    return *m_hintWindow;
}

void ShelfState::hideHint()
{
    if (m_hintWindow && m_hintWindow->isVisible())
        m_hintWindow->hide();
}
