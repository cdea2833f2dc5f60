#include "layout/AreaDef.h"

#include "layout/LayoutXml.h"

#include "core/XMLUtils2.h"
#include "imaging/ImageUtils.h"

#include <QFileInfo>
#include <QImage>

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>

namespace pavlora {
namespace {

const char kClassName[] = "TAreaDef";
constexpr double kDefaultPixelLimit = 1000.0;

double RoundToDigits(double value, int digits)
{
    const double scale = std::pow(10.0, -digits);
    return std::floor(value * scale + 0.5) / scale;
}

// Writes `bitmap` in the lossless form the extension of `fileName` names.
bool SaveLossless(const QImage& bitmap, const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return TImageUtils::SaveAsBMP(bitmap, fileName);
    if (suffix == QLatin1String("jp2")) {
        TImageUtils::Instance().SaveAsJPEG2000(bitmap, fileName, 0);
        return true;
    }
    if (suffix == QLatin1String("png") || suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return bitmap.save(fileName);
    return TImageUtils::Instance().SaveByExtension(bitmap, fileName);
}

} // namespace

TAreaDef::TAreaDef(TDefObject* owner)
    : TSizeDef(owner)
    , photo_(std::make_unique<TPhotoDef>(this))
{
}

TAreaDef::~TAreaDef() = default;

void TAreaDef::Assign(const TSizeDef& source)
{
    TSizeDef::Assign(source);
    if (const auto* area = dynamic_cast<const TAreaDef*>(&source)) {
        fixed_ = area->fixed_;
        photo_->Assign(*area->photo_);
    }
}

void TAreaDef::Clear()
{
    photo_->SetFile(QString(), QString(), TPosAlign::paOutsideDefault);
}

void TAreaDef::ClearEvents()
{
    SetOnChange(TDefChangeEvent());
}

void TAreaDef::SetOnChange(const TDefChangeEvent& handler)
{
    TSizeDef::SetOnChange(handler);
    photo_->SetOnChange(handler);
}

void TAreaDef::MoveEdges(double dx, double dy, bool left, bool right, bool top, bool bottom)
{
    double cx = CenterX();
    double cy = CenterY();
    double w = Width();
    double h = Height();
    if (left) {
        cx += dx / 2;
        w -= dx;
    }
    if (right) {
        cx += dx / 2;
        w += dx;
    }
    if (top) {
        cy += dy / 2;
        h -= dy;
    }
    if (bottom) {
        cy += dy / 2;
        h += dy;
    }
    SetGeometry(cx, cy, w, h);
}

void TAreaDef::Track(double& dx, double& dy, TControlMouseState handle, double x, double y)
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (dx == 0 && dy == 0)
        return;
    const double w = Width();
    const double h = Height();
    const double diagonal = w * w + h * h;
    switch (handle) {
    case TControlMouseState::cmsPhoto:
        if (!photo_->Valid())
            return;
        photo_->SetCenter(photo_->CenterX() + dx, photo_->CenterY() + dy);
        break;
    case TControlMouseState::cmsLBorder:
    case TControlMouseState::cmsRBorder:
    case TControlMouseState::cmsTBorder:
    case TControlMouseState::cmsBBorder:
        SetGeometry(CenterX() + dx, CenterY() + dy, w, h);
        break;
    case TControlMouseState::cmsTLCorner:
    case TControlMouseState::cmsBRCorner:
    case TControlMouseState::cmsTRCorner:
    case TControlMouseState::cmsBLCorner: {
        if (diagonal <= 0)
            return;
        const bool falling = handle == TControlMouseState::cmsTLCorner || handle == TControlMouseState::cmsBRCorner;
        const double t = falling ? (dx * w + dy * h) / diagonal : (dx * w - dy * h) / diagonal;
        dx = w * t;
        dy = falling ? h * t : -h * t;
        const bool left = handle == TControlMouseState::cmsTLCorner || handle == TControlMouseState::cmsBLCorner;
        const bool top = handle == TControlMouseState::cmsTLCorner || handle == TControlMouseState::cmsTRCorner;
        MoveEdges(dx, dy, left, !left, top, !top);
        break;
    }
    case TControlMouseState::cmsLMid:
        MoveEdges(dx, dy, true, false, false, false);
        break;
    case TControlMouseState::cmsRMid:
        MoveEdges(dx, dy, false, true, false, false);
        break;
    case TControlMouseState::cmsTMid:
        MoveEdges(dx, dy, false, false, true, false);
        break;
    case TControlMouseState::cmsBMid:
        MoveEdges(dx, dy, false, false, false, true);
        break;
    default:
        return;
    }
    Notify(kChangedPosition);
}

bool TAreaDef::VisiblePhotoRect(QRectF& rect) const
{
    if (!photo_->Valid())
        return false;
    const QRectF photo(photo_->CenterX() - photo_->Width() / 2, photo_->CenterY() - photo_->Height() / 2,
        photo_->Width(), photo_->Height());
    rect = photo.intersected(QRectF(0, 0, Width(), Height()));
    return rect.width() > 0 && rect.height() > 0;
}

TExtractResult TAreaDef::ExtractPictureTo(const QString& fileName, bool keepLossless, int digits, bool perform,
    double& workUnits, double maxPixelsPerMm) const
{
    return layoutxml::Guarded(layoutxml::Context(kClassName, "ExtractPictureTo"), [&] {
        TExtractResult result;
        const double pw = photo_->Width();
        const double ph = photo_->Height();
        if (Width() <= 0 || Height() <= 0 || pw <= 0 || ph <= 0)
            return result;
        const double limit = maxPixelsPerMm > 0 ? maxPixelsPerMm : kDefaultPixelLimit;
        if (!photo_->Valid())
            return result;
        QImage bitmap;
        int pictureWidth = 0;
        int pictureHeight = 0;
        if (perform) {
            bitmap = TImageUtils::Instance().LoadFullBitmap(photo_->FileName());
            pictureWidth = bitmap.width();
            pictureHeight = bitmap.height();
        } else {
            int bits = 0;
            TImageUtils::Instance().GetImageInfo(photo_->FileName(), pictureWidth, pictureHeight, bits);
        }
        if (pictureWidth <= 0 || pictureHeight <= 0)
            return result;
        const double W = pictureWidth;
        const double H = pictureHeight;
        const double pcx = photo_->CenterX();
        const double pcy = photo_->CenterY();
        const double left = std::max((pw / 2 - pcx) / pw, 0.0);
        const double top = std::max((ph / 2 - pcy) / ph, 0.0);
        const double right = std::min((pw / 2 - pcx + Width()) / pw, 1.0);
        const double bottom = std::min((ph / 2 - pcy + Height()) / ph, 1.0);
        const QPointF centre
            = LocalToBounds(QPointF((left + right - 1) / 2 * pw + pcx, (top + bottom - 1) / 2 * ph + pcy));
        result.centreX = centre.x();
        result.centreY = centre.y();
        result.visibleWidth = RoundToDigits((right - left) * pw, digits);

        const int cropWidth = std::clamp(static_cast<int>(std::rint((right - left) * W)), 1, pictureWidth);
        const int cropHeight = std::clamp(static_cast<int>(std::rint((bottom - top) * H)), 1, pictureHeight);
        const int cropLeft = std::clamp(static_cast<int>(std::rint(W * left)), 0, pictureWidth - cropWidth);
        const int cropTop = std::clamp(static_cast<int>(std::rint(H * top)), 0, pictureHeight - cropHeight);
        const double maxWidth = limit * result.visibleWidth;
        const double scaledWidth = std::max(std::rint(maxWidth), 1.0);
        result.keptFraction = static_cast<double>(cropWidth) * cropHeight / (W * H);
        // The crop is scaled down when it is wider than the limit allows;
        // what it keeps is measured against the cropped width.
        if (cropWidth > maxWidth)
            result.keptFraction *= (scaledWidth / cropWidth) * (scaledWidth / cropWidth);

        if (perform) {
            QImage crop = TImageUtils::CopyRect(bitmap, QRect(cropLeft, cropTop, cropWidth, cropHeight));
            if (crop.width() > maxWidth) {
                const int height = std::max(1, static_cast<int>(std::rint(crop.height() * maxWidth / crop.width())));
                TImageUtils::StretchBitmap(crop, QSize(static_cast<int>(scaledWidth), height));
            }
            bool saved = false;
            if (keepLossless) {
                const QString preview = QFileInfo(fileName).path() + QLatin1Char('/')
                    + QFileInfo(fileName).completeBaseName() + QStringLiteral(".jpg");
                const QSize small = TImageUtils::ResampleSize(crop.size(), 200, true, 200);
                saved = SaveLossless(crop, fileName)
                    && TImageUtils::Instance().SaveAsJPEG(crop, preview, 90, small.width(), small.height());
            } else {
                saved = TImageUtils::Instance().SaveAsJPEG(crop, fileName, 90);
            }
            if (!saved)
                throw EQORException(2, QStringLiteral("Could not write the picture"), fileName, QString());
        }
        workUnits += W * H * 0.000002 + 0.1;
        return result;
    });
}

const TSizeDef* TAreaDef::QualityProblem(int kind) const
{
    return photo_->QualityProblem(kind);
}

void TAreaDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    TSizeDef::ReadXML(node, version);
    fixed_ = ReadBoolAttribute(node, "fixed");
}

void TAreaDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    TSizeDef::WriteXML(node, writeVersion);
    WriteBoolAttribute(node, "fixed", fixed_);
}

void TAreaDef::LoadPhoto(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    const pugi::xml_node element = node.child(layoutxml::kPhoto);
    if (element)
        photo_->LoadFrom(element, pictureFolder, version);
    else
        photo_->SetFile(QString());
}

bool TAreaDef::SavePhoto(
    pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes)
{
    pugi::xml_node element = node.append_child(layoutxml::kPhoto);
    return photo_->InternalSaveTo(element, pictureFolder, flags, onlyTemporary, false, totalBytes);
}

} // namespace pavlora
