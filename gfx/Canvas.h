#pragma once

#include "gfx/Color.h"
#include "gfx/RasterOp.h"
#include "gfx/Rect.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

namespace tolm::gfx {

// Draws on a bitmap it borrows, the way the item pictures were designed: solid
// pens mixed by a pen mode, rectangles that leave out their right and bottom
// edge, lines that leave out their end point, block transfers with raster
// operations. Every call clips to the clip rectangle and the bitmap, returns
// when nothing is left, and walks scan lines; pixels are combined only in
// combineRun().
class Canvas {
public:
    // The bitmap is converted to RGB32 if it is in another format, and is stamped
    // with 96 dots per inch so that text is laid out as on the screens these
    // pictures were made for.
    explicit Canvas(QImage& target);

    QImage& image() { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    // Pen: a solid colour 1 to 3 pixels wide. Wider pens stamp a square centred
    // on each pixel of the one-pixel path (the left/top half is the larger one at
    // width 2) and, like round-capped pens, also cover the end point.
    void setPen(Color color, int width = 1, PenMode mode = PenMode::Copy);
    Color penColor() const { return m_penColor; }
    int penWidth() const { return m_penWidth; }
    PenMode penMode() const { return m_penMode; }

    // Brush: a solid colour, or clear (shapes are outlined only; textRect does not
    // fill its rectangle).
    void setBrush(Color color);
    void setBrushClear() { m_brushSolid = false; }
    Color brushColor() const { return m_brushColor; }
    bool brushSolid() const { return m_brushSolid; }

    void setFont(const QFont& font) { m_font = font; }
    const QFont& font() const { return m_font; }
    void setTextColor(Color color) { m_textColor = color; }
    // Opaque text fills each text cell with the background colour first.
    void setTextBackground(Color color, bool opaque);

    void setClipRect(const Rect& r);
    Rect clipRect() const { return m_clip; }

    QRgb pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // Lines with the pen. lineTo leaves the end point out (with a one-pixel pen)
    // and makes it the new pen position.
    void moveTo(int x, int y) { m_pos = { x, y }; }
    void lineTo(int x, int y);
    QPoint penPosition() const { return m_pos; }

    // Fills with the brush colour, always in copy mode, whatever the pen mode.
    void fillRect(const Rect& r);
    void fillRect(const Rect& r, Color color);
    // One-pixel frame along the inside of r in the brush colour.
    void frameRect(const Rect& r);
    void frameRect(const Rect& r, Color color);
    // The ellipse inscribed in r (right and bottom excluded): a pixel belongs to it
    // when its centre does; the outline is the ring of those pixels that touch the
    // outside. Pens wider than one pixel outline one pixel wide.
    void ellipse(const Rect& r);
    // The part of that ellipse swept counter-clockwise (as seen on the screen) from
    // the radial through `from` to the radial through `to`, outlined along its arc
    // and both radials. Equal radials give the whole ellipse.
    void pie(const Rect& r, QPoint from, QPoint to);

    // A raster operation without a source (Blackness, Whiteness, PatCopy with the
    // brush colour, DstInvert, PatInvert).
    void patBlt(const Rect& r, std::uint32_t ropCode);
    // Transfers w x h pixels of src from (sx, sy) to (x, y). Pixels outside src are
    // left alone; the pattern is the brush colour.
    void bitBlt(
        int x, int y, int w, int h, const QImage& src, int sx, int sy, std::uint32_t ropCode = rop::SrcCopy);
    void draw(int x, int y, const QImage& src) { bitBlt(x, y, src.width(), src.height(), src, 0, 0); }
    // Scales srcRect of src into dst by nearest neighbour: each destination pixel
    // takes the source pixel under its centre, so shrinking drops whole rows and
    // columns spread evenly and keeps no blend of colours.
    void stretchBlt(
        const Rect& dst, const QImage& src, const Rect& srcRect, std::uint32_t ropCode = rop::SrcCopy);
    // Draws a glyph whose bottom-left pixel colour stands for transparent.
    void drawTransparent(int x, int y, const QImage& glyph);
    void drawTransparent(int x, int y, const QImage& glyph, QRgb transparent);

    // Fills r with the brush (if solid), then writes the text with its cell's
    // top-left corner at (x, y), clipped to r.
    void textRect(const Rect& r, int x, int y, const QString& text);
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;

    static int textWidth(const QFont& font, const QString& text);
    static int textHeight(const QFont& font);

private:
    // Coordinates already clipped.
    void combineRow(int y, int x0, int x1, const QRgb* src, QRgb pattern, std::uint8_t table);
    void plot(int x, int y, QRgb pattern, std::uint8_t table);
    void strokeLine(QPoint a, QPoint b);
    void shapeFill(const Rect& r, bool isPie, QPoint from, QPoint to);
    void drawText(const Rect& clip, int x, int y, const QString& text);

    QImage& m_image;
    Rect m_clip;
    QPoint m_pos;
    Color m_penColor { clBlack };
    int m_penWidth { 1 };
    PenMode m_penMode { PenMode::Copy };
    Color m_brushColor { clWhite };
    bool m_brushSolid { true };
    QFont m_font;
    Color m_textColor { clBlack };
    Color m_textBackground { clWhite };
    bool m_textOpaque { false };
};

} // namespace tolm::gfx
