#pragma once

#include "layout/GraphicDef.h"

#include "imaging/VclColor.h"

#include <QPointF>
#include <QString>
#include <QStringList>

namespace pavlora {

class TPrintDef;

// The font of a label. Sizes are points (2.835 points per millimetre).
struct TLabelFont {
    QString name = QStringLiteral("Arial");
    double size = 12;
    TColor color = clBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // XML "style": 1 bold, 2 italic, 4 underline, 8 strike-out.
    int Style() const;
    void SetStyle(int style);

    friend bool operator==(const TLabelFont&, const TLabelFont&) = default;
};

// A text label of a print (XML "label_def").
//
// Lines holds the paragraphs broken into the lines that fit the label,
// measured with the program's text service; it is recomputed whenever the
// text, the font, word wrap, the size or the position change, except while
// the label is being assigned or read (it is recomputed once at the end).
class TLabelDef : public TGraphicDef {
public:
    explicit TLabelDef(TDefObject* owner);
    ~TLabelDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;
    void Assign(const TSizeDef& source) override;

    TPrintDef* Print() const;
    int IndexInOwner() const override;

    const TLabelFont& Font() const { return font_; }
    void SetFont(const TLabelFont& font);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    const QStringList& Paragraphs() const { return paragraphs_; }
    void SetParagraphs(const QStringList& paragraphs);
    const QStringList& Lines() const { return lines_; }
    // Not all the text fits.
    bool TextCut() const { return textCut_; }

    // The height of one line (mm): fontSize / 2.835 · 1.125.
    double LineHeight() const;
    // Breaks the paragraphs into Lines and notifies kChangedPosition
    // (nothing while updating).
    void UpdateLines();
    // The anchor of a line for drawing, in the bounding box: x = 0, Width/2
    // or Width by the alignment, y = index · LineHeight.
    QPointF LinePosition(int index) const;

    // A paragraph with the page numbers of the label's place filled in:
    // "{lPageNo}" and "{rPageNo}". A label whose print lies on no page
    // keeps them.
    QString FillPageNumbers(const QString& paragraph) const;

    double MinWidth() const override { return 25.0; }
    double MinHeight() const override { return 5.0; }

    void Clear() override;
    bool HasContent() const override { return !paragraphs_.isEmpty(); }
    const TSizeDef* QualityProblem(int kind) const override;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;

protected:
    void AfterTrack() override;
    void GeometryChanged(int flag) override;

private:
    void ReadFontAndText(pugi::xml_node node, TDefVersion version);
    void WriteFontAndText(pugi::xml_node node) const;

    TLabelFont font_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool wordWrap_ = true;
    QStringList paragraphs_;
    QStringList lines_;
    bool textCut_ = false;
    int updating_ = 0;
};

} // namespace pavlora
