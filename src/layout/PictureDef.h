#pragma once

#include "layout/GraphicDef.h"

namespace pavlora {

class TPrintDef;

// A picture slot of a print (XML "picture_def").
class TPictureDef : public TGraphicDef {
public:
    explicit TPictureDef(TDefObject* owner);
    ~TPictureDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;

    // The owning print, or none.
    TPrintDef* Print() const;
    int IndexInOwner() const override;

    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;
};

} // namespace pavlora
