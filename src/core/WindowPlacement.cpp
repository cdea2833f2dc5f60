#include "core/WindowPlacement.h"

namespace pavlora {
namespace {

// Moves a span [start, start + length) inside [low, high): first back from
// the far edge, then forward from the near one.
int Clamp(qint64 start, qint64 length, qint64 low, qint64 high)
{
    if (start + length > high)
        start = high - length;
    if (start < low)
        start = low;
    return static_cast<int>(start);
}

} // namespace

TWindowPlacement PlaceWindow(const TStoredPlacement& stored, const QList<QRect>& screens)
{
    TWindowPlacement placement;
    placement.width = stored.width >= 1 ? stored.width : 800;
    placement.height = stored.height >= 1 ? stored.height : 600;
    placement.state = stored.windowState == 1 ? TWindowState::Minimized
        : stored.windowState == 2             ? TWindowState::Maximized
                                              : TWindowState::Normal;
    const QRect primary = screens.isEmpty() ? QRect() : screens.front();
    placement.left = stored.left.value_or(primary.x() + (primary.width() - placement.width) / 2);
    placement.top = stored.top.value_or(primary.y() + (primary.height() - placement.height) / 2);
    if (screens.isEmpty())
        return placement;

    QRect area;
    for (const QRect& screen : screens)
        area = area.united(screen);
    const qint64 right = qint64(area.x()) + area.width();
    const qint64 bottom = qint64(area.y()) + area.height();
    placement.left = Clamp(placement.left, placement.width, area.x(), right);
    placement.top = Clamp(placement.top, placement.height, area.y(), bottom);
    return placement;
}

} // namespace pavlora
