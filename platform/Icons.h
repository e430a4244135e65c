#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace tolm::platform {

// The icon the shell associates with a file, and where it came from: for a
// document the application that opens it (its .desktop file), for a file
// with icons of its own that file.
struct AssociatedIcon {
    QImage image; // 32 x 32; null when nothing was found
    QString file; // the file that holds the icon; the file asked about when none
    int index { 0 };
};

class Icons {
public:
    static constexpr int iconSize = 32;

    virtual ~Icons() = default;
    // How many icons the file holds; 0 when it holds none or is no file with icons.
    virtual int iconCount(const QString& file) = 0;
    // Icon number `index` of the file at 32 x 32; a null image when there is none.
    virtual QImage extractIcon(const QString& file, int index) = 0;
    virtual AssociatedIcon associatedIcon(const QString& file) = 0;

    // The same icons as drawable sources at any size and pixel density: a
    // theme icon or the icon file's own images, not a 32 x 32 copy. Null when
    // the source no longer resolves (the file or the theme entry is gone), or
    // when a service has only fixed pictures to give.
    virtual QIcon iconSource(const QString& file, int index)
    {
        (void)file;
        (void)index;
        return {};
    }
    virtual QIcon associatedIconSource(const QString& file)
    {
        (void)file;
        return {};
    }
};

} // namespace tolm::platform
