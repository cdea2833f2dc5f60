#include "layout/PhotoDef.h"

#include "layout/AreaDef.h"
#include "layout/GraphicDef.h"
#include "layout/LayoutServices.h"
#include "layout/LayoutXml.h"
#include "layout/PageDef.h"
#include "layout/PhotoBookDef.h"
#include "layout/PictureDef.h"
#include "layout/QualityRule.h"

#include "core/PathPlaceholders.h"
#include "core/ResourceName.h"
#include "core/XMLUtils2.h"
#include "imaging/ImageUtils.h"
#include "imaging/TempFileManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>

namespace pavlora {
namespace {

constexpr double kTinyMove = 0.000001;
constexpr double kMaxZoomSide = 800.0; // mm
constexpr qint64 kSaveBlock = 524288;
constexpr int kMaxUniqueNameTries = 100000;

const char kClassName[] = "TPhotoDef";

// The alignment a request stands for: paDefault is the photobook's default
// on an inner page and paOutsideDefault elsewhere.
TPosAlign ResolvePosAlign(const TPhotoDef& photo, TPosAlign requested)
{
    if (requested != TPosAlign::paDefault)
        return requested;
    const TAreaDef* area = photo.Area();
    const auto* picture = dynamic_cast<const TPictureDef*>(area);
    const TPrintDef* print = picture ? picture->Print() : nullptr;
    const TPageDef* page = print ? print->Page() : nullptr;
    const TPhotoBookDef* book = page ? page->PhotoBook() : nullptr;
    if (!book || page->IsCover())
        return TPosAlign::paOutsideDefault;
    return book->DefaultPosAlign();
}

qint64 RoundHundredths(double value)
{
    return std::llround(value * 100.0);
}

// The last part of a stored name, whichever separator it was written with.
QString BareName(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

bool SameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// Copies `source` to `target` through a temporary sibling renamed into
// place; an existing target is replaced.
bool CopyFileSafely(const QString& source, const QString& target)
{
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFile::exists(target)) {
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        QFile::remove(target);
    }
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

void MakeReadOnly(const QString& path)
{
    QFile::setPermissions(path,
        QFile::permissions(path) & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
}

} // namespace

TPhotoDef::TPhotoDef(TDefObject* owner)
    : TSizeDef(owner)
{
}

TPhotoDef::~TPhotoDef()
{
    ReleaseTemporary();
    if (!fileName_.isEmpty() && dynamic_cast<TPictureDef*>(Owner()))
        FileUsageRegister().Reset();
}

std::unique_ptr<TSizeDef> TPhotoDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TPhotoDef>(owner);
    copy->Assign(*this);
    return copy;
}

void TPhotoDef::Assign(const TSizeDef& source)
{
    TSizeDef::Assign(source);
    const auto* photo = dynamic_cast<const TPhotoDef*>(&source);
    if (!photo || photo == this)
        return;
    if (photo->isTemporary_)
        TempFileManager().AddRef(photo->fileName_);
    ReleaseTemporary();
    valid_ = photo->valid_;
    fileName_ = photo->fileName_;
    originalFileName_ = photo->originalFileName_;
    sourceFileName_ = photo->sourceFileName_;
    isTemporary_ = photo->isTemporary_;
    fileSize_ = photo->fileSize_;
    pixelWidth_ = photo->pixelWidth_;
    pixelHeight_ = photo->pixelHeight_;
}

TAreaDef* TPhotoDef::Area() const
{
    return dynamic_cast<TAreaDef*>(Owner());
}

void TPhotoDef::ReleaseTemporary()
{
    if (isTemporary_ && !fileName_.isEmpty())
        TempFileManager().Release(fileName_);
    isTemporary_ = false;
}

void TPhotoDef::SetFile(const QString& fileName, const QString& originalFileName, TPosAlign posAlign,
    const QString& sourceFileName, bool isTemporary)
{
    // Register the new file before releasing the old one: they may be the same.
    if (isTemporary && !fileName.isEmpty())
        TempFileManager().AddRef(fileName);
    ReleaseTemporary();
    fileName_ = fileName;
    originalFileName_ = originalFileName;
    isTemporary_ = isTemporary && !fileName.isEmpty();
    sourceFileName_ = isTemporary_ ? sourceFileName : fileName;
    RefreshFileInfo();
    ApplyPosAlign(ResolvePosAlign(*this, posAlign));
    if (dynamic_cast<TPictureDef*>(Owner())) {
        IFileUsageRegister& usage = FileUsageRegister();
        usage.Reset();
        if (!originalFileName_.isEmpty())
            usage.Add(originalFileName_, QString(), 0);
    }
    Changed();
}

void TPhotoDef::RefreshFileInfo()
{
    valid_ = false;
    pixelWidth_ = 0;
    pixelHeight_ = 0;
    fileSize_ = -1;
    if (fileName_.isEmpty())
        return;
    const QFileInfo info(fileName_);
    if (!info.isFile())
        return;
    fileSize_ = info.size();
    int width = 0;
    int height = 0;
    int bits = 0;
    if (TImageUtils::Instance().GetImageInfo(fileName_, width, height, bits) && width > 0 && height > 0) {
        pixelWidth_ = width;
        pixelHeight_ = height;
        valid_ = true;
    }
}

void TPhotoDef::ApplyPosAlign(TPosAlign value)
{
    TAreaDef* area = Area();
    if (!valid_ || !area || value < TPosAlign::paOutsideDefault || value > TPosAlign::paAdaptPicture)
        return;
    if (value == TPosAlign::paAdaptPicture) {
        auto* graphic = dynamic_cast<TGraphicDef*>(area);
        if (!graphic)
            return;
        graphic->AdaptToPhoto();
        return;
    }
    const double areaWidth = area->Width();
    const double areaHeight = area->Height();
    if (value == TPosAlign::paExact) {
        SetGeometry(areaWidth / 2, areaHeight / 2, areaWidth, areaHeight);
    } else {
        const double x = areaHeight / pixelHeight_ * pixelWidth_;
        if ((value == TPosAlign::paInsideDefault) != (areaWidth > x))
            SetGeometry(areaWidth / 2, areaHeight / 2, areaWidth, areaWidth / pixelWidth_ * pixelHeight_);
        else
            SetGeometry(areaWidth / 2, areaHeight / 2, x, areaHeight);
    }
    Changed();
}

TPosAlign TPhotoDef::GetPosAlign() const
{
    const TAreaDef* area = Area();
    if (!area)
        return TPosAlign::paNone;
    const double cx = CenterX();
    const double cy = CenterY();
    const double w = Width();
    const double h = Height();
    const qint64 left = RoundHundredths(cx - w / 2);
    const qint64 top = RoundHundredths(cy - h / 2);
    const qint64 right = RoundHundredths(cx + w / 2 - area->Width());
    const qint64 bottom = RoundHundredths(cy + h / 2 - area->Height());
    const bool covers = left <= 0 && right >= 0 && top <= 0 && bottom >= 0;
    const bool inside = left >= 0 && right <= 0 && top >= 0 && bottom <= 0;
    const bool edge = (left == 0 && right == 0) || (top == 0 && bottom == 0);
    const bool centred = edge && bottom == -top && right == -left;
    if (covers && inside)
        return TPosAlign::paExact;
    if (covers)
        return centred ? TPosAlign::paOutsideDefault : edge ? TPosAlign::paOutsideFit : TPosAlign::paOutside;
    if (!inside)
        return TPosAlign::paFree;
    return centred ? TPosAlign::paInsideDefault : edge ? TPosAlign::paInsideFit : TPosAlign::paInside;
}

namespace {

// The clamped move along one axis: `c` the photo's centre, `size` its
// extent, `areaSize` the area's.
double ClampMove(TPosAlign mode, double d, double c, double size, double areaSize)
{
    switch (mode) {
    case TPosAlign::paOutside:
    case TPosAlign::paOutsideFit:
        return d > 0 ? std::max(std::min(d, size / 2 - c), 0.0) : std::min(std::max(d, areaSize - c - size / 2), 0.0);
    case TPosAlign::paInside:
    case TPosAlign::paInsideFit:
        return d > 0 ? std::max(std::min(d, areaSize - c - size / 2), 0.0) : std::min(std::max(d, size / 2 - c), 0.0);
    case TPosAlign::paOutsideDefault:
    case TPosAlign::paInsideDefault:
        return 0;
    default:
        return d;
    }
}

} // namespace

double TPhotoDef::ClampedMoveX(TPosAlign mode, double dx) const
{
    const TAreaDef* area = Area();
    return ClampMove(mode, dx, CenterX(), Width(), area ? area->Width() : 0);
}

double TPhotoDef::ClampedMoveY(TPosAlign mode, double dy) const
{
    const TAreaDef* area = Area();
    return ClampMove(mode, dy, CenterY(), Height(), area ? area->Height() : 0);
}

double TPhotoDef::ClampedZoomFactor(TPosAlign mode, double factor) const
{
    const double w = Width();
    const double h = Height();
    if (std::abs(w) < kTinyMove || std::abs(h) < kTinyMove)
        return factor;
    double a = std::min(std::max(kMaxZoomSide / std::max(w, h), 1.0), factor);
    if (const TAreaDef* area = Area()) {
        if (mode == TPosAlign::paOutside)
            a = std::max({area->Width() / w, area->Height() / h, a});
        else if (mode == TPosAlign::paInside)
            a = std::min({area->Width() / w, area->Height() / h, a});
    }
    return factor > 1 ? std::max(a, 1.0) : std::min(a, 1.0);
}

void TPhotoDef::MoveBy(TPosAlign mode, double dx, double dy)
{
    const double mx = ClampedMoveX(mode, dx);
    const double my = ClampedMoveY(mode, dy);
    SetCenter(CenterX() + mx, CenterY() + my);
}

void TPhotoDef::Zoom(QPointF point, TPosAlign mode, double factor)
{
    TAreaDef* area = Area();
    if (!valid_ || !area)
        return;
    if (mode == TPosAlign::paOutsideFit || mode == TPosAlign::paOutsideDefault) {
        ApplyPosAlign(TPosAlign::paOutsideDefault);
        return;
    }
    if (mode == TPosAlign::paInsideFit || mode == TPosAlign::paInsideDefault) {
        ApplyPosAlign(TPosAlign::paInsideDefault);
        return;
    }
    if (factor == 0)
        return;
    const double a = ClampedZoomFactor(mode, factor);
    if (a == 1)
        return;
    const QPointF p = area->BoundsToLocal(point);
    const double w = a * Width();
    const double h = a * Height();
    double cx = p.x() + a * (CenterX() - p.x());
    double cy = p.y() + a * (CenterY() - p.y());
    const double areaWidth = area->Width();
    const double areaHeight = area->Height();
    if (mode == TPosAlign::paOutside) {
        cx = std::max(areaWidth - w / 2, std::min(w / 2, cx));
        cy = std::max(areaHeight - h / 2, std::min(h / 2, cy));
    } else if (mode == TPosAlign::paInside) {
        cx = std::min(areaWidth - w / 2, std::max(w / 2, cx));
        cy = std::min(areaHeight - h / 2, std::max(h / 2, cy));
    }
    SetGeometry(cx, cy, w, h);
    Changed();
}

bool TPhotoDef::CanMoveLeft(TPosAlign mode) const
{
    return valid_ && ClampedMoveX(mode, -kTinyMove) < 0;
}

bool TPhotoDef::CanMoveRight(TPosAlign mode) const
{
    return valid_ && ClampedMoveX(mode, kTinyMove) > 0;
}

bool TPhotoDef::CanMoveUp(TPosAlign mode) const
{
    return valid_ && ClampedMoveY(mode, -kTinyMove) < 0;
}

bool TPhotoDef::CanMoveDown(TPosAlign mode) const
{
    return valid_ && ClampedMoveY(mode, kTinyMove) > 0;
}

bool TPhotoDef::CanZoomIn(TPosAlign mode) const
{
    return valid_ && ClampedZoomFactor(mode, 1.000001) > 1;
}

bool TPhotoDef::CanZoomOut(TPosAlign mode) const
{
    return valid_ && ClampedZoomFactor(mode, 0.999999) < 1;
}

QImage TPhotoDef::GetBitmap(int size) const
{
    if (!valid_)
        return {};
    return LayoutBitmapSource().GetBitmap(fileName_, size, false);
}

QImage TPhotoDef::GetSlotBitmap(int size) const
{
    if (!valid_)
        return {};
    return LayoutBitmapSource().GetBitmap(fileName_, size, true);
}

double TPhotoDef::GetCenterX() const
{
    if (const auto* graphic = dynamic_cast<const TGraphicDef*>(Owner()))
        return graphic->LocalToBounds(QPointF(CenterX(), CenterY())).x();
    return CenterX();
}

double TPhotoDef::GetCenterY() const
{
    if (const auto* graphic = dynamic_cast<const TGraphicDef*>(Owner()))
        return graphic->LocalToBounds(QPointF(CenterX(), CenterY())).y();
    return CenterY();
}

double TPhotoDef::GetWidth() const
{
    if (const auto* graphic = dynamic_cast<const TGraphicDef*>(Owner()))
        return std::abs(graphic->CosAngle() * Width()) + std::abs(graphic->SinAngle() * Height());
    return Width();
}

double TPhotoDef::GetHeight() const
{
    if (const auto* graphic = dynamic_cast<const TGraphicDef*>(Owner()))
        return std::abs(graphic->SinAngle() * Width()) + std::abs(graphic->CosAngle() * Height());
    return Height();
}

const TSizeDef* TPhotoDef::QualityProblem(int kind) const
{
    const TAreaDef* area = Area();
    if (kind != kProblemLowQuality || !valid_ || !area)
        return nullptr;
    const int level
        = QualityLevel(std::rint(area->Width()), std::rint(area->Height()), 10, pixelWidth_, pixelHeight_, 5);
    return level > 2 ? this : nullptr;
}

// ---- XML ---------------------------------------------------------------

void TPhotoDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "ReadXML"), [&] {
        TSizeDef::ReadXML(node, version);
        ValidateGeometry(false, "ProductDef.TPhotoDef.ReadXML");
    });
}

void TPhotoDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "WriteXML"), [&] {
        TSizeDef::WriteXML(node, writeVersion);
        WriteIntAttribute(node, "pos_align", static_cast<int>(GetPosAlign()));
    });
}

QString TPhotoDef::ResolveStoredName(const QString& stored, const QString& pictureFolder)
{
    if (stored.trimmed().isEmpty())
        return {};
    QString name = stored;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool bare = !name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('{'));
    if (bare) {
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            return {};
        return pictureFolder.isEmpty() ? name : QDir(pictureFolder).filePath(name);
    }
    // A name from a file never climbs out of the folder it names.
    if (name.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return {};
    if (name.startsWith(QLatin1Char('{'))) {
        const qsizetype close = name.indexOf(QLatin1Char('}'));
        const QString expanded = ExpandPath(name);
        if (close < 0 || expanded == name || QFileInfo::exists(expanded))
            return QDir::cleanPath(expanded);
        // Data of the service was written on a system that ignores case.
        const QString folder = ExpandPath(name.left(close + 1));
        const std::optional<QString> relative
            = NormalizeResourceName(name.mid(close + 1).remove(QRegularExpression(QStringLiteral("^/+"))));
        if (relative) {
            TCaseInsensitiveResolver resolver;
            if (const std::optional<QString> found = resolver.ResolveFile(folder, *relative))
                return *found;
        }
        return QDir::cleanPath(expanded);
    }
    return QDir::cleanPath(name);
}

void TPhotoDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        ReadXML(node, version);
        const int posAlign = ReadIntAttribute(node, "pos_align");
        const pugi::xml_node file = node.child("file");
        ReleaseTemporary();
        fileName_ = ResolveStoredName(ReadStringAttribute(file, "filename"), pictureFolder);
        const QString original = ReadStringAttribute(file, "original_filename");
        originalFileName_ = original.startsWith(QLatin1Char('{')) ? ExpandPath(original) : original;
        sourceFileName_ = fileName_;
        RefreshFileInfo();
        if (posAlign >= static_cast<int>(TPosAlign::paOutsideDefault)
            && posAlign <= static_cast<int>(TPosAlign::paAdaptPicture))
            ApplyPosAlign(static_cast<TPosAlign>(posAlign));
    });
}

bool TPhotoDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    return layoutxml::Guarded(layoutxml::Context(kClassName, "InternalSaveTo"), [&] {
        if (!pictureFolder.isEmpty() && !valid_) {
            node.parent().remove_child(node);
            return true;
        }
        bool stored = true;
        if (!pictureFolder.isEmpty() && valid_ && (!onlyTemporary || isTemporary_))
            stored = StoreFile(pictureFolder, flags, totalBytes);
        WriteXML(node, writeVersion);
        if (!fileName_.isEmpty()) {
            pugi::xml_node file = node.append_child("file");
            const bool inFolder
                = !pictureFolder.isEmpty() && SameFolder(QFileInfo(fileName_).absolutePath(), pictureFolder);
            WriteStringAttribute(
                file, "filename", inFolder ? QFileInfo(fileName_).fileName() : CollapsePath(fileName_));
            WriteStringAttribute(file, "original_filename", CollapsePath(originalFileName_));
            WriteIntAttribute(file, "width", pixelWidth_);
            WriteIntAttribute(file, "height", pixelHeight_);
        }
        return stored;
    });
}

