// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace zelmo::chart {

// Colours are 0x00BBGGRR; a value with the top bit set names a system colour (low byte = index).
using TColor = std::uint32_t;
inline constexpr TColor AutoColor = 0x80000000u;
inline constexpr TColor clNone = 0x1FFFFFFFu;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clWhite = 0xFFFFFFu;
inline constexpr TColor clRed = 0x0000FFu;
inline constexpr TColor clBlue = 0xFF0000u;
inline constexpr TColor clGray = 0x808080u;
inline constexpr TColor clMenu = 0x80000004u;
inline constexpr TColor clWindowText = 0x80000008u;
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clBtnShadow = 0x80000010u;
inline constexpr TColor clBtnHighlight = 0x80000014u;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TPenStyle { psSolid, psDot, psClear };
enum class TPenMode { pmCopy };
enum class TBrushStyle { bsSolid, bsClear };
enum class TBackMode { Transparent, Opaque };

// The pen, brush and font currently selected into a canvas: plain values that a drawing
// device reads when it draws. Every user of the canvas selects its own before drawing.
struct TPenData {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    bool SmallDots = false;  // one-pixel cosmetic pen that sets every other pixel
    friend bool operator==(const TPenData&, const TPenData&) = default;
};

struct TBrushData {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrushData&, const TBrushData&) = default;
};

struct TFontData {
    QString Name = QStringLiteral("Arial");
    int Height = -11;  // pixels; negative = character height (cell height less internal leading)
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    friend bool operator==(const TFontData&, const TFontData&) = default;
};

// The default font of axis labels and marks: Arial, 8 points at 96 pixels per inch.
TFontData DefaultChartFont();

// Text alignment flags of the window system, the two the chart uses: the anchor point is the
// text's left or its centre, and always its top. Other flags draw as left and top.
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_HORIZONTAL = TA_CENTER;  // the bits of the horizontal flag
inline constexpr unsigned TA_TOP = 0;

class TChartPen;

// The chart's drawing surface, flat part: the current pen, brush, font and background mode,
// the two-dimensional primitives and text measurement. A drawing device (QPainter on the
// off-screen image, or a recording canvas in tests) implements the pure virtual operations.
class TChartCanvas {
  public:
    virtual ~TChartCanvas() = default;

    TPenData Pen;
    TBrushData Brush;
    TFontData Font;
    TBackMode BackMode = TBackMode::Opaque;
    TColor BackColor = clWhite;

    virtual void SetTextAlignment(unsigned flags) = 0;
    virtual void TextOut2D(int x, int y, const QString& text) = 0;
    virtual int MeasureTextWidth(const QString& text) = 0;
    virtual int MeasureTextHeight(const QString& text) = 0;
    // Outline with the pen, inside with the brush; right and bottom edges excluded.
    virtual void Rectangle2D(const TRect& r) = 0;
    // One filled (brush) and outlined (pen) polygon through the points, alternate fill rule.
    virtual void FillPolygon(std::span<const TPoint> points) = 0;
    virtual void Unclip() = 0;

    // Device primitives used by the operations above and by the panel and axes.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;      // pen line; the last pixel is left out
    virtual void FillRect(const TRect& r) = 0;  // brush only, right and bottom excluded
    virtual void ClipPolygon(std::span<const TPoint> points) = 0;  // alternate fill rule
    virtual void ClipRectangle(const TRect& r) = 0;

    int FontHeight() { return MeasureTextHeight(QStringLiteral("W")); }
    // The widest line of a text whose lines are separated by carriage returns.
    int WidestLineWidth(const QString& text, int& lines);
    // Selects a chart pen: an invisible one draws nothing.
    void ApplyChartPen(const TChartPen& pen);
    void SetFillBrush(TColor color, TBrushStyle style, TColor back);
};

// The lines of a text broken by carriage returns (character 13): the piece before each break,
// then the rest after the last one unless it is empty.
QStringList TextLines(const QString& text);

// Resolves a system colour to 0x00BBGGRR; plain colours are returned unchanged.
TColor ColorToRGB(TColor color);
// Each of red, green and blue less amount, not below 0.
TColor DarkenColor(TColor color, int amount);

}  // namespace zelmo::chart
