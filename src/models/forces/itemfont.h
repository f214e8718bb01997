#pragma once
// Font sizes of toolbar items for "Use large buttons". Under the program's
// style sheet a font set on a widget does not reach its children, so the
// edit box inside a spin box is given the font too.

#include <QFont>
#include <QLineEdit>
#include <QWidget>

namespace quarvel {

// `base` scaled by `percent`.
inline QFont ScaledItemFont(const QFont& base, int percent) {
    QFont f = base;
    f.setPointSizeF(base.pointSizeF() * percent / 100.0);
    return f;
}

inline void SetItemFont(QWidget* w, const QFont& f) {
    w->setFont(f);
    for (QLineEdit* edit : w->findChildren<QLineEdit*>())
        edit->setFont(f);
}

} // namespace quarvel
