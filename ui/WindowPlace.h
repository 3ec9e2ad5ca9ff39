#pragma once
// Where the main window opens and what its close stores, on window systems
// that place windows themselves (Wayland) as on those that let a program do
// it; and fixed-size windows that stay at their size.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <filesystem>

#include "core/Result.h"

class QWidget;

namespace k4r::ui {

// Where a window goes whose frame's corner is `corner` and whose title bar
// (with the menu under it) is `titleBar` large, so that the title bar shows
// on one of `screens`: unchanged while its full height and at least
// min(width, 100) pixels of its length lie on one screen; otherwise moved the
// shortest way onto the nearest screen, just far enough to show that much.
[[nodiscard]] QPoint ShowTitleBar(QPoint corner, QSize titleBar, const QList<QRect>& screens);

// ShowTitleBar over the screens' available areas, for a window `frameWidth`
// wide with a menu bar `menuHeight` high under its title bar.
[[nodiscard]] QPoint OpeningCorner(QPoint stored, int frameWidth, int menuHeight);

// Whether the window system tells a program where its windows' frames are.
// Wayland does not: there Qt reports a corner it made up.
[[nodiscard]] bool PlatformReportsWindowPlace();

// The close's write of the frame's corner (Win/Top, then Win/Left), made only
// when `placeKnown`: otherwise the file keeps the place of the last close that
// knew it.
[[nodiscard]] Status StoreWindowPlace(const std::filesystem::path& settingsPath, bool placeKnown, QPoint corner);

// Keeps a fixed-size top-level window at its size and in its normal state: a
// request to maximise it or show it full screen (from the title bar Qt draws
// on Wayland, which offers maximise whatever the window's flags say, or from
// a key of the compositor) is undone at once. On Wayland the window system
// is let size the window meanwhile, since compositors end a program whose
// maximised window keeps its own size; a frame edge dragged there snaps back.
void KeepNormalState(QWidget& window);

}  // namespace k4r::ui
