#pragma once
// Colour mixing (COLMIX and LIGHTCOLOR pages): three primary lights, each on
// or off with a strength 0..255, either as three overlapping discs on black
// or as a picture of two children lit by the mixed light.

#include "host/panel.h"

#include <QColor>
#include <QImage>
#include <QString>

class QCheckBox;
class QLabel;
class QSlider;

namespace quarvel {

// The lights and the pictures they make, apart from any widget.
struct TColMixLights {
    int Position[3] = {255, 255, 255}; // track bars: red, green, blue
    bool On[3] = {true, true, true};   // check boxes

    // The light a primary gives: its position when switched on, else 0.
    int Amount(int channel) const { return On[channel] ? Position[channel] : 0; }
    // "Red = 50%" and so on; an unlit primary reads 0%.
    QString Label(int channel) const;
};

// The disc picture for a drawing area W x H: 3s x 3s with s = min(W, H) div 3,
// filled with `background`. A null image when s is 0 (nothing to draw yet).
QImage DrawColourCircles(const TColMixLights& lights, int width, int height, QRgb background = 0xFF000000);
// The disc radius s for a drawing area.
int CircleRadius(int width, int height);
// `picture` in 32 bits with each channel scaled by that primary's amount / 255.
QImage LightPicture(const QImage& picture, const TColMixLights& lights);
// Height of the control strip under the drawing for a form of W x H.
int ColMixPanelHeight(int width, int height);

class TColMixFrm : public TPanel {
    Q_OBJECT
public:
    explicit TColMixFrm(QWidget* parent = nullptr);

    void SetLargeButtons(bool) override {}
    bool RunOperation(const QString& name, const QVariantList& args) override;

    // Track bars red, then blue, then green; labels and drawing follow.
    void SetColour(int red, int green, int blue);
    void SetPictureMode(bool on);
    bool PictureMode() const { return m_pictureMode; }
    const TColMixLights& Lights() const { return m_lights; }
    const QImage& Picture() const { return m_picture; }
    // What the drawing area shows now, at its current size.
    QImage Render() const;

    QCheckBox* Btn[3] = {};
    QSlider* Hsb[3] = {};
    QLabel* Labels[3] = {};
    QWidget* ColMixPic = nullptr;
    QWidget* Panel1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Changed();
    TColMixLights m_lights;
    bool m_pictureMode = false;
    QRgb m_background = 0xFF000000;
    QImage m_picture;
};

void RegisterColMixPanels();

} // namespace quarvel
