#include "catalogue/ProductCartItemData.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductLayouts.h"
#include "layout/ProductPageDef.h"

namespace pavlora {

TProductCartItemData::TProductCartItemData(TProductItem* product)
    : layout_(
        product && product->layout ? CloneProductLayout(*product->layout) : std::make_unique<TProductPageDef>(nullptr))
{
    Lines().front().SetProduct(product);
    if (product)
        groupId = product->Root()->FullId();
}

TProductCartItemData::~TProductCartItemData() = default;

bool TProductCartItemData::SetFirstPicture(const QString& fileName, const QString& originalFileName)
{
    for (TPrintDef& print : layout_->Prints()) {
        for (TPictureDef& picture : print.Pictures()) {
            picture.Photo().SetFile(fileName, originalFileName, TPosAlign::paOutsideDefault);
            return true;
        }
    }
    return false;
}

bool TProductCartItemData::Incomplete() const
{
    for (const TPrintDef& print : layout_->Prints()) {
        for (const TPictureDef& picture : print.Pictures()) {
            if (!picture.Photo().Valid())
                return true;
        }
    }
    return false;
}

QStringList TProductCartItemData::PictureFiles() const
{
    QStringList files;
    for (const TPrintDef& print : layout_->Prints()) {
        for (const TPictureDef& picture : print.Pictures()) {
            if (!picture.Photo().FileName().isEmpty())
                files.append(picture.Photo().FileName());
        }
    }
    return files;
}

} // namespace pavlora
