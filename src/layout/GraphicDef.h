#pragma once

#include "layout/AreaDef.h"

namespace pavlora {

// An area that can be rotated and tracked with handles: a picture slot or a
// label of a print. Its bounding box in the owner is the box of the rotated
// rectangle; its photo lives in the unrotated frame.
class TGraphicDef : public TAreaDef {
public:
    explicit TGraphicDef(TDefObject* owner);
    ~TGraphicDef() override;

    void Assign(const TSizeDef& source) override;

    // Radians in [-π, π); positive turns counter-clockwise on the page.
    double Angle() const { return angle_; }
    double CosAngle() const { return cos_; }
    double SinAngle() const { return sin_; }
    // Normalises to [-π, π); a changed angle notifies kChangedContent.
    void SetAngle(double radians);

    // Set on label copies made from document elements; never saved.
    bool Generated() const { return generated_; }
    void SetGenerated(bool generated) { generated_ = generated; }

    // Reshapes the area to the photo's pixel aspect ratio (paAdaptPicture).
    void AdaptToPhoto();

    // The smallest size a resize leaves (mm).
    virtual double MinWidth() const { return 20.0; }
    virtual double MinHeight() const { return 20.0; }

    // The width and height of the owning print (0 when there is none): the
    // frame the overlap prevention keeps a moved graphic in.
    double OwnerWidth() const;
    double OwnerHeight() const;

    double GetWidth() const override;
    double GetHeight() const override;
    QPointF BoundsToLocal(QPointF point) const override;
    QPointF LocalToBounds(QPointF point) const override;
    void Track(double& dx, double& dy, TControlMouseState handle, double x = 0, double y = 0) override;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;

protected:
    // Called after a track changed the graphic (labels re-wrap).
    virtual void AfterTrack() { }

private:
    void AdjustPhotoHorizontally(double x);
    void AdjustPhotoVertically(double y);

    double angle_ = 0;
    double cos_ = 1;
    double sin_ = 0;
    bool generated_ = false;
};

} // namespace pavlora
