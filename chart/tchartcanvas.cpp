#include "chart/tchartcanvas.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

#include "chart/tchartpen.h"

namespace zelmo::chart {

namespace {

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

// Colours of the system palette when there is no application to ask, by system index.
constexpr std::array<TColor, 31> kFallbackSystemColors = {
    Rgb(200, 200, 200),  // scroll bar
    Rgb(0, 0, 0),        // desktop
    Rgb(153, 180, 209),  // active caption
    Rgb(191, 205, 219),  // inactive caption
    Rgb(240, 240, 240),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(100, 100, 100),  // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(0, 0, 0),        // caption text
    Rgb(180, 180, 180),  // active border
    Rgb(244, 247, 252),  // inactive border
    Rgb(171, 171, 171),  // application workspace
    Rgb(0, 120, 215),    // highlight
    Rgb(255, 255, 255),  // highlighted text
    Rgb(240, 240, 240),  // button face
    Rgb(160, 160, 160),  // button shadow
    Rgb(109, 109, 109),  // grey text
    Rgb(0, 0, 0),        // button text
    Rgb(0, 0, 0),        // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(105, 105, 105),  // 3D dark shadow
    Rgb(227, 227, 227),  // 3D light
    Rgb(0, 0, 0),        // tooltip text
    Rgb(255, 255, 225),  // tooltip background
    Rgb(0, 0, 0),        // (unused)
    Rgb(0, 102, 204),    // hot-tracked item
    Rgb(185, 209, 234),  // active caption gradient
    Rgb(215, 228, 242),  // inactive caption gradient
    Rgb(0, 120, 215),    // highlighted menu item
    Rgb(240, 240, 240),  // menu bar
};

// The palette entry that plays the part of a system colour; false when there is none.
bool PaletteRole(unsigned index, QPalette::ColorGroup& group, QPalette::ColorRole& role) {
    group = QPalette::Active;
    switch (index) {
        case 0:
            role = QPalette::Window;
            return true;
        case 2:
            role = QPalette::Highlight;
            return true;
        case 3:
            group = QPalette::Inactive;
            role = QPalette::Highlight;
            return true;
        case 4:
            role = QPalette::Window;
            return true;
        case 5:
            role = QPalette::Base;
            return true;
        case 6:
            role = QPalette::Shadow;
            return true;
        case 7:
            role = QPalette::WindowText;
            return true;
        case 8:
            role = QPalette::WindowText;
            return true;
        case 9:
            role = QPalette::HighlightedText;
            return true;
        case 10:
        case 11:
            role = QPalette::Button;
            return true;
        case 12:
            role = QPalette::Mid;
            return true;
        case 13:
            role = QPalette::Highlight;
            return true;
        case 14:
            role = QPalette::HighlightedText;
            return true;
        case 15:
            role = QPalette::Button;
            return true;
        case 16:
            role = QPalette::Dark;
            return true;
        case 17:
            group = QPalette::Disabled;
            role = QPalette::Text;
            return true;
        case 18:
            role = QPalette::ButtonText;
            return true;
        case 19:
            group = QPalette::Inactive;
            role = QPalette::HighlightedText;
            return true;
        case 20:
            role = QPalette::Light;
            return true;
        case 21:
            role = QPalette::Shadow;
            return true;
        case 22:
            role = QPalette::Midlight;
            return true;
        case 23:
            role = QPalette::ToolTipText;
            return true;
        case 24:
            role = QPalette::ToolTipBase;
            return true;
        case 26:
            role = QPalette::Link;
            return true;
        case 29:
            role = QPalette::Highlight;
            return true;
        case 30:
            role = QPalette::Window;
            return true;
        default:
            return false;
    }
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0x80000000u) == 0) return color;
    const unsigned index = color & 0xFFu;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr &&
        PaletteRole(index, group, role)) {
        const QColor c = QGuiApplication::palette().color(group, role);
        return Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                   static_cast<unsigned>(c.blue()));
    }
    return index < kFallbackSystemColors.size() ? kFallbackSystemColors[index] : clBlack;
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

void TChartCanvas::ApplyChartPen(const TChartPen& pen) {
    Pen.Color = pen.Color();
    Pen.Width = pen.Width();
    Pen.Mode = pen.Mode();
    Pen.SmallDots = false;
    if (!pen.Visible()) {
        Pen.Style = TPenStyle::psClear;
        return;
    }
    Pen.Style = pen.Style();
    // The one-pixel dotted pen exists only for width 1; a wider pen ignores the flag.
    if (pen.SmallDots() && pen.Width() == 1) Pen.SmallDots = true;
}

void TChartCanvas::SetFillBrush(TColor color, TBrushStyle style, TColor back) {
    // A hatched brush in the background colour would vanish: pick black or white instead.
    if (style != TBrushStyle::bsSolid && color == back) color = back == clBlack ? clWhite : clBlack;
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
