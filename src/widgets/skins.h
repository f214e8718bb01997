#pragma once
// The looks offered under "Appearance". Each skin is a palette plus a small
// style sheet for the docks, toolbars, menus and status bar; the course
// pages themselves keep their own colours.

#include <QColor>
#include <QString>
#include <QStringList>

class QApplication;

namespace quarvel {

struct TSkin {
    const char* Name;
    QRgb Window;      // dialogs, panes
    QRgb BarTop;      // toolbar and dock gradient, top
    QRgb BarBottom;   // toolbar and dock gradient, bottom
    QRgb Border;      // toolbar frames
    QRgb Text;        // captions on bars
    QRgb Highlight;   // hovered and checked items
    QRgb MenuBar;     // menu bar and status bar
};

// In menu order: "Default", "Aluminum", ... "Office 2007 Silver".
const QList<TSkin>& Skins();
QStringList SkinNames();
// Case-insensitive lookup; nullptr when no skin has that name.
const TSkin* FindSkin(const QString& name);
// The skin a first run starts with.
QString DefaultSkinName();

// Palette and style sheet of `skin` for the whole application.
void ApplySkinToApplication(const TSkin& skin);
QString SkinStyleSheet(const TSkin& skin);

} // namespace quarvel
