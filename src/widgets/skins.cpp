#include "widgets/skins.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace quarvel {

const QList<TSkin>& Skins() {
    static const QList<TSkin> skins = {
        {"Default", 0xF0F0F0, 0xF7F7F7, 0xE4E4E4, 0xB9B9B9, 0x1A1A1A, 0xCCE4F7, 0xF0F0F0},
        {"Aluminum", 0xD9DCE0, 0xEEF0F2, 0xC3C8CE, 0x8E959D, 0x1C2228, 0xAFC2D6, 0xCDD1D6},
        {"Athen", 0xEDEBE4, 0xFBFAF6, 0xDAD5C5, 0xAAA28A, 0x2D2A20, 0xF3D68A, 0xE5E1D4},
        {"Dream", 0xEDE6F5, 0xF8F3FF, 0xD6C6EC, 0x9E86C4, 0x2E1F48, 0xF2C2E0, 0xE2D6F1},
        {"Eos", 0xE9EEF2, 0xFFFFFF, 0xD8E1E8, 0x9AABB8, 0x1F2B36, 0x9CD2F0, 0xDEE6EC},
        {"Human", 0xEFEBE7, 0xF9F3EC, 0xDFCDBA, 0xAE8F70, 0x3A2A1C, 0xF7B267, 0xE8DCCF},
        {"Leopard", 0xDCDCDC, 0xE9E9E9, 0xB9B9B9, 0x8A8A8A, 0x101010, 0x8DB4E8, 0xD1D1D1},
        {"Xito", 0xE5EEF4, 0xFAFDFF, 0xC9DDEA, 0x86A7BD, 0x123048, 0xFFD37A, 0xD8E6F0},
        {"Office XP", 0xF4F3EE, 0xFCFCFB, 0xDDDBCF, 0xA8A596, 0x202020, 0xC1D2EE, 0xECE9D8},
        {"Office 2003", 0xE3EFFF, 0xDDEBFE, 0x84AAE6, 0x6A8CCB, 0x0B2A5B, 0xFFD38C, 0xC3DAF9},
        {"Office 2007 Blue", 0xDFE9F5, 0xE3EFFF, 0xAFD2FF, 0x8DB2E3, 0x15428B, 0xFFE38E, 0xBFDBFF},
        {"Office 2007 Black", 0x535353, 0x6D6D6D, 0x3B3B3B, 0x262626, 0xF2F2F2, 0xE9A93A, 0x474747},
        {"Office 2007 Silver", 0xE8EAEE, 0xF4F5F7, 0xC9CED8, 0x9AA3B1, 0x2A2F3A, 0xFFE38E, 0xDDE0E6},
    };
    return skins;
}

QStringList SkinNames() {
    QStringList names;
    for (const TSkin& s : Skins())
        names << QString::fromLatin1(s.Name);
    return names;
}

const TSkin* FindSkin(const QString& name) {
    for (const TSkin& s : Skins())
        if (name.compare(QLatin1String(s.Name), Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString DefaultSkinName() { return QStringLiteral("Office 2007 Blue"); }

static QString Hex(QRgb c) { return QColor(c).name(); }

QString SkinStyleSheet(const TSkin& k) {
    const QString top = Hex(k.BarTop), bottom = Hex(k.BarBottom), border = Hex(k.Border),
                  text = Hex(k.Text), hi = Hex(k.Highlight), bar = Hex(k.MenuBar);
    const QString hiBorder = QColor(k.Highlight).darker(140).name();
    // Disabled captions sit halfway between the caption colour and the bar.
    const QColor a(k.Text), b(k.BarBottom);
    const QString disabled =
        QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2).name();
    return QStringLiteral(
               "QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %7);"
               " color: %5; border-bottom: 1px solid %3; }"
               "QMenuBar::item { padding: 3px 8px; background: transparent; color: %5; }"
               "QMenuBar::item:selected { background: %6; border: 1px solid %8; border-radius: 2px; }"
               "TDock { background: %7; }"
               "QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
               " border: 1px solid %3; border-radius: 3px; spacing: 2px; padding: 1px; }"
               "QToolBar QToolButton, QToolBar QLabel { color: %5; }"
               "QToolBar QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 2px; }"
               "QToolBar QToolButton:hover { background: %6; border-color: %8; }"
               "QToolBar QToolButton:checked, QToolBar QToolButton:pressed { background: %6;"
               " border-color: %8; }"
               "QToolBar QToolButton:disabled { color: %4; }"
               "QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %7);"
               " color: %5; border-top: 1px solid %3; }"
               "QStatusBar QLabel { color: %5; }"
               "QStatusBar QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 1px; }"
               "QStatusBar QToolButton:hover, QStatusBar QToolButton:checked { background: %6;"
               " border-color: %8; }"
               "TSplitter::handle { background: %7; }")
        .arg(top, bottom, border, disabled, text, hi, bar, hiBorder);
}

void ApplySkinToApplication(const TSkin& k) {
    if (auto* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QPalette p;
    const QColor window(k.Window);
    const bool dark = window.lightness() < 128;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, dark ? QColor(0xF2F2F2) : QColor(0x1A1A1A));
    p.setColor(QPalette::Base, dark ? QColor(0x3A3A3A) : QColor(Qt::white));
    p.setColor(QPalette::AlternateBase, window.lighter(dark ? 120 : 104));
    p.setColor(QPalette::Text, dark ? QColor(0xF2F2F2) : QColor(0x1A1A1A));
    p.setColor(QPalette::Button, QColor(k.BarTop));
    p.setColor(QPalette::ButtonText, QColor(k.Text));
    p.setColor(QPalette::Highlight, QColor(k.Highlight).darker(dark ? 100 : 115));
    p.setColor(QPalette::HighlightedText, QColor(0x101010));
    p.setColor(QPalette::ToolTipBase, QColor(0xFFFFE1));
    p.setColor(QPalette::ToolTipText, QColor(0x101010));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8A8A8A));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8A8A8A));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8A8A8A));
    QApplication::setPalette(p);
    qApp->setStyleSheet(SkinStyleSheet(k));
}

} // namespace quarvel
