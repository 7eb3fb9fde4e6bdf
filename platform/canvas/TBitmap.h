#pragma once

// TBitmap: an off-screen picture with its own canvas. Pixels are held in a
// QImage (32-bit RGB). A monochrome bitmap holds only black and white.
// Drawing on Canvas() fires OnChange, as every other change does.

#include "platform/canvas/Colors.h"
#include "platform/canvas/TCanvas.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace platform {

enum class TTransparentMode : int { tmAuto, tmFixed };

class TBitmap
{
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;

    // Copies pixels and settings (not OnChange). Assign(nullptr) empties.
    void Assign(const TBitmap *source);
    void Assign(const TBitmap &source) { Assign(&source); }
    // Takes a picture: converted to 32-bit RGB (alpha dropped onto black).
    void Assign(const QImage &image);
    // Reads any image format Qt knows (BMP, PNG, JPEG ...). Throws
    // platform::Exception when the data is not a picture or claims more
    // pixels than its size allows (platform/canvas/ImageLimits.h).
    void LoadFromData(const QByteArray &data);
    void LoadFromFile(const QString &fileName);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    void setWidth(int value) { SetSize(value, Height()); }
    void setHeight(int value) { SetSize(Width(), value); }
    // New size; kept pixels stay, new ones are white. Negative sizes are 0.
    void SetSize(int width, int height);
    // True when width or height is 0.
    bool Empty() const { return m_image.isNull() || Width() == 0 || Height() == 0; }

    // Switching on converts: pixels equal to the canvas brush colour become
    // white, all others black (the classic colour-to-mono rule).
    bool Monochrome() const { return m_monochrome; }
    void setMonochrome(bool value);

    // Drawn through TransparentColor by TCanvas::Draw when true.
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);
    // tmAuto: the colour of the bottom-left pixel (clDefault for an empty
    // bitmap); tmFixed: the colour set.
    TColor TransparentColor() const;
    // Also makes the mode tmFixed (clDefault: tmAuto).
    void setTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return m_transparentMode; }
    void setTransparentMode(TTransparentMode value);

    // The bitmap's canvas, bound to its pixels.
    TCanvas &Canvas();
    // Ends the canvas' painter; the pixels stay. Done automatically before
    // the pixels are read or the size changes.
    void Dormant();

    // The pixels (Format_RGB32).
    const QImage &image() const;
    // Pixel colour; clNone outside the bitmap.
    TColor pixel(int x, int y) const;

    std::function<void(TBitmap *sender)> OnChange;

private:
    friend class TCanvas;
    void changed();

    QImage m_image;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_monochrome = false;
    bool m_transparent = false;
    TTransparentMode m_transparentMode = TTransparentMode::tmAuto;
    TColor m_transparentColor = clDefault;
};

} // namespace platform
