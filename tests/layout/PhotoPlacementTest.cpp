#include "LayoutTestSupport.h"

#include "layout/LayoutServices.h"
#include "layout/PrintDef.h"

#include "imaging/ImageUtils.h"
#include "support/TestSandbox.h"

#include <QFile>
#include <QImage>

#include <numbers>

namespace pavlora {
namespace {

// A 100 × 100 mm slot in a 200 × 150 mm print with a 3000 × 2000 picture.
class PhotoPlacement : public test::LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        print_.SetCenter(100, 75);
        print_.SetSize(200, 150);
        slot_ = &print_.Pictures()[print_.AddPicture()];
        slot_->SetCenter(60, 60);
        slot_->SetSize(100, 100);
        picture_
            = test::WritePicture(test::MakeFolder(QStringLiteral("pictures")) + QStringLiteral("/IMG.jpg"), 3000, 2000);
    }

    TPhotoDef& Photo() { return slot_->Photo(); }

    TPrintDef print_{nullptr};
    TPictureDef* slot_ = nullptr;
    QString picture_;
};

TEST_F(PhotoPlacement, DefaultAlignmentsFitAndFill)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paInsideDefault);
    ASSERT_TRUE(Photo().Valid());
    EXPECT_EQ(Photo().PixelWidth(), 3000);
    EXPECT_NEAR(Photo().Width(), 100, 1e-9);
    EXPECT_NEAR(Photo().Height(), 66.6667, 1e-4);
    EXPECT_NEAR(Photo().CenterX(), 50, 1e-9);
    EXPECT_NEAR(Photo().CenterY(), 50, 1e-9);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paInsideDefault);

    Photo().ApplyPosAlign(TPosAlign::paOutsideDefault);
    EXPECT_NEAR(Photo().Width(), 150, 1e-9);
    EXPECT_NEAR(Photo().Height(), 100, 1e-9);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paOutsideDefault);

    Photo().ApplyPosAlign(TPosAlign::paExact);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paExact);

    Photo().MoveBy(TPosAlign::paFree, 300, 0);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paFree);

    // Adapting reshapes the slot to the picture: 3:2.
    Photo().ApplyPosAlign(TPosAlign::paAdaptPicture);
    EXPECT_NEAR(slot_->Width(), 100, 1e-9);
    EXPECT_NEAR(slot_->Height(), 66.6667, 1e-4);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paExact);
}

TEST_F(PhotoPlacement, MovesAreClampedByMode)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paOutsideDefault); // 150 × 100 at (50, 50)
    // Covering: 25 mm of overhang on either side, none vertically.
    EXPECT_DOUBLE_EQ(Photo().ClampedMoveX(TPosAlign::paOutside, 100), 25);
    EXPECT_DOUBLE_EQ(Photo().ClampedMoveX(TPosAlign::paOutside, -100), -25);
    EXPECT_DOUBLE_EQ(Photo().ClampedMoveX(TPosAlign::paOutside, 10), 10);
    EXPECT_FALSE(Photo().CanMoveUp(TPosAlign::paOutside));
    EXPECT_FALSE(Photo().CanMoveDown(TPosAlign::paOutside));
    EXPECT_TRUE(Photo().CanMoveLeft(TPosAlign::paOutside));
    EXPECT_DOUBLE_EQ(Photo().ClampedMoveX(TPosAlign::paOutsideDefault, 10), 0);
    EXPECT_DOUBLE_EQ(Photo().ClampedMoveX(TPosAlign::paFree, 1000), 1000);

    Photo().MoveBy(TPosAlign::paOutside, 100, 100);
    EXPECT_DOUBLE_EQ(Photo().CenterX(), 75);
    EXPECT_DOUBLE_EQ(Photo().CenterY(), 50);
    EXPECT_FALSE(Photo().CanMoveRight(TPosAlign::paOutside));
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paOutsideFit);

    // Inside: the fitted photo may travel 16.67 mm up and down, not sideways.
    Photo().ApplyPosAlign(TPosAlign::paInsideDefault);
    EXPECT_NEAR(Photo().ClampedMoveY(TPosAlign::paInside, 50), 16.6667, 1e-4);
    EXPECT_NEAR(Photo().ClampedMoveY(TPosAlign::paInside, -50), -16.6667, 1e-4);
    EXPECT_FALSE(Photo().CanMoveLeft(TPosAlign::paInside));
}

TEST_F(PhotoPlacement, ZoomIsClampedByModeAndSizeLimit)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paOutsideDefault); // 150 × 100
    // Covering: shrinking stops where the photo still covers the slot.
    EXPECT_DOUBLE_EQ(Photo().ClampedZoomFactor(TPosAlign::paOutside, 0.5), 1);
    EXPECT_FALSE(Photo().CanZoomOut(TPosAlign::paOutside));
    EXPECT_TRUE(Photo().CanZoomIn(TPosAlign::paOutside));
    // The longer side never grows beyond 800 mm.
    EXPECT_NEAR(Photo().ClampedZoomFactor(TPosAlign::paFree, 10), 800.0 / 150, 1e-12);

    Photo().Zoom(QPointF(0, 0), TPosAlign::paOutside, 2);
    EXPECT_DOUBLE_EQ(Photo().Width(), 300);
    EXPECT_DOUBLE_EQ(Photo().Height(), 200);
    // Zoomed about the top-left corner: the photo keeps covering it.
    EXPECT_DOUBLE_EQ(Photo().CenterX(), 100);
    EXPECT_DOUBLE_EQ(Photo().CenterY(), 100);

    Photo().SetSize(800, 533);
    EXPECT_FALSE(Photo().CanZoomIn(TPosAlign::paFree));
    EXPECT_TRUE(Photo().CanZoomOut(TPosAlign::paFree));

    // Inside: growing stops where the photo would leave the slot.
    Photo().ApplyPosAlign(TPosAlign::paInsideDefault);
    EXPECT_DOUBLE_EQ(Photo().ClampedZoomFactor(TPosAlign::paInside, 2), 1);
    EXPECT_FALSE(Photo().CanZoomIn(TPosAlign::paInside));
}

