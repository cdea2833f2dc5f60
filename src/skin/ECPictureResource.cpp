#include "skin/ECPictureResource.h"

namespace pavlora {

TECPictureResource::TECPictureResource(QString name, TECPicture picture, std::int64_t streamSize)
    : name_(std::move(name))
    , picture_(std::move(picture))
    , streamSize_(streamSize)
{
}

} // namespace pavlora
