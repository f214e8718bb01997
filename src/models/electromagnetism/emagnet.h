#pragma once
// The electromagnet experiment (ELECTROMAGNETS page): a coil on an iron core
// in series with an ammeter and a supply with a voltage knob. A dish of
// nails is lifted to the core; a random number of nails, growing with
// turns x voltage, stays hanging; they are then laid out in rows to count.
//
// Drawing units: the picture is 80 units high, x to the right and y down
// from the top-left corner; Scale pixels per unit.

#include <QImage>
#include <QPointF>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace quarvel {

using TNail = std::array<QPointF, 5>;

// Which controls a stage of the experiment leaves enabled.
struct TEMagnetControls {
    bool Add = true, Count = false, Reset = false, Coils = true, Current = true;
    bool operator==(const TEMagnetControls&) const = default;
};

class TEMagnet {
public:
    TEMagnet();

    int Turns = 50;
    int Voltage = 2;
    double Scale = 0;
    double CoreLeft = 6.5;
    double DishTop = 69;
    TNail NailShape;
    std::vector<TNail> Nails;
    int NailCount = 0;
    int Stage = 0; // 0 ready, 1 hanging, 2 laid out for counting
    TEMagnetControls Controls;
    // Called after each frame of the dish's lift (the panel paints it at once).
    std::function<void()> Frame;

    // The reading, "%1.1f A" of Voltage / 2.4.
    QString AmmeterText() const;
    static QString AmmeterText(int voltage);
    void PickNailCount();
    void ScatterNails();
    void SetTurns(int turns);
    void SetVoltage(int voltage);
    // The buttons: Add lifts the dish (32 frames), Count lays the nails out, Reset starts again.
    void Add();
    void Count();
    void Reset();

    // Top-left of counted nail k (0-based): rows of ten, 3 units apart, rows
    // 5 units apart from (25, 30); past the hundredth a second block of rows
    // beside the first, so every nail stays inside the picture.
    static QPointF CountedNailPosition(int k);

    // Pixels per unit: the picture is 80 units high, and narrowed when the
    // panel is too narrow for its width (57 units; 87 when more than a
    // hundred nails are laid out), so nothing is cut off at the right.
    double ScaleFor(int width, int height) const;
    // The picture, `width` x `height` pixels; a null image when either is 0.
    QImage Draw(int width, int height) const;
    // The core texture and the nail heap, drawn in code.
    static const QImage& CoreTexture();
    static const QImage& NailHeap();
};

} // namespace quarvel
