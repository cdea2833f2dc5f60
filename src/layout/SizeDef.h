#pragma once

#include "layout/LayoutTypes.h"

#include <QPointF>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

// The common base of every layout definition and of the photobook: it only
// knows the definition that contains it (not owned).
class TDefObject {
public:
    virtual ~TDefObject() = default;
    TDefObject(const TDefObject&) = delete;
    TDefObject& operator=(const TDefObject&) = delete;

    TDefObject* Owner() const { return owner_; }
    void SetOwner(TDefObject* owner) { owner_ = owner; }

protected:
    explicit TDefObject(TDefObject* owner)
        : owner_(owner)
    {
    }

private:
    TDefObject* owner_ = nullptr;
};

// The base of every element of a layout: centre, size and tag.
//
// Lengths are millimetres. The centre is measured from the top-left corner
// of the owner, x to the right and y downwards; Width and Height are the
// full size. The model has no locks: it is changed on one thread, and other
// threads only read definitions that nobody changes meanwhile.
//
// Every XML operation re-raises any failure as EQORException with the
// context "ProductDef.<class>.<operation>".
class TSizeDef : public TDefObject {
public:
    explicit TSizeDef(TDefObject* owner);
    ~TSizeDef() override;

    // A new definition of the same class with `owner`, assigned from this.
    virtual std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const = 0;
    // Deep copy of the fields and of everything the definition owns; the
    // owner and the events stay.
    virtual void Assign(const TSizeDef& source);

    double CenterX() const { return centerX_; }
    double CenterY() const { return centerY_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    // Each setter notifies only a real change: kChangedPosition for the
    // centre, kChangedContent for the size.
    void SetCenterX(double value);
    void SetCenterY(double value);
    void SetWidth(double value);
    void SetHeight(double value);
    void SetCenter(double x, double y);
    void SetSize(double width, double height);

    // The values as the owner sees them (a rotated graphic's bounding box,
    // the photo of a rotated graphic in the graphic's bounding box).
    virtual double GetCenterX() const { return centerX_; }
    virtual double GetCenterY() const { return centerY_; }
    virtual double GetWidth() const { return width_; }
    virtual double GetHeight() const { return height_; }

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    QString TagString() const { return tagString_; }
    void SetTagString(const QString& text) { tagString_ = text; }
    bool FixedPos() const { return fixedPos_; }
    void SetFixedPos(bool fixed) { fixedPos_ = fixed; }

    const TDefChangeEvent& OnChange() const { return onChange_; }
    virtual void SetOnChange(const TDefChangeEvent& handler);
    // Raises OnChange with kChangedContent.
    void Changed();
    void Notify(int flag);

    // The element's own attributes. `version` carries the inherited version
    // in and the element's version out.
    virtual void ReadXML(pugi::xml_node node, TDefVersion& version);
    virtual void WriteXML(pugi::xml_node node, bool writeVersion) const;
    // ReadXML plus the child elements; `node` is this definition's element.
    virtual void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) = 0;
    // WriteXML plus the children and the picture files into this
    // definition's element `node`. False when a picture file could not be
    // stored (the rest is saved all the same).
    virtual bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes)
        = 0;
    // InternalSaveTo with the version written.
    bool SaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes);

    // Point conversions between the bounding box and the unrotated frame of
    // the element (identity unless rotated).
    virtual QPointF BoundsToLocal(QPointF point) const { return point; }
    virtual QPointF LocalToBounds(QPointF point) const { return point; }

    virtual bool HasContent() const { return false; }
    // The definition that has a problem of `kind` (kProblemLowQuality,
    // kProblemTextCut), or none.
    virtual const TSizeDef* QualityProblem(int kind) const;

protected:
    // Called by the setters after a real change, before OnChange (a label
    // re-wraps its text here).
    virtual void GeometryChanged(int flag) { Q_UNUSED(flag); }
    // The raw setters without notification (reading, assigning).
    void SetGeometry(double centerX, double centerY, double width, double height);
    // Refuses NaN and infinities in the geometry just read, and, when
    // `isExtent`, a size that is not between 0 (excluded) and the largest
    // layout extent. Raises EQORException.
    void ValidateGeometry(bool isExtent, const char* context) const;

private:
    double centerX_ = 0;
    double centerY_ = 0;
    double width_ = 0;
    double height_ = 0;
    int tag_ = 0;
    QString tagString_;
    bool fixedPos_ = false;
    TDefChangeEvent onChange_;
};

// The largest width or height of an area read from a file (mm).
inline constexpr double kMaxLayoutExtent = 100000.0;

} // namespace pavlora
