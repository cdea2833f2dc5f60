#include "layout/LabelDef.h"

#include "layout/LayoutServices.h"
#include "layout/LayoutXml.h"
#include "layout/PageDef.h"
#include "layout/PhotoBookDef.h"
#include "layout/PrintDef.h"

#include "core/XMLUtils2.h"
#include "imaging/TextService.h"

#include <pugixml.hpp>

#include <cmath>

namespace pavlora {
namespace {

const char kClassName[] = "TLabelDef";
constexpr double kPointsPerMm = 2.835;
constexpr double kLineSpacing = 1.125;
constexpr double kWrapWidth = 0.98;
// Text is measured at this many pixels per millimetre: the font's outlines
// scale linearly without hinting, and the finer grid keeps the rounding of
// glyph advances far below what decides a line break.
constexpr double kMeasureScale = 100.0;
constexpr double kMaxFontSize = 2000.0; // points
const QLatin1String kLineBreak("\r\n");

// Drops the characters a label never shows.
QString CleanParagraph(const QString& paragraph, bool keepCp1252)
{
    const QString trimmed = paragraph.trimmed();
    QString text;
    text.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        const char16_t code = c.unicode();
        if (code < 32 || code == 127 || (!keepCp1252 && code >= 128 && code <= 159))
            continue;
        text.append(c);
    }
    return text;
}

// The number of leading characters of `text` whose width stays within
// `width` (pixels of the measuring scale).
int FittingCharacters(const QString& text, const QFont& font, double width)
{
    TTextFormat format;
    format.wordWrap = false;
    const auto fits
        = [&](int count) { return TTextService::MeasureText(text.left(count), font, format, 0).width() <= width; };
    if (fits(static_cast<int>(text.size())))
        return static_cast<int>(text.size());
    int low = 0; // fits
    int high = static_cast<int>(text.size()); // does not fit
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle;
    }
    return low;
}

QString ColorText(TColor color)
{
    return QStringLiteral("$%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace

int TLabelFont::Style() const
{
    return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strikeOut ? 8 : 0);
}

void TLabelFont::SetStyle(int style)
{
    bold = (style & 1) != 0;
    italic = (style & 2) != 0;
    underline = (style & 4) != 0;
    strikeOut = (style & 8) != 0;
}

TLabelDef::TLabelDef(TDefObject* owner)
    : TGraphicDef(owner)
{
}

TLabelDef::~TLabelDef() = default;

std::unique_ptr<TSizeDef> TLabelDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TLabelDef>(owner);
    copy->Assign(*this);
    return copy;
}

void TLabelDef::Assign(const TSizeDef& source)
{
    ++updating_;
    TGraphicDef::Assign(source);
    if (const auto* label = dynamic_cast<const TLabelDef*>(&source)) {
        font_ = label->font_;
        alignment_ = label->alignment_;
        wordWrap_ = label->wordWrap_;
        paragraphs_ = label->paragraphs_;
        lines_ = label->lines_;
        textCut_ = label->textCut_;
    }
    --updating_;
    UpdateLines();
}

TPrintDef* TLabelDef::Print() const
{
    return dynamic_cast<TPrintDef*>(Owner());
}

int TLabelDef::IndexInOwner() const
{
    const TPrintDef* print = Print();
    return print ? print->Labels().IndexOf(this) : -1;
}

void TLabelDef::SetFont(const TLabelFont& font)
{
    font_ = font;
    UpdateLines();
}

void TLabelDef::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Notify(kChangedPosition);
}

void TLabelDef::SetWordWrap(bool wordWrap)
{
    if (wordWrap == wordWrap_)
        return;
    wordWrap_ = wordWrap;
    UpdateLines();
    Notify(kChangedPosition);
}

void TLabelDef::SetParagraphs(const QStringList& paragraphs)
{
    paragraphs_ = paragraphs;
    UpdateLines();
}

double TLabelDef::LineHeight() const
{
    return font_.size / kPointsPerMm * kLineSpacing;
}

QString TLabelDef::FillPageNumbers(const QString& paragraph) const
{
    const TPrintDef* print = Print();
    const TPageDef* page = print ? print->Page() : nullptr;
    if (!page)
        return paragraph;
    QString left;
    QString right;
    if (page->PhotoBook()) {
        const int index = page->PageIndex();
        if (print->Tag() & (TPrintDef::kPrintRight | TPrintDef::kPrintSpread))
            right = QString::number(TPhotoBookDef::RightPageNumber(index));
        if (print->Tag() & (TPrintDef::kPrintLeft | TPrintDef::kPrintSpread))
            left = QString::number(TPhotoBookDef::LeftPageNumber(index));
    }
    QString text = paragraph;
    text.replace(QLatin1String("{rPageNo}"), right);
    text.replace(QLatin1String("{lPageNo}"), left);
    return text;
}

