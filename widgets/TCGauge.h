#pragma once

#include "gfx/Color.h"
#include "gfx/Rect.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <stdexcept>

namespace tolm::gfx {
class Canvas;
}

// Shows how far Progress lies between MinValue and MaxValue as a percentage:
// as text only, a horizontal or vertical bar, a pie or a half-dial needle, with
// the percentage written across in inverted colours. Every picture is composed
// off screen and copied to the control in one step.
class TCGauge : public QWidget {
    Q_OBJECT

public:
    enum TCGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
    // Only bsSingle draws anything: a one-pixel black frame.
    enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

    // A bound set outside what the other bound allows.
    class RangeError : public std::runtime_error {
    public:
        RangeError(std::int32_t low, std::int32_t high);
    };

    explicit TCGauge(QWidget* parent = nullptr);

    std::int32_t MinValue() const { return m_minValue; }
    std::int32_t MaxValue() const { return m_maxValue; }
    std::int32_t Progress() const { return m_progress; }
    TCGaugeKind Kind() const { return m_kind; }
    bool ShowText() const { return m_showText; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    tolm::gfx::Color ForeColor() const { return m_foreColor; }
    tolm::gfx::Color BackColor() const { return m_backColor; }
    // The background around a pie or needle dial: the parent's window colour.
    tolm::gfx::Color Color() const;

    void SetMinValue(std::int32_t value);
    void SetMaxValue(std::int32_t value);
    void SetProgress(std::int32_t value);
    void AddProgress(std::int32_t delta);
    void SeTCGaugeKind(TCGaugeKind kind);
    void SetShowText(bool on);
    void SetBorderStyle(TBorderStyle style);
    void SetForeColor(tolm::gfx::Color color);
    void SetBackColor(tolm::gfx::Color color);

    std::int32_t GetPercentDone() const { return percentDone(m_minValue, m_maxValue, m_progress); }

    // floor(100 * (progress - min) / (max - min)), 0 for an empty range.
    static std::int32_t percentDone(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress);
    // floor(percent * size / 100), exact.
    static std::int32_t ScaleFromPercent(std::int32_t percent, std::int32_t size);

    // The whole picture as Paint puts it on the screen.
    QImage renderImage() const;
    // The rectangle the kinds draw in: the client area, inside the frame if there is one.
    tolm::gfx::Rect drawingRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

    void PaintBackground(tolm::gfx::Canvas& canvas) const;
    void PaintAsNothing(tolm::gfx::Canvas& canvas, const tolm::gfx::Rect& d) const;
    void PaintAsBar(tolm::gfx::Canvas& canvas, const tolm::gfx::Rect& d) const;
    void PaintAsPie(tolm::gfx::Canvas& canvas, const tolm::gfx::Rect& d) const;
    void PaintAsNeedle(tolm::gfx::Canvas& canvas, const tolm::gfx::Rect& d) const;
    void PaintAsText(tolm::gfx::Canvas& canvas, const tolm::gfx::Rect& d) const;

private:
    std::int32_t m_minValue { 0 };
    std::int32_t m_maxValue { 100 };
    std::int32_t m_progress { 0 };
    TCGaugeKind m_kind { gkHorizontalBar };
    bool m_showText { true };
    TBorderStyle m_borderStyle { bsSingle };
    tolm::gfx::Color m_foreColor { tolm::gfx::clBlack };
    tolm::gfx::Color m_backColor { tolm::gfx::clWhite };
};
