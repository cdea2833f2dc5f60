#pragma once

#include "imaging/ECPicture.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace pavlora {

// A picture of the skin, shared by name between everyone who shows it: the
// resource manager hands out shared pointers and keeps only weak ones, so a
// picture lives while a control holds it.
class TECPictureResource {
public:
    TECPictureResource(QString name, TECPicture picture, std::int64_t streamSize);

    const QString& Name() const { return name_; }
    // The picture in its skin format (PNG with transparency, JPEG, bitmap).
    const TECPicture& Picture() const { return picture_; }
    // Its pixels, for painting.
    const QImage& Image() const { return picture_.Image(); }
    std::int64_t StreamSize() const { return streamSize_; }

private:
    QString name_;
    TECPicture picture_;
    std::int64_t streamSize_;
};

} // namespace pavlora
