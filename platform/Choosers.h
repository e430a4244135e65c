#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

namespace tolm::platform {

// The desktop's dialogs that ask the user to pick something. Each opens over
// the active window, waits for the answer and gives nothing back when the
// user cancelled.
class Choosers {
public:
    using FontApplied = std::function<void(const QFont&)>;

    virtual ~Choosers() = default;
    // A file to open: the dialog's title (empty: the platform's own), its
    // filter list in Qt's form ("Programas (*.exe);;Todos (*)") and the
    // folder it opens in.
    virtual std::optional<QString> chooseFile(
        const QString& title, const QString& filters, const QString& folder)
        = 0;
    // A font, starting from `initial`. With `apply` the dialog also carries an
    // Apply button that hands over the font it shows, while it stays open.
    virtual std::optional<QFont> chooseFont(const QFont& initial, const FontApplied& apply) = 0;
    // A colour, starting from `initial`.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
};

} // namespace tolm::platform
