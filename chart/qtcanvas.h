// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tcanvas3d.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QSize>

#include <span>
#include <utility>
#include <vector>

namespace zelmo::chart {

// The Qt pixel value of a colour, system colours resolved.
QRgb ToQRgb(TColor color);

// The chart's real drawing device: paints into an off-screen RGB32 image the size of the
// chart's client area in device pixels, following the pixel rules of the window system exactly
// (lines leave out their last pixel, rectangles and polygon fills leave out their right and
// bottom edges). Lines, fills and clips are rasterised here, clipped to the image before they
// are walked, so any coordinates cost at most the image's size; text goes through one aliased
// QPainter kept open for the pass. The chart copies Image() to the window after a drawing pass.
class TQtChartCanvas : public TChartCanvas3D {
  public:
    TQtChartCanvas();
    ~TQtChartCanvas() override;

    // Starts a pass on an image of clientSize device pixels, recreating it when the size
    // changed; removes any clip. Fonts are sized for pixelRatio device pixels per pixel, and
    // the finished image carries that ratio.
    void BeginPaint(QSize clientSize, double pixelRatio = 1.0);
    void EndPaint();
    const QImage& Image() const { return image_; }
    bool Painting() const { return painting_; }

    // Set by every redraw request of the chart; cleared after a drawing pass.
    bool Stale = true;

    void SetTextAlignment(unsigned flags) override;
    void TextOut2D(int x, int y, const QString& text) override;
    int MeasureTextWidth(const QString& text) override;
    int MeasureTextHeight(const QString& text) override;
    void Rectangle2D(const TRect& r) override;
    void FillPolygon(std::span<const TPoint> points) override;
    void Unclip() override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(const TRect& r) override;
    void ClipPolygon(std::span<const TPoint> points) override;
    void ClipRectangle(const TRect& r) override;

    // The Qt font that a font description selects (substitutes applied, pixel size set for
    // pixelRatio device pixels per pixel).
    static QFont MakeFont(const TFontData& font, double pixelRatio = 1.0);

  private:
    // A font description resolved once: the Qt font, its metrics and the widths of the texts
    // measured in it. The chart's fonts change only when a property does, so a pass finds
    // them here.
    struct FontEntry {
        TFontData Key;
        QFont Font;
        QFontMetrics Metrics;
        int Height;
        int Ascent;
        QHash<QString, int> Widths;
    };

    // The entry of Font, made on first use; currentFont_ holds its index.
    FontEntry& CurrentFont();
    int TextWidth(FontEntry& entry, const QString& text);
    QPainter& TextPainter();
    const QRegion& ClipRegion();

    bool ClipAllows(int x, int y) const;
    void FillRow(int y, int x0, int x1, QRgb rgb);
    void SolidRect(long long left, long long top, long long right, long long bottom, QRgb rgb);
    void PenLine(int x0, int y0, int x1, int y1);
    void WideLineByRows(long long x0, long long y0, long long dx, long long dy, long long last,
                        int phase0, QRgb rgb);
    void FillSpans(std::span<const TPoint> points, QRgb rgb);
    void Frame(const TRect& r);

    QImage image_;
    // The image's pixels and row length in pixels, fetched once per pass.
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    double pixelRatio_ = 1.0;
    bool painting_ = false;
    unsigned alignment_ = TA_LEFT | TA_TOP;
    TPoint penPos_;
    // Position in the dot pattern of the current pen path; restarts at every MoveTo.
    int dotPhase_ = 0;

    // The current clip as spans per image row: row y holds the spans clipSpans_[clipRows_[y]]
    // up to clipSpans_[clipRows_[y + 1]], each a pixel range [first, second).
    bool clipped_ = false;
    std::vector<int> clipRows_;
    std::vector<std::pair<int, int>> clipSpans_;
    unsigned clipVersion_ = 0;
    QRegion clipRegion_;
    unsigned clipRegionVersion_ = ~0u;

    std::vector<FontEntry> fonts_;
    static constexpr std::size_t kNoFont = ~std::size_t{0};
    std::size_t currentFont_ = kNoFont;

    QPainter painter_;
    std::size_t painterFont_ = kNoFont;
    QRgb painterColor_ = 0;
    bool painterClipped_ = false;
    unsigned painterClipVersion_ = ~0u;
};

}  // namespace zelmo::chart
