// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/clipspans.h"
#include "chart/fontcache.h"
#include "chart/pixelscale.h"
#include "chart/raster.h"
#include "chart/tcanvas3d.h"

#include <QImage>
#include <QPainter>
#include <QSize>

#include <span>

namespace zelmo::chart {

// The Qt pixel value of a colour, system colours resolved.
QRgb ToQRgb(TColor color);

// The chart's real drawing device: paints into an off-screen RGB32 image following the pixel
// rules of the window system exactly (lines leave out their last pixel, rectangles and polygon
// fills leave out their right and bottom edges). The chart lays out and draws in pixels; on a
// screen with more device pixels per pixel the device scales every coordinate and every pen
// width and dot by the shared rule of PixelScale and sizes its fonts to match, so the picture
// is the same, only sharper. Lines, fills and clips are rasterised here, clipped to the image
// before they are walked, so any coordinates cost at most the image's size; text goes through
// one aliased QPainter kept open for the pass. The chart copies Image() to the window after a
// drawing pass.
class TQtChartCanvas : public TChartCanvas3D {
  public:
    TQtChartCanvas();
    ~TQtChartCanvas() override;

    // Starts a pass on an image of deviceSize device pixels, recreating it when the size
    // changed; removes any clip. The pass draws in pixels, each pixelRatio device pixels wide,
    // and the finished image carries that ratio. Given a layoutSize, positions scale by the
    // image's size over it on each axis instead (a fraction of a device pixel more than the
    // ratio at most), so that the layout's far edges fall on the image's far edges exactly.
    void BeginPaint(QSize deviceSize, double pixelRatio = 1.0, QSize layoutSize = QSize());
    void EndPaint();
    const QImage& Image() const { return image_; }
    bool Painting() const { return painting_; }

    // Set by every redraw request of the chart; cleared after a drawing pass.
    bool Stale = true;

    void SetTextAlignment(unsigned flags) override;
    void TextOut2D(int x, int y, const QString& text) override;
    // Text sizes in pixels of the layout: measured in the fonts of ratio 1, so that the chart
    // is laid out alike at every ratio; the text itself is drawn in the denser fonts.
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

  private:
    // The index in fonts_ of the entry of the current font.
    std::size_t CurrentFont();
    // The font's entry at ratio 1, which text is measured in.
    FontCache::Entry& LayoutFont();
    QPainter& TextPainter();

    raster::Point Device(int x, int y) const {
        return {acrossX_.Position(x), acrossY_.Position(y)};
    }
    // Calls use(points) with the polygon's corners in device pixels.
    template <typename UseFn>
    void WithDevicePoints(std::span<const TPoint> points, UseFn use);
    void FillRow(int y, int x0, int x1, QRgb rgb);
    void SolidRect(long long left, long long top, long long right, long long bottom, QRgb rgb);
    void PenLine(int x0, int y0, int x1, int y1);
    void WideLineByRows(const raster::StrokeAxis& ax, const raster::StrokeAxis& ay, long long last,
                        long long size, long long from, long long phase0,
                        const raster::DotPattern& pattern, QRgb rgb);
    void FillSpans(std::span<const raster::Point> points, QRgb rgb);
    void Frame(const TRect& r);
    raster::DotPattern PenPattern(long long stamp) const;

    QImage image_;
    // The image's pixels and row length in pixels, fetched once per pass.
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    PixelScale scale_;
    // Where pixels of the layout begin on each axis: by scale_, or by the image over the layout.
    PixelScale acrossX_;
    PixelScale acrossY_;
    // The dot patterns of this pass and the period after which both repeat.
    raster::DotPattern dotted_;
    raster::DotPattern smallDots_;
    long long phasePeriod_ = 6;
    bool painting_ = false;
    unsigned alignment_ = TA_LEFT | TA_TOP;
    TPoint penPos_;
    // Position in the dot pattern of the current pen path, in device steps; restarts at every
    // MoveTo.
    long long dotPhase_ = 0;

    ClipSpans clip_;
    FontCache fonts_;
    FontCache layoutFonts_;
    static constexpr std::size_t kNoFont = ~std::size_t{0};

    QPainter painter_;
    std::size_t painterFont_ = kNoFont;
    unsigned painterFontGeneration_ = 0;
    QRgb painterColor_ = 0;
    bool painterClipped_ = false;
    unsigned painterClipVersion_ = ~0u;
};

}  // namespace zelmo::chart
