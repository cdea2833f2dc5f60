#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace pavlora {

// A picture of the skin, shared by name between everyone who shows it: the
// resource manager hands out shared pointers and keeps only weak ones, so a
// picture lives while a control holds it.
class TECPictureResource {
public:
    TECPictureResource(QString name, QImage picture, std::int64_t streamSize);

    const QString& Name() const { return name_; }
    const QImage& Picture() const { return picture_; }
    std::int64_t StreamSize() const { return streamSize_; }

private:
    QString name_;
    QImage picture_;
    std::int64_t streamSize_;
};

} // namespace pavlora
