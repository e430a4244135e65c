#pragma once

// Small makers for the properties dialog's fixed layout: every control gets
// its name, its caption, its place and, where it has one, its hint.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tolm::dialogs {

template <typename T> T* placed(T* widget, const char* name, const QRect& geometry, const QString& hint = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

inline QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = placed(new QLabel(text, parent), name, geometry);
    l->setAlignment(align);
    return l;
}

inline QLineEdit* edit(QWidget* parent, const char* name, const QRect& geometry, const QString& hint = {})
{
    return placed(new QLineEdit(parent), name, geometry, hint);
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* b = placed(new QPushButton(text, parent), name, geometry);
    b->setAutoDefault(false);
    return b;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    return placed(new QCheckBox(text, parent), name, geometry);
}

inline QGroupBox* group(
    QWidget* parent, const char* name, const QString& title, const QRect& geometry, const QString& hint = {})
{
    return placed(new QGroupBox(title, parent), name, geometry, hint);
}

// Labels with an "&" mnemonic focus the control beside them.
inline QLabel* buddyLabel(
    QWidget* parent, const char* name, const QString& text, const QRect& geometry, QWidget* buddy)
{
    QLabel* l = label(parent, name, text, geometry);
    l->setBuddy(buddy);
    return l;
}

} // namespace tolm::dialogs
