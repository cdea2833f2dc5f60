#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// The smaller style classes of the skinned controls.

// "label"
class TLabelData final : public TStyleRecord<TLabelData> {
public:
    std::int32_t color = 0xFFFFFF;
    bool transparent = true;
    TAlign align = TAlign::Left;
    TFontRef font, fontDis;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

// "splitter"
class TSplitterStyle final : public TStyleRecord<TSplitterStyle> {
public:
    QString backImageId;
    TBackPainting backPainting = TBackPainting::ParentColor;
    TFillStyle fillStyle = TFillStyle::Color;
    TBufferMethod bufferMethod = TBufferMethod::None;
    TSplitterPosition position = TSplitterPosition::Vertical;
    std::int32_t color = 0;
    std::int32_t centerSize = 0;
    std::int32_t size = 5;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

// "list_box"
class TECListBoxStyle final : public TStyleRecord<TECListBoxStyle> {
public:
    std::int32_t bgColor = 0x808080;
    std::int32_t bgColorChange = 0xFFFFFF;
    std::int32_t bgColorActive = 0xFF0000;
    std::int32_t fontColor = 0;
    std::int32_t fontColorActive = 0xFFFFFF;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

// "progress"
class TProgressStyle final : public TStyleRecord<TProgressStyle> {
public:
    TFillMode fillMode = TFillMode::Stretch;
    std::int32_t centerWidth = 1;
    QString backImageId;
    QString foreImageId;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

// Styles that name only a font and a font for the disabled state.
template <class Derived>
class TFontPairStyle : public TStyleRecord<Derived> {
public:
    TFontRef font, fontDis;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override
    {
        font = context.ReadFont(attributes, "font", font);
        fontDis = context.ReadFont(attributes, "font_dis", fontDis);
    }
};

class TECComboBoxStyle final : public TFontPairStyle<TECComboBoxStyle> { }; // "combo_box"
class TECCheckBoxStyle final : public TFontPairStyle<TECCheckBoxStyle> { }; // "check_box"
class TECRadioButtonStyle final : public TFontPairStyle<TECRadioButtonStyle> { }; // "radio_button"
class TECEditStyle final : public TFontPairStyle<TECEditStyle> { }; // "edit"
class TECMemoStyle final : public TFontPairStyle<TECMemoStyle> { }; // "memo"

// "html_viewer"
class TECHTMLViewerStyle final : public TStyleRecord<TECHTMLViewerStyle> {
public:
    TFontRef font;
    std::int32_t bgColor = 0xFFFFFF;
    std::int32_t hotSpotColor = 0xFF0000;
    std::int32_t overLinkColor = 0xFF0000;
    std::int32_t visitedLinkColor = 0xFF0000;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
