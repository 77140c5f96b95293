#pragma once

#include "chart/tcanvas3d.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QSize>

#include <span>
#include <vector>

namespace zelmo::chart {

// The Qt pixel value of a colour, system colours resolved.
QRgb ToQRgb(TColor color);

// The chart's real drawing device: paints into an off-screen RGB32 image the size of the
// chart's client area, following the pixel rules of the window system exactly (lines leave out
// their last pixel, rectangles and polygon fills leave out their right and bottom edges). Lines,
// fills and clips are rasterised here pixel by pixel; text goes through an aliased QPainter.
// The chart copies Image() to the window after a drawing pass.
class TQtChartCanvas : public TChartCanvas3D {
  public:
    TQtChartCanvas();
    ~TQtChartCanvas() override;

    // Starts a pass on the image, recreating it when the size changed; removes any clip.
    void BeginPaint(QSize clientSize);
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

    // The Qt font that a font description selects (substitutes applied, pixel size set).
    static QFont MakeFont(const TFontData& font);

  private:
    void Plot(int x, int y, QRgb rgb);
    void FillRow(int y, int x0, int x1, QRgb rgb);
    void PenLine(int x0, int y0, int x1, int y1);
    void FillSpans(std::span<const TPoint> points, QRgb rgb);
    void Frame(const TRect& r);
    void SolidRect(int left, int top, int right, int bottom, QRgb rgb);
    QRegion ClipRegion() const;
    // The Qt font of the current Font, made again only when Font changed.
    const QFont& CurrentFont();

    QImage image_;
    bool painting_ = false;
    unsigned alignment_ = TA_LEFT | TA_TOP;
    TPoint penPos_;
    // Position in the dot pattern of the current pen path; restarts at every MoveTo.
    int dotPhase_ = 0;
    // The current clip, one byte per image pixel (empty = no clip).
    std::vector<unsigned char> clip_;
    TFontData fontData_;
    QFont font_;
    bool fontValid_ = false;
};

}  // namespace zelmo::chart
