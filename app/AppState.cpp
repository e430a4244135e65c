#include "app/AppState.h"

#include "app/TPrincipal.h"
#include "items/TSpButton.h"

namespace {
AppState* s_instance = nullptr;
}

AppState::AppState()
{
    Q_ASSERT(!s_instance);
    s_instance = this;
}

AppState::~AppState()
{
    if (m_cutOwned)
        delete m_cut.data();
    s_instance = nullptr;
}

AppState& AppState::get()
{
    Q_ASSERT(s_instance);
    return *s_instance;
}

bool AppState::exists()
{
    return s_instance != nullptr;
}

TSpButton* AppState::cutBuffer() const
{
    return m_cut.data();
}

void AppState::setCutBuffer(TSpButton* item, bool owned)
{
    if (m_cutOwned && m_cut && m_cut != item)
        delete m_cut.data();
    m_cut = item;
    m_cutOwned = owned && item;
}

TSpButton* AppState::takeCutBuffer()
{
    TSpButton* item = m_cut.data();
    m_cut = nullptr;
    m_cutOwned = false;
    return item;
}

bool AppState::isOpen(const TPrincipal* window) const
{
    if (!window)
        return false;
    for (const auto& open : openFolderWindows) {
        if (open == window)
            return true;
    }
    return false;
}

void AppState::addTimerItem(TSpButton* item)
{
    if (item && !timerItems.contains(item))
        timerItems.append(item);
}

void AppState::removeTimerItem(TSpButton* item)
{
    timerItems.removeAll(item);
}
