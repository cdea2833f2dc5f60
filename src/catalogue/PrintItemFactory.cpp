#include "catalogue/PrintItemFactory.h"

#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/QORException.h"
#include "layout/PictureDef.h"

#include <QFileInfo>

#include <numbers>

namespace pavlora {

TPrintItemFactory::TPrintItemFactory(const TProductItemList& catalogue, TPrintUserDefaults userDefaults)
    : catalogue_(catalogue)
    , userDefaults_(std::move(userDefaults))
{
}

void TPrintItemFactory::SetCurrentGroups(TProductItem* printsGroup, TProductItem* productsGroup)
{
    printsGroup_ = printsGroup;
    productsGroup_ = productsGroup;
}

TProductItem* TPrintItemFactory::ChooseProduct(const QString& variantSuffix) const
{
    TProductItem* product = nullptr;
    if (defaults_.global && !defaults_.globalFormatId.isEmpty()) {
        product = catalogue_.Find(defaults_.globalFormatId);
    } else {
        if (!defaults_.lastFormatId.isEmpty())
            product = catalogue_.Find(defaults_.lastFormatId);
        if (!product && !userDefaults_.stdFormatId.isEmpty())
            product = catalogue_.Find(userDefaults_.stdFormatId);
    }
    if (!product)
        product = printsGroup_;
    if (!product)
        return nullptr;

    // A format of another group (a stale preference) does not make a print
    // of the current group.
    TProductItem* root = product->Root();
    if (printsGroup_ && root != printsGroup_ && root != productsGroup_)
        product = printsGroup_->DefaultLeaf();

    if (!variantSuffix.isEmpty() && printsGroup_ && product) {
        if (TProductItem* variant = catalogue_.Find(printsGroup_->FullId() + QLatin1Char('.') + variantSuffix)) {
            product = variant->VariantByPath(product->FullId());
            if (product && product->HasChildren()) {
                if (TProductItem* child = product->Children()->Find(variantSuffix))
                    product = child->DefaultLeaf();
            }
        }
    }
    return product;
}

std::unique_ptr<TPrintCartItemData> TPrintItemFactory::Create(
    const TPrintPicture& picture, const QString& variantSuffix) const
{
    TProductItem* product = ChooseProduct(variantSuffix);
    if (!product)
        throw EQORException(
            2, QStringLiteral("No print article found"), QString(), QStringLiteral("TPrintItemFactory.Create"));

    auto print = std::make_unique<TPrintCartItemData>();
    print->groupId = printsGroup_ ? printsGroup_->FullId() : product->Root()->FullId();
    TCartItemLine& line = print->Lines().front();
    line.SetProduct(product);
    line.quantity = defaults_.global ? defaults_.globalQuantity : userDefaults_.stdQuantity;
    print->SetRatioFrom(product);
    print->saveInAlbum = userDefaults_.saveInOnlineAlbum;

    const QString displayName
        = picture.displayName.isEmpty() ? QFileInfo(picture.fileName).fileName() : picture.displayName;
    print->SetPicture(picture.fileName, displayName);
    if (picture.rotationDegrees % 360 != 0)
        print->Picture().SetAngle(picture.rotationDegrees * std::numbers::pi / 180.0);
    return print;
}

} // namespace pavlora
