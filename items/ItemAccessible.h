#pragma once

class QAccessibleEvent;
class QAccessibleInterface;
class QObject;
class QString;

namespace tolm::items {

// What a screen reader is told about a shelf item: a button named by its
// caption (a tile by its kind and figure), described by its hint, focused
// while it carries the keyboard mark of its active window.
QAccessibleInterface* itemAccessibleFactory(const QString& className, QObject* object);

// Installs the factory once per process.
void installItemAccessibility();

// Where the items' news for screen readers go: Qt's accessibility, which
// passes them on only while a screen reader listens. Tests put a recorder
// in its place; null puts Qt's back.
using AccessibilitySink = void (*)(QAccessibleEvent* event);
void setAccessibilitySink(AccessibilitySink sink);
void announce(QAccessibleEvent& event);

} // namespace tolm::items
