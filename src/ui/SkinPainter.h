#pragma once

#include <QImage>
#include <QMargins>
#include <QRect>

class QPainter;

namespace pavlora {

enum class TFillMode;

// Drawing helpers the skinned controls share.
namespace SkinPainter {

// Draws `image` over `target` keeping its edges (`edges`, in picture
// pixels) and stretching the part between them. Without edges the whole
// picture is stretched.
void DrawBordered(QPainter& painter, const QRect& target, const QImage& image, const QMargins& edges);
// Draws `image` unscaled, centred in `target`.
void DrawCentered(QPainter& painter, const QRect& target, const QImage& image);
// Fills `target` with `image`: stretched, or tiled from the top-left or the
// bottom-right corner, separately for each direction.
void DrawFilled(QPainter& painter, const QRect& target, const QImage& image, TFillMode modeX, TFillMode modeY);
// A neutral button for controls without a style.
void DrawPlainButton(QPainter& painter, const QRect& target, bool pressed, bool enabled);

} // namespace SkinPainter
} // namespace pavlora