bool TPhotoDef::StoreFile(const QString& pictureFolder, int flags, qint64& totalBytes)
{
    const bool perform = (flags & SaveFlags::Perform) != 0;
    QString base = QFileInfo(BareName(originalFileName_.isEmpty() ? fileName_ : originalFileName_)).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("Bild");
    const QString suffix = QFileInfo(fileName_).suffix();
    const QString extension = suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix;
    auto* slot = dynamic_cast<TPictureDef*>(Owner());
    if ((flags & SaveFlags::Extract) != 0 && slot) {
        // The crop is always written as a JPEG, so it gets a JPEG name.
        const QString target = UniquePictureName(pictureFolder, base, QStringLiteral(".jpg"));
        double work = 0;
        QRectF visible;
        const bool hasVisible = slot->VisiblePhotoRect(visible);
        const TExtractResult result = slot->ExtractPictureTo(target, false, -2, perform, work, 10);
        const qint64 size = fileSize_;
        totalBytes += SaveBlocks(std::min<qint64>(std::llround(2.0 * size * result.keptFraction), size));
        if (perform) {
            SetFile(target, QString(), TPosAlign::paNone, QString(), false);
            // The file holds exactly the part that was visible: it goes
            // where that part was, whether it filled the slot or not.
            if (hasVisible)
                SetGeometry(visible.center().x(), visible.center().y(), visible.width(), visible.height());
            else
                ApplyPosAlign(TPosAlign::paExact);
            MakeReadOnly(target);
        }
        return true;
    }
    if (!SameFolder(QFileInfo(fileName_).absolutePath(), pictureFolder)) {
        totalBytes += SaveBlocks(fileSize_);
        if (!perform)
            return true;
        const QString target = UniquePictureName(pictureFolder, base, extension);
        if (!CopyFileSafely(fileName_, target))
            return false;
        ReleaseTemporary();
        fileName_ = target;
        sourceFileName_ = target;
    }
    if (perform)
        MakeReadOnly(fileName_);
    return true;
}

qint64 SaveBlocks(qint64 bytes)
{
    return (std::max<qint64>(bytes, 0) / kSaveBlock + 1) * kSaveBlock;
}

QString UniquePictureName(const QString& folder, const QString& baseName, const QString& extension)
{
    const QDir dir(folder);
    QString candidate = dir.filePath(baseName + extension);
    for (int i = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++i) {
        if (i > kMaxUniqueNameTries)
            throw EQORException(
                2, QStringLiteral("No free file name"), baseName, QStringLiteral("ProductDef.UniquePictureName"));
        candidate = dir.filePath(baseName + QStringLiteral("_%1").arg(i) + extension);
    }
    return candidate;
}

} // namespace pavlora
