#include "app/AppState.h"

#include "app/TPrincipal.h"
#include "dialogs/TCalendario.h"
#include "items/TSpButton.h"
#include "store/SavePoint.h"

#include <QFileSystemWatcher>

AppState::AppState(std::filesystem::path folder)
    : shelfFolder(std::move(folder))
{ }

AppState::~AppState() = default;

AppState& AppState::get()
{
    auto* state = dynamic_cast<AppState*>(&ShelfState::get());
    if (!state)
        qFatal("tolm: AppState::get() with no AppState");
    return *state;
}

bool AppState::exists()
{
    return ShelfState::exists() && dynamic_cast<AppState*>(&ShelfState::get());
}

TSpButton* AppState::cutBuffer() const
{
    return m_cutItem ? m_cutItem.get() : m_cutFolder.data();
}

void AppState::setCutItem(std::unique_ptr<TSpButton> item)
{
    m_cutFolder = nullptr;
    m_cutItem = std::move(item);
}

void AppState::setCutFolder(TSpButton* folder)
{
    m_cutItem.reset();
    m_cutFolder = folder;
}

TSpButton* AppState::takeCutFolder()
{
    TSpButton* folder = m_cutFolder.data();
    m_cutFolder = nullptr;
    m_cutItem.reset();
    return folder;
}

void AppState::clearCutBuffer()
{
    m_cutFolder = nullptr;
    m_cutItem.reset();
}

TCalendario* AppState::calendar()
{
    if (!m_calendar)
        m_calendar = std::make_unique<TCalendario>();
    return m_calendar.get();
}

QFileSystemWatcher* AppState::fileWatcher()
{
    if (!m_fileWatcher)
        m_fileWatcher = std::make_unique<QFileSystemWatcher>();
    return m_fileWatcher.get();
}

bool AppState::isOpen(const QWidget* window) const
{
    if (!window)
        return false;
    for (const auto& open : openFolderWindows) {
        if (open == window)
            return true;
    }
    return false;
}

bool AppState::fileIsOpen(const QString& fileName) const
{
    if (mainWindow && mainWindow->fileName() == fileName)
        return true;
    for (const auto& window : openFolderWindows) {
        if (window && window->fileName() == fileName)
            return true;
    }
    return filesBeingOpened.contains(fileName);
}
