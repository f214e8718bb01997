#pragma once
// The enlarged-picture window a "$" link on a page opens: the picture at
// its own size, closed by a left click; a right click offers "Copy picture
// to clipboard".

#include <QDialog>
#include <QImage>

class QLabel;

namespace quarvel {

class TBigPicFrm : public QDialog {
    Q_OBJECT
public:
    // A missing file opens the window at its design size, empty.
    explicit TBigPicFrm(const QString& path, QWidget* parent = nullptr);
    bool HasPicture() const { return !m_picture.isNull(); }
    QLabel* MagPic = nullptr;
    void CopyPictureToClipboard();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QImage m_picture;
};

} // namespace quarvel
