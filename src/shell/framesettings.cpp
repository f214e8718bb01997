// The saved settings and the window's first placement.

#include "shell/framefrm.h"

#include "host/host.h"
#include "shell/placement.h"
#include "widgets/skins.h"

#include <QGuiApplication>
#include <QScreen>

namespace quarvel {

void TFrameFrm::LoadSettings() {
    const TStoredSettings s = ReadStoredSettings();
    if (!s.KeyExists) {
        ApplySkin(DefaultSkinName());
        FontSizeIndex = 2;
        return;
    }
    if (s.TextBgnd)
        TextBackColour = *s.TextBgnd;
    if (s.Zoom)
        FontSizeIndex = *s.Zoom;
    if (auto* size = Item(QStringLiteral("Size%1").arg(FontSizeIndex)))
        size->setChecked(true);
    if (s.TBTop && !*s.TBTop)
        SetToolbarsAtBottom(true);
    if (!s.Skin || !ApplySkin(*s.Skin))
        ApplySkin(DefaultSkinName());
    if (s.GLColor)
        Host->SetBackground(*s.GLColor);
    if (s.Large && *s.Large)
        UseLargeButtonsItem->setChecked(true); // the switch itself happens on first show
    if (s.Position) {
        // A rectangle left on a screen that is gone would hide the window.
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->availableGeometry().intersects(*s.Position)) {
                setGeometry(*s.Position);
                m_positionRestored = true;
                break;
            }
    }
    if (s.Speeds)
        ApplySpeeds(*s.Speeds, TopicRates);
}

TSettingsToSave TFrameFrm::CurrentSettings() const {
    TSettingsToSave v;
    v.Zoom = FontSizeIndex;
    v.TextBgnd = TextBackColour;
    v.TBTop = !ToolbarsAtBottom;
    v.Skin = m_activeSkin;
    v.Large = UseLargeButtonsItem->isChecked();
    v.GLColor = GLColor;
    v.Position = isMaximized() ? normalGeometry() : geometry();
    v.Speeds = TopicRates;
    return v;
}

void TFrameFrm::SaveSettings() {
    if (m_settingsSaved)
        return;
    m_settingsSaved = true;
    WriteSettings(CurrentSettings());
}

void TFrameFrm::PlaceWindowByDefault() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        showMaximized();
        return;
    }
    const TPlacement p = DefaultPlacement(screen->size(), screen->availableGeometry());
    if (p.Maximise) {
        setWindowState(Qt::WindowMaximized);
    } else {
        setGeometry(p.Bounds);
    }
    // The panes get their widths once the window has its size.
    resize(p.Maximise ? screen->size() : p.Bounds.size());
    centralWidget()->resize(size());
    Splitter->resize(width(), Splitter->height());
    Splitter->setSizes({p.LeftPaneWidth, std::max(1, width() - p.LeftPaneWidth - 5)});
    HTMLToolbar->SetDockPos(p.LeftPaneWidth);
    m_startLeftWidth = p.LeftPaneWidth;
}

} // namespace quarvel
