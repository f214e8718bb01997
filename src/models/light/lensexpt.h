#pragma once
// The lens bench (LENS page): a lit face on a slide, a converging lens of
// focal length 15 cm and a screen on a bench of 5 pixels per centimetre.
// The pupil drags the lens and the screen; the picture on the screen is
// inverted, scaled by the magnification, dimmer when enlarged and blurred
// when the screen is away from the image.

#include "host/panel.h"

#include <QImage>
#include <QPoint>
#include <vector>

class QCheckBox;
class QScrollArea;

namespace quarvel {

// A 32-bit picture with a Gaussian blur of standard deviation `Radius`.
class TExBitmap {
public:
    QImage Bitmap;
    double Radius() const { return m_radius; }
    // Only positive values are taken.
    void SetRadius(double r) {
        if (r > 0)
            m_radius = r;
    }
    // The normalised weights -K..K of the cut kernel for `radius`.
    static std::vector<double> Kernel(double radius);
    // Blurs rows then columns, edges clamped; throws EExBitmapAssertion for a
    // picture that is not 32 bits per pixel.
    void GaussianBlur();

private:
    double m_radius = 3.0;
};

class EExBitmapAssertion : public std::logic_error {
public:
    EExBitmapAssertion() : std::logic_error("Assertion failure (EXBitmap)") {}
};

// Distances (cm) and the picture's blur for a bench arrangement.
struct TLensOptics {
    double U = 0; // object to lens
    double V = 0; // lens to image
    double M = 0; // magnification
    double B = 0; // blur, pixels of the 65-pixel face
    static TLensOptics Of(int lensX, int screenX);
    int ImageSize() const;  // the image's side on the screen picture, pixels
    int FaceAlpha() const;  // the face's opacity: dimmer when enlarged
};
int FaceAlphaFor(double m);

// The bench and the drags on it.
struct TLensBench {
    int LensX = 225;
    int ScreenX = 375;
    int DragOffset = 0;
    int Dragging = 0; // 0 nothing, 1 the lens, 2 the screen

    bool OverLens(QPoint p) const;
    bool OverScreen(QPoint p) const;
    // Distances from the object in cm; no limits.
    void SetBench(double lensDistance, double screenDistance);
    void Press(QPoint p);
    // The pointer moved to x while dragging: true when the move was taken.
    bool MoveTo(int x);
    void Release() { Dragging = 0; }
    TLensOptics Optics() const { return TLensOptics::Of(LensX, ScreenX); }
};

// The face, 65 x 65, for magnification m (0 for the object picture), on a
// transparent picture.
QImage DrawFace(double m);
// The picture on the screen (256 x 256) for the bench, with or without grid.
QImage DrawLensImage(const TLensBench& bench, bool grid);
// The bench picture, 845 x 200.
QImage DrawBench(const TLensBench& bench);
// The object picture with its optional grid.
QImage DrawObjectPicture(bool grid);

class TLensFrm : public TPanel {
    Q_OBJECT
public:
    explicit TLensFrm(QWidget* parent = nullptr);

    bool RunOperation(const QString& name, const QVariantList& args) override;
    void SetBench(double lensDistance, double screenDistance);
    void UpdateImage();

    TLensBench Bench;
    QCheckBox* GridChk = nullptr;
    QWidget* SmallFacePic = nullptr;
    QWidget* LargePic = nullptr;
    QScrollArea* ScrollBox = nullptr;
    QWidget* pic = nullptr;
    const QImage& LargeImage() const { return m_large; }
    const QImage& BenchImage() const { return m_bench; }
    const QImage& ObjectImage() const { return m_object; }

    void PicMouseDown(QPoint p);
    void PicMouseMove(QPoint p);
    void PicMouseUp();

private:
    QImage m_large, m_bench, m_object;
};

void RegisterLensPanel();

} // namespace quarvel
