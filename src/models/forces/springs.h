#pragma once
// A spring, two springs side by side or an elastic band with 100 g masses
// hanging from it, beside a ruler in centimetres. Each mass acts with a load
// a little off its nominal value (drawn once when it is hung), so that a
// class of pupils get slightly different readings.
//
// The picture is drawn into an off-screen image: either the whole metre of
// ruler, or a zoomed view at 4 pixels per millimetre that scrolls.

#include <QImage>
#include <cstdint>
#include <vector>

namespace quarvel {

struct TSpringWeight {
    int Mass = 100;   // grams, as hung
    float Load = 100; // grams as they act on the spring
};

class TSpring {
public:
    enum : std::uint8_t { kSpring = 0, kParallel = 1, kElastic = 2 };
    static constexpr int kMinWidth = 225;
    static constexpr int kMinHeight = 450;
    static constexpr int kMaxScroll = 3600;
    static constexpr int kMaxTotalMass = 1000;

    TSpring(int height, int width);

    int Width = kMinWidth;
    int Height = kMinHeight;
    float LengthFactor = 0.0005f;
    float WidthFactor = 0.01f;
    int Coils = 30;
    int ScrollOffset = 0;
    bool Zoomed = true;
    int PixelsPerCm = 4;
    std::vector<TSpringWeight> Weights;
    float Extension = 0; // metres
    std::uint8_t Kind = kSpring;
    // Drawn at the spring's foot in the zoomed picture while masses hang;
    // a null image draws nothing.
    QImage Hook;

    // Hangs a mass; false (and nothing hung) when the total already exceeds
    // 999 g. Otherwise true while the total stays below 1000 g.
    bool AddWeight(int mass);
    // Takes the last mass off; whether any remain.
    bool RemoveWeight();
    void Reset();
    int TotalMass() const;
    float TotalLoad() const;
    void SetKind(int kind);
    void SetSize(int w, int h);
    // Draws the picture into Picture().
    void Draw();
    const QImage& Picture() const { return m_picture; }

    // The extension, in metres, of the given kind under `load` grams.
    static float ExtensionFor(int kind, float load);
    // The y of the spring's foot (where the masses hang) in the current picture.
    int FootY() const;

private:
    void Recompute();
    void DrawWhole(QImage& image);
    void DrawZoomed(QImage& image);
    QImage m_picture;
};

} // namespace quarvel
