#pragma once

// What the drive and memory boxes share: figures, bar gauges and the spin
// box of the refresh period.

#include "gfx/Color.h"

#include <QString>

class QFrame;
class QLabel;
class QWidget;
class TCGauge;
class TCSpinEdit;

namespace tolm::dialogs {

// What a figure shows until the first refresh; the box is laid out to hold it.
inline const QString kBytesPlaceholder = QStringLiteral("99.999.999.999 bytes");
inline const QString kShortPlaceholder = QStringLiteral("99,99 GB");

// A right-aligned figure, as wide as its text; the grid it stands in gives
// its column the designed width.
QLabel* figureLabel(QWidget* parent, const char* name, const QString& placeholder);

// The designed widths of the columns of bytes and of short sizes.
constexpr int kBytesWidth = 130;
constexpr int kShortWidth = 62;

// A label of the box, at least `width` pixels wide.
QLabel* rowLabel(QWidget* parent, const char* name, const QString& text, int width);

// A bar gauge `height` pixels high in a lowered frame named `frameName`,
// which is what is laid out; the filled part is `fore`, the rest `back`.
TCGauge* barGauge(QWidget* parent, const char* name, const char* frameName, int height, tolm::gfx::Color fore,
    tolm::gfx::Color back);

// The refresh period in seconds, 0 to 255.
TCSpinEdit* refreshPeriodSpin(QWidget* parent, const char* name);

// "1.234 bytes", grouped as the locale groups.
QString bytesText(quint64 bytes);
// The same size in decimal units, as the tile and its hint show it: "2,50GB".
QString sizeText(quint64 bytes);

} // namespace tolm::dialogs