void TLabelDef::UpdateLines()
{
    if (updating_ > 0)
        return;
    const TLayoutSettings settings = LayoutSettings();
    lines_.clear();
    bool remainder = false;
    bool full = false;
    const double lineHeight = LineHeight();
    const int fitting = lineHeight > 0 ? static_cast<int>(std::rint(Height() / lineHeight)) : 0;
    TFontDescription fontDescription;
    fontDescription.family = font_.name;
    fontDescription.bold = font_.bold;
    fontDescription.italic = font_.italic;
    fontDescription.underline = font_.underline;
    fontDescription.strikeOut = font_.strikeOut;
    const QFont font = TTextService::MakeFont(fontDescription, font_.size / kPointsPerMm * kMeasureScale);
    const double width = kWrapWidth * Width() * kMeasureScale;

    for (const QString& paragraph : std::as_const(paragraphs_)) {
        QString text = FillPageNumbers(CleanParagraph(paragraph, settings.enableCp1252Charset));
        for (;;) {
            if (lines_.size() >= fitting) {
                full = true;
                break;
            }
            const int n = FittingCharacters(text, font, width);
            int length = n;
            if (wordWrap_ && n < text.size()) {
                int i = n;
                while (i > 0 && text.at(i) != QLatin1Char(' ') && text.at(i) != QLatin1Char('-'))
                    --i;
                if (i > 0)
                    length = i;
            }
            lines_.append(text.left(length).trimmed());
            text = text.mid(length);
            if (length > 0 && wordWrap_)
                text = text.trimmed();
            if (text.isEmpty() || length == 0 || !wordWrap_)
                break;
        }
        if (!text.isEmpty())
            remainder = true;
        if (full)
            break;
    }
    textCut_ = remainder || full;

    const QString joined = lines_.join(kLineBreak);
    if (joined.size() > settings.maxTextLength && settings.maxTextLength >= 0)
        lines_ = joined.left(settings.maxTextLength).split(kLineBreak);
    Notify(kChangedPosition);
}

QPointF TLabelDef::LinePosition(int index) const
{
    double x = 0;
    if (alignment_ == TAlignment::taCenter)
        x = Width() / 2;
    else if (alignment_ == TAlignment::taRightJustify)
        x = Width();
    return LocalToBounds(QPointF(x, index * LineHeight()));
}

void TLabelDef::Clear()
{
    TGraphicDef::Clear();
    paragraphs_.clear();
    UpdateLines();
}

const TSizeDef* TLabelDef::QualityProblem(int kind) const
{
    if (kind == kProblemTextCut)
        return textCut_ ? this : nullptr;
    return TGraphicDef::QualityProblem(kind);
}

void TLabelDef::AfterTrack()
{
    UpdateLines();
}

void TLabelDef::GeometryChanged(int flag)
{
    Q_UNUSED(flag);
    UpdateLines();
}

void TLabelDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "ReadXML"), [&] {
        ++updating_;
        TGraphicDef::ReadXML(node, version);
        wordWrap_ = ReadBoolAttribute(node, "wordwrap", true);
        --updating_;
    });
}

void TLabelDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "WriteXML"), [&] {
        TGraphicDef::WriteXML(node, writeVersion);
        if (!wordWrap_)
            node.append_attribute("wordwrap").set_value("false");
    });
}

void TLabelDef::ReadFontAndText(pugi::xml_node node, TDefVersion version)
{
    const pugi::xml_node font = node.child("font");
    TLabelFont read;
    read.color = static_cast<TColor>(ReadIntAttribute(font, "color")) & 0xFFFFFF;
    read.name = ReadStringAttribute(font, "name", QStringLiteral("Arial"));
    read.size = ReadFloatAttribute(font, "size", 12);
    if (!(read.size > 0) || read.size > kMaxFontSize)
        throw EQORException(2, QStringLiteral("Invalid font size"), QString::number(read.size), QString());
    read.SetStyle(ReadIntAttribute(font, "style"));
    const int alignment = ReadIntAttribute(font, "alignment", static_cast<int>(TAlignment::taCenter));
    alignment_ = alignment == 1 ? TAlignment::taLeftJustify
        : alignment == 2        ? TAlignment::taRightJustify
                                : TAlignment::taCenter;
    font_ = read;

    paragraphs_.clear();
    if (version == kDefVersion10) {
        for (pugi::xml_node text = node.child("text"); text; text = text.next_sibling("text")) {
            QString value = ReadStringAttribute(text, "value");
            if (value.endsWith(QLatin1String("\\n")))
                value.chop(2);
            paragraphs_.append(value);
        }
    } else {
        const pugi::xml_node text = node.child("text");
        for (pugi::xml_node paragraph = text.child("paragraph"); paragraph;
             paragraph = paragraph.next_sibling("paragraph"))
            paragraphs_.append(ReadStringAttribute(paragraph, "value"));
    }
}

void TLabelDef::WriteFontAndText(pugi::xml_node node) const
{
    pugi::xml_node font = node.append_child("font");
    font.append_attribute("color").set_value(ColorText(font_.color).toUtf8().constData());
    WriteStringAttribute(font, "name", font_.name);
    WriteFloatAttribute(font, "size", font_.size);
    font.append_attribute("alignment").set_value(static_cast<int>(alignment_));
    WriteIntAttribute(font, "style", font_.Style());

    pugi::xml_node text = node.append_child("text");
    for (const QString& paragraph : paragraphs_)
        text.append_child("paragraph").append_attribute("value").set_value(paragraph.toUtf8().constData());
    pugi::xml_node lines = node.append_child("lines");
    for (const QString& line : lines_)
        lines.append_child("line").append_attribute("value").set_value(line.toUtf8().constData());
}

void TLabelDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        ++updating_;
        try {
            ReadXML(node, version);
            ValidateGeometry(true, "ProductDef.TLabelDef.LoadFrom");
            ReadFontAndText(node, version);
            LoadPhoto(node, pictureFolder, version);
        } catch (...) {
            --updating_;
            throw;
        }
        --updating_;
        UpdateLines();
    });
}

bool TLabelDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    return layoutxml::Guarded(QStringLiteral("ProductDef.TGRaphicDef.InternalSaveTo"), [&] {
        WriteXML(node, writeVersion);
        WriteFontAndText(node);
        return SavePhoto(node, pictureFolder, flags, onlyTemporary, totalBytes);
    });
}

} // namespace pavlora
