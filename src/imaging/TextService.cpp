#include "imaging/TextService.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <mutex>

namespace pavlora {
namespace {

constexpr double kReferenceDpi = 96.0;
// Every text is laid out at this pixel size and scaled to the size asked
// for: font engines round pixel sizes to whole pixels, which would change
// line breaks between sizes.
constexpr int kDesignPixels = 512;

struct TSubstitute {
    const char* family;
    const char* substitute;
};

const TSubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

// The pixel size a font of MakeFont asks for.
double PixelSizeOf(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * kReferenceDpi / 72.0;
}

// A text laid out at the design size; `scale` maps it to the font's size.
struct TDesignLayout {
    QTextLayout layout;
    double scale = 1;
    double height = 0; // in design pixels
};

void Lay(TDesignLayout& design, const QString& text, const QFont& font, const TTextFormat& format, double width)
{
    QFont designFont = font;
    designFont.setPixelSize(kDesignPixels);
    design.scale = PixelSizeOf(font) / kDesignPixels;
    design.layout.setFont(designFont);
    design.layout.setText(text);
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(format.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(format.alignment & Qt::AlignHorizontal_Mask);
    design.layout.setTextOption(option);
    design.layout.setCacheEnabled(true);
    const double designWidth = width / design.scale;
    design.layout.beginLayout();
    double y = 0;
    for (;;) {
        QTextLine line = design.layout.createLine();
        if (!line.isValid())
            break;
        if (format.wordWrap)
            line.setLineWidth(designWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    design.layout.endLayout();
    design.height = y;
}

double AlignedTop(const TTextFormat& format, double textHeight, double boxHeight)
{
    if (boxHeight < 0)
        return 0;
    if (format.alignment & Qt::AlignBottom)
        return boxHeight - textHeight;
    if (format.alignment & Qt::AlignVCenter)
        return (boxHeight - textHeight) / 2;
    return 0;
}

double AlignedLeft(const TTextFormat& format, double lineWidth, double boxWidth)
{
    if (format.alignment & Qt::AlignRight)
        return boxWidth - lineWidth;
    if (format.alignment & Qt::AlignHCenter)
        return (boxWidth - lineWidth) / 2;
    return 0;
}

} // namespace

void TTextService::Initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const TSubstitute& substitute : kSubstitutes)
            QFont::insertSubstitution(QLatin1String(substitute.family), QLatin1String(substitute.substitute));
    });
}

QString TTextService::ResolveFamily(const QString& family)
{
    for (const TSubstitute& substitute : kSubstitutes) {
        if (family.compare(QLatin1String(substitute.family), Qt::CaseInsensitive) == 0)
            return QLatin1String(substitute.substitute);
    }
    return family;
}

QFont TTextService::MakeFont(const TFontDescription& description, double pixelSize)
{
    Initialize();
    QFont font(ResolveFamily(description.family));
    // The size is kept as points at 96 dpi, which keeps fractional pixel
    // sizes (QFont::setPixelSize takes whole pixels); the layouts read it
    // back from there.
    font.setPointSizeF(std::max(pixelSize, 0.1) * 72.0 / kReferenceDpi);
    font.setBold(description.bold);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

QList<TTextLine> TTextService::LayoutText(
    const QString& text, const QFont& font, const TTextFormat& format, double width, double height)
{
    TDesignLayout design;
    Lay(design, text, font, format, width);
    const double scale = design.scale;
    const double top = AlignedTop(format, design.height * scale, height);
    QList<TTextLine> lines;
    for (int i = 0; i < design.layout.lineCount(); ++i) {
        const QTextLine line = design.layout.lineAt(i);
        const double lineWidth = line.naturalTextWidth() * scale;
        const double left
            = format.wordWrap ? line.naturalTextRect().left() * scale : AlignedLeft(format, lineWidth, width);
        lines.append({line.textStart(), line.textLength(),
            QRectF(left, top + line.y() * scale, lineWidth, line.height() * scale)});
    }
    return lines;
}

QSizeF TTextService::MeasureText(const QString& text, const QFont& font, const TTextFormat& format, double width)
{
    TDesignLayout design;
    Lay(design, text, font, format, width);
    double widest = 0;
    for (int i = 0; i < design.layout.lineCount(); ++i)
        widest = std::max(widest, design.layout.lineAt(i).naturalTextWidth());
    return QSizeF(widest * design.scale, design.height * design.scale);
}

bool TTextService::DrawTextInRect(QPainter& painter, const QString& text, const QFont& font, const TTextFormat& format,
    const QColor& color, const QRectF& rect)
{
    if (!painter.isActive())
        return false;
    TDesignLayout design;
    Lay(design, text, font, format, rect.width());
    const double scale = design.scale;
    const double top = AlignedTop(format, design.height * scale, rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(color.red(), color.green(), color.blue()));
    if (format.clip)
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.left(), rect.top() + top);
    painter.scale(scale, scale);
    if (!format.wordWrap) {
        // Unwrapped text is one line per paragraph; align each by itself.
        for (int i = 0; i < design.layout.lineCount(); ++i) {
            const QTextLine line = design.layout.lineAt(i);
            const double shift = AlignedLeft(format, line.naturalTextWidth() * scale, rect.width()) / scale;
            line.draw(&painter, QPointF(shift, 0));
        }
    } else {
        design.layout.draw(&painter, QPointF(0, 0));
    }
    painter.restore();
    return true;
}

bool TTextService::DrawTextInRect(QImage& target, const QString& text, const QFont& font, const TTextFormat& format,
    const QColor& color, const QRectF& rect)
{
    if (target.isNull())
        return false;
    QPainter painter(&target);
    return DrawTextInRect(painter, text, font, format, color, rect);
}

QStringList TTextService::ListFontFamilies()
{
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    return families;
}

bool TTextService::RegisterFontFile(const QString& path)
{
    return QFontDatabase::addApplicationFont(path) >= 0;
}

} // namespace pavlora
