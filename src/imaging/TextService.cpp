#include "imaging/TextService.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <mutex>

namespace pavlora {
namespace {

constexpr double kReferenceDpi = 96.0;

struct TSubstitute {
    const char* family;
    const char* substitute;
};

const TSubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

// The device every layout is made for: 96 dpi, whatever the screen says.
QPaintDevice* ReferenceDevice()
{
    static QImage* device = [] {
        auto* image = new QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = static_cast<int>(kReferenceDpi / 0.0254 + 0.5);
        image->setDotsPerMeterX(dotsPerMeter);
        image->setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

QTextOption MakeOption(const TTextFormat& format)
{
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(format.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(format.alignment & Qt::AlignHorizontal_Mask);
    return option;
}

// Lays out the whole text in `width` and returns its natural height.
double LayoutLines(QTextLayout& layout, const TTextFormat& format, double width)
{
    layout.setTextOption(MakeOption(format));
    layout.setCacheEnabled(true);
    layout.beginLayout();
    double y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        if (format.wordWrap)
            line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
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
        ReferenceDevice();
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

QFont TTextService::MakeFont(const TFontSpec& spec, double pixelSize)
{
    Initialize();
    QFont font(ResolveFamily(spec.family));
    // Points at the 96-dpi reference device give exactly `pixelSize` pixels,
    // also for fractional sizes (QFont::setPixelSize takes whole pixels).
    font.setPointSizeF(std::max(pixelSize, 0.1) * 72.0 / kReferenceDpi);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

QList<TTextLine> TTextService::LayoutText(
    const QString& text, const QFont& font, const TTextFormat& format, double width, double height)
{
    QTextLayout layout(text, font, ReferenceDevice());
    const double textHeight = LayoutLines(layout, format, width);
    const double top = AlignedTop(format, textHeight, height);
    QList<TTextLine> lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const double lineWidth = line.naturalTextWidth();
        const double left = format.wordWrap ? line.naturalTextRect().left() : AlignedLeft(format, lineWidth, width);
        lines.append({line.textStart(), line.textLength(), QRectF(left, top + line.y(), lineWidth, line.height())});
    }
    return lines;
}

QSizeF TTextService::MeasureText(const QString& text, const QFont& font, const TTextFormat& format, double width)
{
    QTextLayout layout(text, font, ReferenceDevice());
    const double height = LayoutLines(layout, format, width);
    double widest = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        widest = std::max(widest, layout.lineAt(i).naturalTextWidth());
    return QSizeF(widest, height);
}

bool TTextService::DrawTextInRect(QPainter& painter, const QString& text, const QFont& font, const TTextFormat& format,
    const QColor& color, const QRectF& rect)
{
    if (!painter.isActive())
        return false;
    QTextLayout layout(text, font, ReferenceDevice());
    const double textHeight = LayoutLines(layout, format, rect.width());
    const double top = AlignedTop(format, textHeight, rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(color.red(), color.green(), color.blue()));
    if (format.clip)
        painter.setClipRect(rect, Qt::IntersectClip);
    double shift = 0;
    if (!format.wordWrap) {
        // Unwrapped text is one line per paragraph; align each by itself.
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            shift = AlignedLeft(format, line.naturalTextWidth(), rect.width());
            line.draw(&painter, QPointF(rect.left() + shift, rect.top() + top));
        }
    } else {
        layout.draw(&painter, QPointF(rect.left(), rect.top() + top));
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
