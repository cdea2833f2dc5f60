#include "ui/SkinPainter.h"

#include "skin/StyleData.h"

#include <QPainter>

#include <algorithm>

namespace pavlora::SkinPainter {

void DrawBordered(QPainter& painter, const QRect& target, const QImage& image, const QMargins& edges)
{
    if (image.isNull() || target.isEmpty())
        return;
    if (edges.isNull()) {
        painter.drawImage(target, image);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = image.width();
    const int h = image.height();
    // Edges never take more than the picture or the target has.
    const int left = std::clamp(edges.left(), 0, std::min(w, target.width()) / 2);
    const int right = std::clamp(edges.right(), 0, std::min(w, target.width()) / 2);
    const int top = std::clamp(edges.top(), 0, std::min(h, target.height()) / 2);
    const int bottom = std::clamp(edges.bottom(), 0, std::min(h, target.height()) / 2);
    const int sourceX[] = {0, left, w - right, w};
    const int sourceY[] = {0, top, h - bottom, h};
    const int targetX[] = {target.left(), target.left() + left, target.right() + 1 - right, target.right() + 1};
    const int targetY[] = {target.top(), target.top() + top, target.bottom() + 1 - bottom, target.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect source(
                QPoint(sourceX[column], sourceY[row]), QPoint(sourceX[column + 1] - 1, sourceY[row + 1] - 1));
            const QRect part(
                QPoint(targetX[column], targetY[row]), QPoint(targetX[column + 1] - 1, targetY[row + 1] - 1));
            if (source.isValid() && part.isValid())
                painter.drawImage(part, image, source);
        }
    }
}

void DrawCentered(QPainter& painter, const QRect& target, const QImage& image)
{
    if (image.isNull())
        return;
    painter.drawImage(target.left() + (target.width() - image.width()) / 2,
        target.top() + (target.height() - image.height()) / 2, image);
}

void DrawFilled(QPainter& painter, const QRect& target, const QImage& image, TFillMode modeX, TFillMode modeY)
{
    if (image.isNull() || target.isEmpty())
        return;
    if (modeX == TFillMode::Stretch && modeY == TFillMode::Stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
        return;
    }
    // Stretch the picture along a stretched direction, then tile it.
    const int tileWidth = modeX == TFillMode::Stretch ? target.width() : image.width();
    const int tileHeight = modeY == TFillMode::Stretch ? target.height() : image.height();
    const QImage tile = image.scaled(tileWidth, tileHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int startX = modeX == TFillMode::TileRightBottom
        ? target.right() + 1 - ((target.width() + tileWidth - 1) / tileWidth) * tileWidth
        : target.left();
    const int startY = modeY == TFillMode::TileRightBottom
        ? target.bottom() + 1 - ((target.height() + tileHeight - 1) / tileHeight) * tileHeight
        : target.top();
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    for (int y = startY; y <= target.bottom(); y += tileHeight)
        for (int x = startX; x <= target.right(); x += tileWidth)
            painter.drawImage(x, y, tile);
    painter.restore();
}

void DrawPlainButton(QPainter& painter, const QRect& target, bool pressed, bool enabled)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xA0, 0xA8, 0xB0));
    painter.setBrush(!enabled ? QColor(0xEE, 0xEE, 0xEE)
            : pressed         ? QColor(0xD8, 0xE0, 0xE8)
                              : QColor(0xF6, 0xF8, 0xFA));
    painter.drawRoundedRect(QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.restore();
}

} // namespace pavlora::SkinPainter
