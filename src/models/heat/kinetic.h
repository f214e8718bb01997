#pragma once
// The particle model of the kinetic theory panel: 100 balls in a container
// that vibrate in a lattice (solid), tumble in the bottom of the picture
// (liquid), fly through it (gas, the two pressure boxes), or fill two
// halves that a barrier keeps apart (diffusion). Plain geometry and
// stepping; the panel draws and times it.

#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>
#include <vector>

namespace quarvel {

// A rectangle by its edges: Right and Bottom are edges, not last pixels.
struct TEdgeRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TEdgeRect&) const = default;
};

struct TParticle {
    float X = 0, Y = 0;   // centre, pixels in the drawing
    float VX = 0, VY = 0; // unit direction times the speed
    std::uint8_t Kind = 0; // 1: the second colour (diffusion)
};

class TKineticModel {
public:
    enum TMode : std::uint8_t { kSolid = 0, kLiquid, kGas, kLargeVolume, kSmallVolume, kDiffusion };
    static constexpr int kMinTemperature = 50;
    static constexpr int kMaxTemperature = 200;

    // `radius`: 12 on screens wider than 800 pixels, else 8.
    explicit TKineticModel(int radius = 12);

    int Radius;
    int ParticleCount = 100;
    std::vector<TParticle> Particles;
    std::array<float, 12> SinTable{}, CosTable{};
    float Speed = 1.0f;
    TEdgeRect Box; // the container
    std::uint8_t Mode = kSolid;
    bool Barrier = true;
    TEdgeRect UpperHalf, LowerHalf;
    int Temperature = 50;

    int Pitch() const { return 2 * Radius + 2; }
    QSize DrawingSize() const { return m_size; }
    // A new drawing size: the diffusion halves follow it.
    void SetDrawingSize(QSize size);

    // The container of `mode` in the current drawing.
    TEdgeRect ContainerRect(int mode) const;
    // Columns of the liquid layout: at least one, however narrow the drawing.
    int LiquidColumns() const;

    void PlaceParticles();
    void PlaceDiffusion();
    // One step of `d` pixels (solid: the vibration amplitude).
    void StepParticles(float d);
    void StepMixed(float d);
    void StepSeparated(float d);

    // Fraction of the pressure bar filled at the current temperature.
    double PressureFraction() const;
    // Top of the orange part of the pressure bar, for a drawing `height` tall.
    int PressureTop(int height) const;

    // The off-screen drawings, the size of the drawing.
    QImage DrawParticles(const QImage& picture) const;
    QImage DrawDiffusion(const QImage& first, const QImage& second) const;
    void DrawParticlesInto(QImage& target, const QImage& picture) const;
    void DrawDiffusionInto(QImage& target, const QImage& first, const QImage& second) const;

private:
    void LatticePlace(int i, float& x, float& y) const;
    void Direction(int k, TParticle& p) const;
    // The moving step of particles [from, to) inside `walls`, colliding only
    // with partners in the same range.
    void MoveRange(int from, int to, const TEdgeRect& walls, float d);
    void DrawPressure(class QPainter& p) const;
    void DrawFrame(class QPainter& p) const;
    QSize m_size{10, 10};
};

// The particle radius for a screen `screenWidth` pixels wide: 12, or 8 on
// screens 800 pixels wide or less.
int KineticRadius(int screenWidth);

// A shaded ball of `diameter` pixels: orange-red, or blue when `blue`.
QImage ParticlePicture(int diameter, bool blue);

} // namespace quarvel
