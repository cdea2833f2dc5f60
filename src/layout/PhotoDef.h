#pragma once

#include "layout/SizeDef.h"

#include <QImage>
#include <QString>

namespace pavlora {

class TAreaDef;

// A picture file placed inside an area (its background, or the photo of a
// picture slot). Its centre and size give the photo's rectangle in the
// owning area's unrotated coordinates, so it may be larger than the area or
// lie partly outside it.
class TPhotoDef : public TSizeDef {
public:
    explicit TPhotoDef(TDefObject* owner);
    ~TPhotoDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;
    void Assign(const TSizeDef& source) override;

    // The owning area, or none.
    TAreaDef* Area() const;

    // The file exists and its pixel size was read.
    bool Valid() const { return valid_; }
    QString FileName() const { return fileName_; }
    // The customer's original file (display, file usage register).
    QString OriginalFileName() const { return originalFileName_; }
    // For a temporary file the file it was made from, otherwise FileName.
    QString SourceFileName() const { return sourceFileName_; }
    // The file is registered with the temporary file manager.
    bool IsTemporary() const { return isTemporary_; }
    // Bytes; -1 when the file cannot be found.
    qint64 FileSize() const { return fileSize_; }
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }

    // Puts a picture file into the photo: releases the old temporary file,
    // stores the names, registers a temporary file, reads the file's
    // information, applies `posAlign` (paDefault: the photobook's default on
    // an inner page, else paOutsideDefault), tells the file usage register
    // and notifies kChangedContent.
    void SetFile(const QString& fileName, const QString& originalFileName = QString(),
        TPosAlign posAlign = TPosAlign::paNone, const QString& sourceFileName = QString(), bool isTemporary = false);
    // Reads Valid, the pixel size and the byte size from the file again.
    void RefreshFileInfo();

    // Seats the photo in its area (paOutsideDefault … paAdaptPicture); only
    // for a valid photo in an area.
    void ApplyPosAlign(TPosAlign value);
    // The alignment that describes the present geometry (paFree …
    // paExact); paNone without an owning area.
    TPosAlign GetPosAlign() const;

    // Panning and zooming inside the area, clamped by `mode`.
    double ClampedMoveX(TPosAlign mode, double dx) const;
    double ClampedMoveY(TPosAlign mode, double dy) const;
    double ClampedZoomFactor(TPosAlign mode, double factor) const;
    void MoveBy(TPosAlign mode, double dx, double dy);
    // `point` in the area's bounding-box coordinates.
    void Zoom(QPointF point, TPosAlign mode, double factor);
    bool CanMoveLeft(TPosAlign mode) const;
    bool CanMoveRight(TPosAlign mode) const;
    bool CanMoveUp(TPosAlign mode) const;
    bool CanMoveDown(TPosAlign mode) const;
    bool CanZoomIn(TPosAlign mode) const;
    bool CanZoomOut(TPosAlign mode) const;

    // The picture scaled for display (longer side `size` pixels) from the
    // layout bitmap source; a picture slot asks with its slot options.
    QImage GetBitmap(int size) const;
    QImage GetSlotBitmap(int size) const;

    // Seen through a rotated graphic: the centre in the graphic's bounding
    // box and the bounding box of the rotated rectangle.
    double GetCenterX() const override;
    double GetCenterY() const override;
    double GetWidth() const override;
    double GetHeight() const override;

    bool HasContent() const override { return valid_; }
    // kProblemLowQuality: a valid photo whose pixels are too few for the
    // area's size (quality level above 2 at 10 dots per mm).
    const TSizeDef* QualityProblem(int kind) const override;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    // Writes the element; with a picture folder an invalid photo removes its
    // element, and the file is copied (or, in extract mode for a slot,
    // cropped) into the folder under a unique name.
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;

    // Reads the file names of a "photo_def" element's "file" child:
    // placeholders expanded, a bare name prefixed with `pictureFolder`.
    static QString ResolveStoredName(const QString& stored, const QString& pictureFolder);

private:
    void ReleaseTemporary();
    bool StoreFile(const QString& pictureFolder, int flags, qint64& totalBytes);

    bool valid_ = false;
    QString fileName_;
    QString originalFileName_;
    QString sourceFileName_;
    bool isTemporary_ = false;
    qint64 fileSize_ = -1;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
};

// The space a picture file of `bytes` takes on a disc: whole blocks of
// 524,288 bytes, always one more than the full blocks it fills.
qint64 SaveBlocks(qint64 bytes);

// A name for a copy of a picture in `folder` that no file has yet:
// `baseName` + `extension`, else `baseName` + "_1", "_2", … + `extension`.
QString UniquePictureName(const QString& folder, const QString& baseName, const QString& extension);

} // namespace pavlora
