#pragma once

#include "layout/PageDef.h"

#include <QString>

namespace pavlora {

// A page of a photo product (calendar, gift article): a page with a mask
// picture, a calendar flag and a default background token (the "conf"
// element of a catalogue item). Loading failures carry the context
// "QORProdCls_2_0.TProductPageDef.LoadFrom".
class TProductPageDef : public TPageDef {
public:
    explicit TProductPageDef(TDefObject* owner = nullptr);
    ~TProductPageDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;
    void Assign(const TSizeDef& source) override;

    // The mask picture (placeholders kept as written) and its position.
    QString MaskFile() const { return maskFile_; }
    void SetMaskFile(const QString& file) { maskFile_ = file; }
    int MaskX() const { return maskX_; }
    int MaskY() const { return maskY_; }
    void SetMaskPosition(int x, int y)
    {
        maskX_ = x;
        maskY_ = y;
    }
    // XML "calendar" = 1.
    bool IsCalendar() const { return isCalendar_; }
    void SetIsCalendar(bool value) { isCalendar_ = value; }
    // XML "def_bg_color".
    QString DefaultBackgroundColor() const { return defaultBackgroundColor_; }
    void SetDefaultBackgroundColor(const QString& value) { defaultBackgroundColor_ = value; }

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;

private:
    QString maskFile_;
    int maskX_ = 0;
    int maskY_ = 0;
    bool isCalendar_ = false;
    QString defaultBackgroundColor_;
};

} // namespace pavlora
