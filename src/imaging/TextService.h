#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QImage;
class QPainter;

namespace pavlora {

// A font as the layouts and the skin describe it: a family name and style
// flags. The size is given separately in pixels.
struct TFontDescription {
    QString family;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// How a text sits in its rectangle (the string format of the drawing
// calls). The default puts it at the top left and wraps at word boundaries
// (inside a word only when the word alone is too wide).
struct TTextFormat {
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = true;
    bool clip = false; // cut off what falls outside the rectangle
};

// One line of a laid-out text: the range of the text it shows and its box
// relative to the top left of the text.
struct TTextLine {
    int start = 0;
    int length = 0;
    QRectF rect;
};

// The one text measurement and drawing service of the program.
//
// Wrapping, fit checks and drawing on screen, in thumbnails and in print all
// lay text out here, so that a line breaks at the same word everywhere:
// fonts are made unhinted (QFont::PreferNoHinting), every text is laid out
// with design metrics at one fixed design size and scaled to the size asked
// for (font engines round sizes to whole pixels, which would move line
// breaks), and drawn from that layout whatever the target's resolution.
// Font sizes are in pixels of the target (a layout in millimetres converts
// its point sizes first); fractional sizes are kept.
//
// "Arial" is served by Liberation Sans (metrically compatible), "Times New
// Roman" by Liberation Serif and "Courier New" by Liberation Mono; data-folder
// fonts are added with RegisterFontFile.
//
// Needs a QGuiApplication. Initialize() runs once on the UI thread before
// other threads use the service; afterwards every function may be called
// from any thread that draws on QImages.
class TTextService {
public:
    static void Initialize();

    // The installed family that serves `family`.
    static QString ResolveFamily(const QString& family);

    // A font of the description's family and style at `pixelSize` pixels.
    static QFont MakeFont(const TFontDescription& description, double pixelSize);

    // The lines of `text` laid out in `width` pixels (no limit when
    // `format.wordWrap` is off), placed as the format aligns them inside a
    // rectangle of `width` × `height` (`height` < 0: the text's own height).
    static QList<TTextLine> LayoutText(
        const QString& text, const QFont& font, const TTextFormat& format, double width, double height = -1);

    // The size the text takes when wrapped in `width` pixels.
    static QSizeF MeasureText(const QString& text, const QFont& font, const TTextFormat& format, double width);

    // Draws `text` in `color` (opaque) into `rect` of the painter's device
    // with anti-aliasing. False when there is nothing to draw on.
    static bool DrawTextInRect(QPainter& painter, const QString& text, const QFont& font, const TTextFormat& format,
        const QColor& color, const QRectF& rect);
    static bool DrawTextInRect(QImage& target, const QString& text, const QFont& font, const TTextFormat& format,
        const QColor& color, const QRectF& rect);

    // The names of every installed font family, sorted.
    static QStringList ListFontFamilies();

    // Makes the fonts of a font file available to the program; false when
    // the file holds no usable font.
    static bool RegisterFontFile(const QString& path);
};

} // namespace pavlora
