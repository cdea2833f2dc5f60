#pragma once

#include <QList>
#include <QRect>

#include <optional>

namespace pavlora {

// The main window's placement as the user settings keep it, and where the
// window goes on the screens there are now. Pure; no windowing system.

// What the settings hold ("Left", "Top", "Width", "Height", "WindowState");
// a missing position is centred.
struct TStoredPlacement {
    std::optional<int> left;
    std::optional<int> top;
    int width = 800;
    int height = 600;
    int windowState = 0;
};

// 0 normal, 1 minimised, 2 maximised.
enum class TWindowState { Normal = 0, Minimized = 1, Maximized = 2 };

struct TWindowPlacement {
    int left = 0;
    int top = 0;
    int width = 800;
    int height = 600;
    TWindowState state = TWindowState::Normal;

    friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

// The placement on `screens` (their geometries; the first is the primary
// screen): a missing position centres the window on the primary screen; a
// window reaching beyond the right or bottom edge of the screens' union is
// moved back inside, then one starting left of or above the union is moved
// to its edge. Positions keep their sign, so a window on a screen left of
// the primary stays there. A size below 1 takes the default (800 x 600); an
// unknown state is normal. Without screens the stored position is kept.
TWindowPlacement PlaceWindow(const TStoredPlacement& stored, const QList<QRect>& screens);

} // namespace pavlora
