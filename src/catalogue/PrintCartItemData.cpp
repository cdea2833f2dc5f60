#include "catalogue/PrintCartItemData.h"

#include "catalogue/ProductItem.h"
#include "layout/PictureDef.h"

namespace pavlora {
namespace {

// The slot of a print has the size of a 10 × 15 print; the photo fills it.
// Its extent only has to be a valid area: the format's size is what counts
// for ordering and quality.
constexpr double kSlotWidth = 150.0;
constexpr double kSlotHeight = 100.0;

} // namespace

TPrintCartItemData::TPrintCartItemData()
    : picture_(std::make_unique<TPictureDef>(nullptr))
{
    picture_->SetSize(kSlotWidth, kSlotHeight);
    picture_->SetCenter(kSlotWidth / 2, kSlotHeight / 2);
}

TPrintCartItemData::~TPrintCartItemData() = default;

void TPrintCartItemData::SetPicture(const QString& fileName, const QString& originalFileName)
{
    picture_->Photo().SetFile(fileName, originalFileName, TPosAlign::paOutsideDefault);
}

void TPrintCartItemData::SetRatioFrom(const TProductItem* product)
{
    // A variant takes the ratio of the format above it.
    while (product && product->ratio.isEmpty())
        product = product->Parent();
    ratio23 = product && product->ratio == QLatin1String("2-3");
    ratio34 = product && product->ratio == QLatin1String("3-4");
}

QStringList TPrintCartItemData::PictureFiles() const
{
    const QString file = picture_->Photo().FileName();
    return file.isEmpty() ? QStringList() : QStringList{file};
}

} // namespace pavlora
