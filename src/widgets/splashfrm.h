#pragma once
// The window shown while Vantrel starts: the course's splash picture when
// the content has one, otherwise a plain 391 x 270 window.

#include <QPixmap>
#include <QWidget>

namespace quarvel {

class TSplashFrm : public QWidget {
    Q_OBJECT
public:
    // `picturePath` may be empty or name a missing file.
    explicit TSplashFrm(const QString& picturePath, QWidget* parent = nullptr);
    bool HasPicture() const { return !m_picture.isNull(); }
    // Centres the window on `place` and shows and paints it at once.
    void ShowCentredOn(const QRect& place);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
};

} // namespace quarvel
