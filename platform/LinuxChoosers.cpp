#include "platform/LinuxChoosers.h"

#include "platform/DialogParent.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPushButton>

namespace tolm::platform {

std::optional<QString> LinuxChoosers::chooseFile(
    const QString& title, const QString& filters, const QString& folder)
{
    const QString chosen = QFileDialog::getOpenFileName(dialogParent(), title, folder, filters);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> LinuxChoosers::chooseFont(const QFont& initial, const FontApplied& apply)
{
    if (!apply) {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, dialogParent());
        if (!ok)
            return std::nullopt;
        return chosen;
    }
    QFontDialog dialog(dialogParent());
    // Qt's own dialog, so that it can carry the Apply button.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(initial);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* applyButton = buttons->addButton(QDialogButtonBox::Apply);
        QObject::connect(
            applyButton, &QPushButton::clicked, &dialog, [&dialog, &apply] { apply(dialog.currentFont()); });
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> LinuxChoosers::chooseColor(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace tolm::platform
