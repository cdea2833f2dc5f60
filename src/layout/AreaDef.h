#pragma once

#include "layout/PhotoDef.h"
#include "layout/SizeDef.h"

#include <QRectF>

#include <memory>

namespace pavlora {

// What ExtractPictureTo measured (and, when performing, wrote).
struct TExtractResult {
    // Fraction of the picture's pixels that the written file keeps.
    double keptFraction = 0;
    // Width of the visible part of the photo (mm), rounded to the digits asked.
    double visibleWidth = 0;
    // Centre of the visible part in the area's bounding box.
    double centreX = 0;
    double centreY = 0;
};

// An area that owns one photo (its background or the photo of a slot).
class TAreaDef : public TSizeDef {
public:
    explicit TAreaDef(TDefObject* owner);
    ~TAreaDef() override;

    void Assign(const TSizeDef& source) override;

    bool Fixed() const { return fixed_; }
    void SetFixed(bool fixed) { fixed_ = fixed; }
    TPhotoDef& Photo() { return *photo_; }
    const TPhotoDef& Photo() const { return *photo_; }

    // The index of the area in its owner's list.
    virtual int IndexInOwner() const = 0;
    // Empties the photo (and texts) recursively.
    virtual void Clear();
    // Drops the change handlers of the area and its photo.
    virtual void ClearEvents();
    // Moves or resizes with a handle; dx and dy (owner's coordinates) come
    // back as the displacement applied. `x`, `y`: the mouse point (rotation).
    virtual void Track(double& dx, double& dy, TControlMouseState handle, double x = 0, double y = 0);

    // The photo rectangle clipped to (0, 0, Width, Height); false when the
    // photo is invalid or nothing of it is visible.
    bool VisiblePhotoRect(QRectF& rect) const;

    // Crops the visible part of the photo, scales it to at most
    // `maxPixelsPerMm` pixels per millimetre of visible width (1000 when 0
    // or less) and, when `perform`, writes it to `fileName`: a JPEG of
    // quality 90, or with `keepLossless` the lossless form the extension
    // names plus a JPEG preview of at most 200 × 200 pixels beside it.
    // `digits` rounds visibleWidth (-2: hundredths). `workUnits` grows by
    // the work done. Raises EQORException
    // "ProductDef.TAreaDef.ExtractPictureTo" on failure.
    TExtractResult ExtractPictureTo(const QString& fileName, bool keepLossless, int digits, bool perform,
        double& workUnits, double maxPixelsPerMm = 0) const;

    void SetOnChange(const TDefChangeEvent& handler) override;
    bool HasContent() const override { return photo_->Valid(); }
    const TSizeDef* QualityProblem(int kind) const override;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;

protected:
    // The photo's element: loaded from / saved to the "photo_def" child.
    void LoadPhoto(pugi::xml_node node, const QString& pictureFolder, TDefVersion version);
    bool SavePhoto(
        pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes);
    // Applies an edge drag: left/right/top/bottom edge follows.
    void MoveEdges(double dx, double dy, bool left, bool right, bool top, bool bottom);

private:
    bool fixed_ = false;
    std::unique_ptr<TPhotoDef> photo_;
};

} // namespace pavlora
