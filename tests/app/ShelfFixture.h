#pragma once

#include "app/AppState.h"
#include "app/ShelfSession.h"
#include "app/TPrincipal.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/ShelfFile.h"
#include "support/FakePlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A folder item naming the file `comando`, stored open or closed.
inline tolm::store::SpButtonState folderState(const std::string& comando, bool open)
{
    tolm::store::SpButtonState folder;
    folder.clase = static_cast<std::uint8_t>(tolm::store::Clase::Carpeta);
    folder.caption = "Peligro";
    folder.comando = comando;
    folder.tag = open ? 1 : 0;
    return folder;
}

// A whole shelf file holding `items`.
inline QByteArray shelfOf(const std::vector<tolm::store::SpButtonState>& items)
{
    using namespace tolm::store;
    std::vector<std::uint8_t> bytes;
    ShelfHeader header;
    header.left = 100;
    header.top = 100;
    header.right = 400;
    header.bottom = 300;
    writeHeader(header, bytes);
    writeRecord(writeFontDialog(FontDialogState {}), bytes);
    for (const auto& item : items)
        writeRecord(writeSpButton(item), bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A shelf in an empty temporary folder, with fake platform services: the
// message boxes, choosers and clock are the test's. File names the helpers
// take are names in that folder.
class ShelfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_state = std::make_unique<AppState>(m_dir.path().toStdString());
        m_services = std::make_unique<tolm::platform::ScopedServices>(fake.services());
    }

    void TearDown() override
    {
        closeAll();
        m_services.reset();
        m_state.reset();
    }

    TPrincipal* startMain()
    {
        auto* window = new TPrincipal;
        QObject::connect(window, &TPrincipal::propertiesRequested, window,
            [this](TSpButton* item) { propertiesRequested(item); });
        return window;
    }

    void closeAll()
    {
        if (AppState::exists()) {
            const auto folders = AppState::get().openFolderWindows;
            for (const auto& w : folders)
                delete w.data();
            delete AppState::get().mainWindow.data();
        }
        flushDeletes();
    }

    // What the application does when a window asks for the properties dialog.
    virtual void propertiesRequested(TSpButton* item) { propertiesOpened.append(item); }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QString shelfPath() const { return m_dir.path(); }
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    bool exists(const QString& name) const { return QFile::exists(path(name)); }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    tolm::store::ShelfFile parse(const QString& name) const
    {
        const QByteArray bytes = read(name);
        return tolm::store::parseShelf(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }

    AppState& state() { return AppState::get(); }

    // The message boxes shown so far, each as "caption|text".
    QStringList messages() const
    {
        QStringList shown;
        for (const auto& box : fake.messageBoxes.boxes)
            shown.append(box.caption + QLatin1Char('|') + box.text);
        return shown;
    }

    tolm::test::FakePlatform fake;
    QList<TSpButton*> propertiesOpened;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<tolm::platform::ScopedServices> m_services;
};
