#include "platform/DialogParent.h"

#include <QApplication>

namespace tolm::platform {

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace tolm::platform