TEST_F(PhotoPlacement, PhotoOfRotatedSlotReportsItsBoundingBox)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paOutsideDefault); // 150 × 100 at (50, 50)
    slot_->SetAngle(std::numbers::pi / 2);
    EXPECT_NEAR(Photo().GetWidth(), 100, 1e-9);
    EXPECT_NEAR(Photo().GetHeight(), 150, 1e-9);
    EXPECT_NEAR(Photo().GetCenterX(), 50, 1e-9);
    EXPECT_NEAR(Photo().GetCenterY(), 50, 1e-9);
    const QPointF corner = slot_->LocalToBounds(QPointF(0, 0));
    const QPointF back = slot_->BoundsToLocal(corner);
    EXPECT_NEAR(back.x(), 0, 1e-9);
    EXPECT_NEAR(back.y(), 0, 1e-9);
}

TEST_F(PhotoPlacement, CornerDragKeepsAspectAndPhotoFollows)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paOutsideDefault);
    double dx = 20;
    double dy = 0;
    slot_->Track(dx, dy, TControlMouseState::cmsBRCorner);
    EXPECT_NEAR(slot_->Width(), 110, 1e-9);
    EXPECT_NEAR(slot_->Height(), 110, 1e-9);
    EXPECT_NEAR(dx, 10, 1e-9);
    EXPECT_NEAR(dy, 10, 1e-9);
    EXPECT_NEAR(slot_->CenterX(), 65, 1e-9);
    EXPECT_NEAR(Photo().Width(), 165, 1e-9);
    EXPECT_EQ(Photo().GetPosAlign(), TPosAlign::paOutsideDefault);
}

TEST_F(PhotoPlacement, MovingStaysNearThePrint)
{
    // The centre may leave the print by 0.3 of the slot's shorter side.
    double dx = 1000;
    double dy = -1000;
    slot_->Track(dx, dy, TControlMouseState::cmsLBorder);
    EXPECT_DOUBLE_EQ(slot_->CenterX(), 230);
    EXPECT_DOUBLE_EQ(slot_->CenterY(), -30);
    EXPECT_DOUBLE_EQ(dx, 170);

    TLayoutSettings settings;
    settings.preventOverlap = false;
    SetLayoutSettings(settings);
    dx = 1000;
    dy = 0;
    slot_->Track(dx, dy, TControlMouseState::cmsLBorder);
    EXPECT_DOUBLE_EQ(slot_->CenterX(), 1230);
}

TEST_F(PhotoPlacement, LabelEdgeStopsAtMinimumWidth)
{
    TLabelDef& label = print_.Labels()[print_.AddLabel()];
    label.SetCenter(100, 50);
    label.SetSize(50, 20);
    double dx = 40;
    double dy = 0;
    label.Track(dx, dy, TControlMouseState::cmsLMid);
    EXPECT_DOUBLE_EQ(label.Width(), 25);
    EXPECT_DOUBLE_EQ(label.CenterX(), 112.5);
    EXPECT_DOUBLE_EQ(dx, 25);

    dx = -30;
    label.Track(dx, dy, TControlMouseState::cmsRMid);
    EXPECT_DOUBLE_EQ(label.Width(), 25) << "the right edge cannot pass the minimum either";

    dx = 30;
    label.Track(dx, dy, TControlMouseState::cmsRMid);
    EXPECT_DOUBLE_EQ(label.Width(), 55);
}

TEST_F(PhotoPlacement, RotationHandleSetsTheAngle)
{
    double dx = 0;
    double dy = 0;
    // The mouse right of the centre turns the slot by -90 degrees.
    slot_->Track(dx, dy, TControlMouseState::cmsRotate, 160, 60);
    EXPECT_NEAR(slot_->Angle(), -std::numbers::pi / 2, 1e-12);
    slot_->SetAngle(270 * std::numbers::pi / 180);
    EXPECT_NEAR(slot_->Angle(), -std::numbers::pi / 2, 1e-12);
}

// The kept fraction is measured against the cropped width: the crop of
// 2000 × 2000 pixels is scaled to 1000 × 1000 (10 pixels per mm).
TEST_F(PhotoPlacement, ExtractKeepsTheVisiblePartRegression_KeptFractionUsesCroppedWidth)
{
    Photo().SetFile(picture_, picture_, TPosAlign::paOutsideDefault);
    const QString target = test::MakeFolder(QStringLiteral("extract")) + QStringLiteral("/crop.jpg");
    double work = 0;
    const TExtractResult measured = slot_->ExtractPictureTo(target, false, -2, false, work, 10);
    EXPECT_NEAR(measured.keptFraction, 1.0 / 6, 1e-12);
    EXPECT_DOUBLE_EQ(measured.visibleWidth, 100);
    EXPECT_NEAR(measured.centreX, 50, 1e-9);
    EXPECT_NEAR(measured.centreY, 50, 1e-9);
    EXPECT_NEAR(work, 3000 * 2000 * 0.000002 + 0.1, 1e-9);
    EXPECT_FALSE(QFile::exists(target));

    const TExtractResult written = slot_->ExtractPictureTo(target, false, -2, true, work, 10);
    EXPECT_NEAR(written.keptFraction, 1.0 / 6, 1e-12);
    const QImage crop(target);
    EXPECT_EQ(crop.size(), QSize(1000, 1000));
}

} // namespace
} // namespace pavlora
