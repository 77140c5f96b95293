// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartcanvas.h"

#include "chart/chartexceptions.h"
#include "chart/chartmath.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <array>

namespace zelmo::chart {

namespace {

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

// A system colour: the palette entry that plays its part (NoRole when there is none) and the
// colour to use when there is no application palette to ask.
struct SystemColor {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    TColor Fallback;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kInactive = QPalette::Inactive;
constexpr QPalette::ColorGroup kDisabled = QPalette::Disabled;

// By system colour index.
constexpr std::array<SystemColor, 31> kSystemColors = {{
    {kActive, QPalette::Window, Rgb(200, 200, 200)},           // scroll bar
    {kActive, QPalette::NoRole, Rgb(0, 0, 0)},                 // desktop
    {kActive, QPalette::Highlight, Rgb(153, 180, 209)},        // active caption
    {kInactive, QPalette::Highlight, Rgb(191, 205, 219)},      // inactive caption
    {kActive, QPalette::Window, Rgb(240, 240, 240)},           // menu
    {kActive, QPalette::Base, Rgb(255, 255, 255)},             // window
    {kActive, QPalette::Shadow, Rgb(100, 100, 100)},           // window frame
    {kActive, QPalette::WindowText, Rgb(0, 0, 0)},             // menu text
    {kActive, QPalette::WindowText, Rgb(0, 0, 0)},             // window text
    {kActive, QPalette::HighlightedText, Rgb(0, 0, 0)},        // caption text
    {kActive, QPalette::Button, Rgb(180, 180, 180)},           // active border
    {kActive, QPalette::Button, Rgb(244, 247, 252)},           // inactive border
    {kActive, QPalette::Mid, Rgb(171, 171, 171)},              // application workspace
    {kActive, QPalette::Highlight, Rgb(0, 120, 215)},          // highlight
    {kActive, QPalette::HighlightedText, Rgb(255, 255, 255)},  // highlighted text
    {kActive, QPalette::Button, Rgb(240, 240, 240)},           // button face
    {kActive, QPalette::Dark, Rgb(160, 160, 160)},             // button shadow
    {kDisabled, QPalette::Text, Rgb(109, 109, 109)},           // grey text
    {kActive, QPalette::ButtonText, Rgb(0, 0, 0)},             // button text
    {kInactive, QPalette::HighlightedText, Rgb(0, 0, 0)},      // inactive caption text
    {kActive, QPalette::Light, Rgb(255, 255, 255)},            // button highlight
    {kActive, QPalette::Shadow, Rgb(105, 105, 105)},           // 3D dark shadow
    {kActive, QPalette::Midlight, Rgb(227, 227, 227)},         // 3D light
    {kActive, QPalette::ToolTipText, Rgb(0, 0, 0)},            // tooltip text
    {kActive, QPalette::ToolTipBase, Rgb(255, 255, 225)},      // tooltip background
    {kActive, QPalette::NoRole, Rgb(0, 0, 0)},                 // (unused)
    {kActive, QPalette::Link, Rgb(0, 102, 204)},               // hot-tracked item
    {kActive, QPalette::NoRole, Rgb(185, 209, 234)},           // active caption gradient
    {kActive, QPalette::NoRole, Rgb(215, 228, 242)},           // inactive caption gradient
    {kActive, QPalette::Highlight, Rgb(0, 120, 215)},          // highlighted menu item
    {kActive, QPalette::Window, Rgb(240, 240, 240)},           // menu bar
}};

}  // namespace

QStringList TextLines(const QString& text) {
    QStringList lines = text.split(QChar(13));
    if (lines.size() > 1 && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

TColor ColorToRGB(TColor color) {
    if ((color & 0x80000000u) == 0) {
        return color;
    }
    const unsigned index = color & 0xFFu;
    if (index >= kSystemColors.size()) {
        return clBlack;
    }
    const SystemColor& entry = kSystemColors[index];
    if (entry.Role != QPalette::NoRole &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        const QColor c = QGuiApplication::palette().color(entry.Group, entry.Role);
        return Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                   static_cast<unsigned>(c.blue()));
    }
    return entry.Fallback;
}

TColor DarkenColor(TColor color, int amount) {
    const TColor rgb = ColorToRGB(color);
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = static_cast<int>((rgb >> shift) & 0xFFu);
        const int darker = amount < channel ? channel - amount : 0;
        result |= static_cast<TColor>(darker) << shift;
    }
    return result;
}

TFontData DefaultChartFont() {
    TFontData font;
    font.Name = QString::fromUtf8(texts::kDefaultFontName);
    // 8 points at 96 pixels per inch, as a character height.
    font.Height = -MulDiv(8, 96, 72);
    font.Color = clBlack;
    return font;
}

int TChartCanvas::WidestLineWidth(const QString& text, int& lines) {
    const QStringList pieces = TextLines(text);
    lines = static_cast<int>(pieces.size());
    int widest = 0;
    for (const QString& piece : pieces) {
        widest = std::max(widest, MeasureTextWidth(piece));
    }
    return widest;
}

void TChartCanvas::SetFillBrush(TColor color, TBrushStyle style, TColor back) {
    // A hatched brush in the background colour would vanish: pick black or white instead.
    if (style != TBrushStyle::bsSolid && color == back) {
        color = back == clBlack ? clWhite : clBlack;
    }
    Brush.Color = color;
    Brush.Style = style;
    if (style != TBrushStyle::bsSolid) {
        BackMode = TBackMode::Opaque;
        BackColor = ColorToRGB(back);
    } else {
        BackMode = TBackMode::Transparent;
    }
}

}  // namespace zelmo::chart
