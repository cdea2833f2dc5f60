// Rotating pictures and cutting out rotated frames.

#include "imaging/ImageUtils.h"

#include "imaging/ImageMath.h"

#include <QPainter>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace pavlora {
namespace {

QImage::Format ResultFormat(const QImage& source)
{
    return source.format() == QImage::Format_BGR888 ? QImage::Format_BGR888 : QImage::Format_RGB32;
}

// The centre of a bitmap of `size` as the rotation places it: each half rounded.
QPointF RoundedCentre(QSize size)
{
    return QPointF(double(RoundHalfEven(size.width() / 2.0)), double(RoundHalfEven(size.height() / 2.0)));
}

QImage Rotate(const QImage& source, TColor background, double angle)
{
    if (source.isNull())
        return {};
    const double radians = angle * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(radians));
    const double s = std::abs(std::sin(radians));
    const int w = source.width();
    const int h = source.height();
    const QSize size(static_cast<int>(RoundHalfEven(w * c + h * s)), static_cast<int>(RoundHalfEven(h * c + w * s)));
    QImage rotated(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    rotated.fill(background == clNone ? QColor(Qt::white) : ToQColor(background));
    QPainter painter(&rotated);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(RoundedCentre(size));
    painter.rotate(angle < 0 ? angle + 360.0 : angle);
    painter.drawImage(QPointF(-w / 2.0, -h / 2.0), source);
    return rotated;
}

// An angle turned into (-45°, 45°] by whole quarter turns: a rectangle's
// frame looks the same after a quarter turn.
double NearestUprightAngle(double degrees)
{
    double a = std::fmod(degrees, 90.0);
    if (a > 45.0)
        a -= 90.0;
    else if (a <= -45.0)
        a += 90.0;
    return a;
}

} // namespace

QImage TImageUtils::RotateBitmap(const QImage& bitmap, TColor backgroundColor, double angle)
{
    const QImage rotated = Rotate(bitmap, backgroundColor, angle);
    return rotated.isNull() ? rotated : rotated.convertToFormat(ResultFormat(bitmap));
}

QImage TImageUtils::CropRotated(const QImage& bitmap, const QList<QPointF>& corners, int viewWidth, int viewHeight)
{
    if (corners.size() != 4 || bitmap.isNull() || viewWidth <= 0 || viewHeight <= 0)
        return {};
    const int w = bitmap.width();
    const int h = bitmap.height();
    QPointF points[4];
    for (int i = 0; i < 4; ++i) {
        points[i] = QPointF(double(RoundHalfEven(w * corners[i].x() / viewWidth)),
            double(RoundHalfEven(h * corners[i].y() / viewHeight)));
    }
    int top = 0;
    for (int i = 1; i < 4; ++i) {
        if (points[i].y() < points[top].y())
            top = i;
    }
    const QPointF edge = points[(top + 1) % 4] - points[top];
    const double frameAngle
        = edge.isNull() ? 0.0 : NearestUprightAngle(std::atan2(edge.y(), edge.x()) * 180.0 / std::numbers::pi);

    // Turn the picture back by the frame's angle (whole degrees), so the
    // frame's edges become axis-parallel.
    const QImage upright = Rotate(bitmap, clWhite, -static_cast<double>(RoundHalfEven(frameAngle)));
    QTransform turn;
    turn.rotate(-frameAngle);
    const QPointF centre(w / 2.0, h / 2.0);
    const QPointF uprightCentre = RoundedCentre(upright.size());
    const QPointF first = uprightCentre + turn.map(points[0] - centre);
    const QPointF second = uprightCentre + turn.map(points[2] - centre);
    const QRect area = QRectF(first, second).normalized().toRect().intersected(upright.rect());
    if (area.isEmpty())
        return {};
    return upright.copy(area).convertToFormat(QImage::Format_BGR888);
}

} // namespace pavlora
