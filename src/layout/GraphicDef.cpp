#include "layout/GraphicDef.h"

#include "layout/LayoutServices.h"

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pavlora {
namespace {

constexpr double kPi = std::numbers::pi;

double NormalizeAngle(double radians)
{
    if (!std::isfinite(radians))
        return 0;
    radians = std::fmod(radians, 2 * kPi);
    if (radians >= kPi)
        radians -= 2 * kPi;
    else if (radians < -kPi)
        radians += 2 * kPi;
    return radians;
}

bool IsLeftHandle(TControlMouseState handle)
{
    return handle == TControlMouseState::cmsTLCorner || handle == TControlMouseState::cmsBLCorner
        || handle == TControlMouseState::cmsLMid;
}

bool IsTopHandle(TControlMouseState handle)
{
    return handle == TControlMouseState::cmsTLCorner || handle == TControlMouseState::cmsTRCorner
        || handle == TControlMouseState::cmsTMid;
}

} // namespace

TGraphicDef::TGraphicDef(TDefObject* owner)
    : TAreaDef(owner)
{
}

TGraphicDef::~TGraphicDef() = default;

void TGraphicDef::Assign(const TSizeDef& source)
{
    TAreaDef::Assign(source);
    if (const auto* graphic = dynamic_cast<const TGraphicDef*>(&source)) {
        angle_ = graphic->angle_;
        cos_ = graphic->cos_;
        sin_ = graphic->sin_;
        generated_ = graphic->generated_;
    }
}

void TGraphicDef::SetAngle(double radians)
{
    const double angle = NormalizeAngle(radians);
    if (angle == angle_)
        return;
    angle_ = angle;
    cos_ = std::cos(angle);
    sin_ = std::sin(angle);
    Changed();
}

void TGraphicDef::AdaptToPhoto()
{
    TPhotoDef& photo = Photo();
    if (!photo.Valid() || Width() <= 0 || Height() <= 0)
        return;
    const double ratio = static_cast<double>(photo.PixelWidth()) / photo.PixelHeight();
    if (Width() / Height() > ratio)
        SetWidth(Height() * ratio);
    else
        SetHeight(Width() / ratio);
    photo.ApplyPosAlign(TPosAlign::paOutsideDefault);
}

double TGraphicDef::OwnerWidth() const
{
    const auto* owner = dynamic_cast<const TSizeDef*>(Owner());
    return owner ? owner->Width() : 0;
}

double TGraphicDef::OwnerHeight() const
{
    const auto* owner = dynamic_cast<const TSizeDef*>(Owner());
    return owner ? owner->Height() : 0;
}

double TGraphicDef::GetWidth() const
{
    return std::abs(cos_ * Width()) + std::abs(sin_ * Height());
}

double TGraphicDef::GetHeight() const
{
    return std::abs(sin_ * Width()) + std::abs(cos_ * Height());
}

QPointF TGraphicDef::BoundsToLocal(QPointF point) const
{
    const double x = point.x() - GetWidth() / 2;
    const double y = point.y() - GetHeight() / 2;
    return QPointF(x * cos_ - y * sin_ + Width() / 2, x * sin_ + y * cos_ + Height() / 2);
}

QPointF TGraphicDef::LocalToBounds(QPointF point) const
{
    const double u = point.x() - Width() / 2;
    const double v = point.y() - Height() / 2;
    return QPointF(u * cos_ + v * sin_ + GetWidth() / 2, -u * sin_ + v * cos_ + GetHeight() / 2);
}

void TGraphicDef::AdjustPhotoHorizontally(double x)
{
    TPhotoDef& photo = Photo();
    if (!photo.Valid())
        return;
    const double areaWidth = Width();
    const double photoWidth = photo.Width();
    if (photoWidth >= areaWidth) {
        photo.SetCenterX(std::max(areaWidth - photoWidth / 2, std::min(photo.CenterX() + x / 2, photoWidth / 2)));
    } else if (photoWidth > 0) {
        photo.SetCenterX(areaWidth / 2);
        photo.Zoom(LocalToBounds(QPointF(areaWidth / 2, Height() / 2)), TPosAlign::paOutside, areaWidth / photoWidth);
    }
}

void TGraphicDef::AdjustPhotoVertically(double y)
{
    TPhotoDef& photo = Photo();
    if (!photo.Valid())
        return;
    const double areaHeight = Height();
    const double photoHeight = photo.Height();
    if (photoHeight >= areaHeight) {
        photo.SetCenterY(std::max(areaHeight - photoHeight / 2, std::min(photo.CenterY() + y / 2, photoHeight / 2)));
    } else if (photoHeight > 0) {
        photo.SetCenterY(areaHeight / 2);
        photo.Zoom(LocalToBounds(QPointF(Width() / 2, areaHeight / 2)), TPosAlign::paOutside, areaHeight / photoHeight);
    }
}

void TGraphicDef::Track(double& dx, double& dy, TControlMouseState handle, double x, double y)
{
    const int h = static_cast<int>(handle);
    if (h < static_cast<int>(TControlMouseState::cmsLBorder)) {
        TAreaDef::Track(dx, dy, handle, x, y);
        return;
    }
    const bool preventOverlap = LayoutSettings().preventOverlap && OwnerWidth() > 0 && OwnerHeight() > 0;
    const double margin = 0.3 * std::min(Width(), Height());
    // The displacement of the centre that keeps it near the print.
    const auto clampShift = [&](double shift, double centre, double extent) {
        return std::clamp(centre + shift, -margin, extent + margin) - centre;
    };

    if (handle == TControlMouseState::cmsRotate) {
        SetAngle(std::atan2(GetCenterY() - y, x - GetCenterX()) - kPi / 2);
    } else if (h <= static_cast<int>(TControlMouseState::cmsBBorder)) {
        if (dx == 0 && dy == 0)
            return;
        if (preventOverlap) {
            dx = clampShift(dx, CenterX(), OwnerWidth());
            dy = clampShift(dy, CenterY(), OwnerHeight());
        }
        SetGeometry(CenterX() + dx, CenterY() + dy, Width(), Height());
    } else {
        if (dx == 0 && dy == 0)
            return;
        const double a = angle_;
        const double diagonal = std::atan2(Height(), Width());
        double d = 0;
        switch (handle) {
        case TControlMouseState::cmsLMid:
        case TControlMouseState::cmsRMid:
            d = -a;
            break;
        case TControlMouseState::cmsTMid:
        case TControlMouseState::cmsBMid:
            d = kPi / 2 - a;
            break;
        case TControlMouseState::cmsTLCorner:
        case TControlMouseState::cmsBRCorner:
            d = diagonal - a;
            break;
        default:
            d = -diagonal - a;
            break;
        }
        const double along = dx * std::cos(d) + dy * std::sin(d);
        dx = std::cos(d) * along;
        dy = std::sin(d) * along;
        double sx = dx / 2;
        double sy = dy / 2;
        double lx = dx * std::cos(a) - dy * std::sin(a);
        double ly = dx * std::sin(a) + dy * std::cos(a);

        double s = 1;
        if (preventOverlap) {
            const double cx = clampShift(sx, CenterX(), OwnerWidth());
            const double cy = clampShift(sy, CenterY(), OwnerHeight());
            if (sx != 0)
                s = std::min(s, cx / sx);
            if (sy != 0)
                s = std::min(s, cy / sy);
        }
        const double ex = IsLeftHandle(handle) ? 1 : -1;
        const double ey = IsTopHandle(handle) ? 1 : -1;
        if (lx != 0)
            s = std::min(s, std::min(ex * lx, Width() - MinWidth()) / (ex * lx));
        if (ly != 0)
            s = std::min(s, std::min(ey * ly, Height() - MinHeight()) / (ey * ly));
        s = std::max(s, 0.0);
        if (s < 1) {
            dx *= s;
            dy *= s;
            sx = dx / 2;
            sy = dy / 2;
            lx = dx * std::cos(a) - dy * std::sin(a);
            ly = dx * std::sin(a) + dy * std::cos(a);
        }
        const double oldWidth = Width();
        SetGeometry(CenterX() + sx, CenterY() + sy, Width() - ex * lx, Height() - ey * ly);

        TPhotoDef& photo = Photo();
        if (h <= static_cast<int>(TControlMouseState::cmsBRCorner)) {
            if (oldWidth > 0) {
                const double factor = Width() / oldWidth;
                photo.SetCenter(photo.CenterX() * factor, photo.CenterY() * factor);
                photo.SetSize(photo.Width() * factor, photo.Height() * factor);
            }
        } else if (handle == TControlMouseState::cmsLMid || handle == TControlMouseState::cmsRMid) {
            AdjustPhotoHorizontally(-ex * lx);
        } else {
            AdjustPhotoVertically(-ey * ly);
        }
    }
    AfterTrack();
    Notify(kChangedPosition);
}

void TGraphicDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    TAreaDef::ReadXML(node, version);
    angle_ = NormalizeAngle(ReadFloatAttribute(node, "angle") * kPi / 180.0);
    cos_ = std::cos(angle_);
    sin_ = std::sin(angle_);
}

void TGraphicDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    TAreaDef::WriteXML(node, writeVersion);
    WriteFloatAttribute(node, "angle", angle_ * 180.0 / kPi);
}

} // namespace pavlora
