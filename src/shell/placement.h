#pragma once
// Pure layout arithmetic of the main window, kept apart so it can be tested
// without a screen.

#include <QRect>
#include <QSize>
#include <optional>

namespace quarvel {

struct TPlacement {
    bool Maximise = false;
    QRect Bounds;      // when not maximised
    int LeftPaneWidth = 0;
};

// First-run placement. On a screen wider than 1.4:1 the window becomes a
// 4:3 rectangle of the work area's height, centred on the screen.
TPlacement DefaultPlacement(QSize screen, std::optional<QRect> workArea);

// Where the start picture goes in a container of `container` size: shrunk
// to the container width - 10 (keeping its aspect) when the container is
// narrower, then centred.
QRect StartPictureRect(QSize container, QSize picture);

// The splitter refuses left-pane widths of 50 pixels or less.
constexpr bool SplitterAccepts(int newLeftWidth) { return newLeftWidth > 50; }

} // namespace quarvel
