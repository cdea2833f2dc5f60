// pavlora-skin-art OUTPUT_DATA_FOLDER OUTPUT_SVG_FOLDER
// Draws the pictures of the demo deployment's skin: every picture is
// described once as a list of shapes, written as an SVG source and painted
// into a PNG with QPainter, so both stay the same drawing. Run by hand when
// the drawings change; its output is committed.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// One shape of a drawing. Coordinates are in the picture's pixels.
struct Shape {
    enum Kind { Rect, Ellipse, Line, Polygon, Arc, Text } kind;
    std::vector<QPointF> points; // Line/Polygon: the points; Rect/Ellipse: top-left and bottom-right
    QColor fill; // invalid: none
    QColor fill2; // second gradient colour (vertical gradient), invalid: plain fill
    QColor stroke; // invalid: none
    double width = 0; // stroke width
    double radius = 0; // Rect: corner radius; Arc: radius
    double start = 0, span = 0; // Arc: degrees, counter-clockwise from three o'clock
    QString text; // Text: drawn centred on points[0]
    int fontPixels = 0;
    bool bold = false;
};

struct Drawing {
    QString name; // relative path without extension
    int width;
    int height;
    std::vector<Shape> shapes;
};

QString Colour(const QColor& colour)
{
    if (!colour.isValid())
        return QStringLiteral("none");
    return colour.name(QColor::HexRgb);
}

QString Opacity(const char* attribute, const QColor& colour)
{
    if (!colour.isValid() || colour.alpha() == 255)
        return {};
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(attribute)).arg(colour.alphaF(), 0, 'f', 3);
}

QString Number(double value)
{
    return QString::number(value, 'g', 6);
}

QPointF ArcPoint(const Shape& shape, double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return {
        shape.points[0].x() + shape.radius * std::cos(radians), shape.points[0].y() - shape.radius * std::sin(radians)};
}

QString Svg(const Drawing& drawing)
{
    QString out = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n")
                      .arg(drawing.width)
                      .arg(drawing.height);
    int gradients = 0;
    for (const Shape& s : drawing.shapes) {
        QString fill = Colour(s.fill);
        if (s.fill2.isValid()) {
            const QString id = QStringLiteral("g%1").arg(gradients++);
            out += QStringLiteral(
                "  <defs><linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" "
                "stop-color=\"%2\"%3/><stop offset=\"1\" stop-color=\"%4\"%5/></linearGradient></defs>\n")
                       .arg(id, Colour(s.fill), Opacity("stop-opacity", s.fill), Colour(s.fill2),
                           Opacity("stop-opacity", s.fill2));
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        const QString paint
            = QStringLiteral(" fill=\"%1\"%2 stroke=\"%3\"%4 stroke-width=\"%5\" stroke-linecap=\"round\" "
                             "stroke-linejoin=\"round\"")
                  .arg(fill, s.fill2.isValid() ? QString() : Opacity("fill-opacity", s.fill), Colour(s.stroke),
                      Opacity("stroke-opacity", s.stroke), Number(s.width));
        switch (s.kind) {
        case Shape::Rect:
            out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                       .arg(Number(s.points[0].x()), Number(s.points[0].y()), Number(s.points[1].x() - s.points[0].x()),
                           Number(s.points[1].y() - s.points[0].y()), Number(s.radius), paint);
            break;
        case Shape::Ellipse: {
            const QRectF box(s.points[0], s.points[1]);
            out += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"%5/>\n")
                       .arg(Number(box.center().x()), Number(box.center().y()), Number(box.width() / 2),
                           Number(box.height() / 2), paint);
            break;
        }
        case Shape::Line:
        case Shape::Polygon: {
            QStringList points;
            for (const QPointF& p : s.points)
                points.append(Number(p.x()) + QLatin1Char(',') + Number(p.y()));
            out += QStringLiteral("  <%1 points=\"%2\"%3/>\n")
                       .arg(s.kind == Shape::Line ? QStringLiteral("polyline") : QStringLiteral("polygon"),
                           points.join(QLatin1Char(' ')), paint);
            break;
        }
        case Shape::Arc: {
            const QPointF from = ArcPoint(s, s.start);
            const QPointF to = ArcPoint(s, s.start + s.span);
            out += QStringLiteral("  <path d=\"M %1 %2 A %3 %3 0 %4 %5 %6 %7\"%8/>\n")
                       .arg(Number(from.x()), Number(from.y()), Number(s.radius),
                           std::abs(s.span) > 180 ? QStringLiteral("1") : QStringLiteral("0"),
                           s.span > 0 ? QStringLiteral("0") : QStringLiteral("1"), Number(to.x()), Number(to.y()),
                           paint);
            break;
        }
        case Shape::Text:
            out += QStringLiteral(
                "  <text x=\"%1\" y=\"%2\" font-family=\"Liberation Sans, Arial, sans-serif\" "
                "font-size=\"%3\" font-weight=\"%4\" text-anchor=\"middle\" dominant-baseline=\"central\" "
                "fill=\"%5\"%6>%7</text>\n")
                       .arg(Number(s.points[0].x()), Number(s.points[0].y()), QString::number(s.fontPixels),
                           s.bold ? QStringLiteral("bold") : QStringLiteral("normal"), Colour(s.fill),
                           Opacity("fill-opacity", s.fill), s.text.toHtmlEscaped());
            break;
        }
    }
    out += QStringLiteral("</svg>\n");
    return out;
}

QImage Paint(const Drawing& drawing)
{
    QImage image(drawing.width, drawing.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Shape& s : drawing.shapes) {
        QPen pen = s.stroke.isValid() ? QPen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                      : QPen(Qt::NoPen);
        painter.setPen(pen);
        QBrush brush = Qt::NoBrush;
        if (s.fill.isValid() && s.kind != Shape::Text) {
            if (s.fill2.isValid()) {
                const double top = s.points[0].y();
                const double bottom = s.points.size() > 1 ? s.points[1].y() : top + drawing.height;
                QLinearGradient gradient(0, top, 0, bottom);
                gradient.setColorAt(0, s.fill);
                gradient.setColorAt(1, s.fill2);
                brush = QBrush(gradient);
            } else {
                brush = QBrush(s.fill);
            }
        }
        painter.setBrush(brush);
        switch (s.kind) {
        case Shape::Rect:
            painter.drawRoundedRect(QRectF(s.points[0], s.points[1]), s.radius, s.radius);
            break;
        case Shape::Ellipse:
            painter.drawEllipse(QRectF(s.points[0], s.points[1]));
            break;
        case Shape::Line:
            painter.drawPolyline(s.points.data(), static_cast<int>(s.points.size()));
            break;
        case Shape::Polygon:
            painter.drawPolygon(s.points.data(), static_cast<int>(s.points.size()));
            break;
        case Shape::Arc: {
            QPainterPath path;
            const QRectF box(s.points[0].x() - s.radius, s.points[0].y() - s.radius, 2 * s.radius, 2 * s.radius);
            path.arcMoveTo(box, s.start);
            path.arcTo(box, s.start, s.span);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            break;
        }
        case Shape::Text: {
            QFont font(QStringLiteral("Liberation Sans"));
            font.setPixelSize(s.fontPixels);
            font.setBold(s.bold);
            painter.setFont(font);
            painter.setPen(s.fill);
            const QRectF box(s.points[0].x() - drawing.width, s.points[0].y() - s.fontPixels, 2.0 * drawing.width,
                2.0 * s.fontPixels);
            painter.drawText(box, Qt::AlignCenter, s.text);
            break;
        }
        }
    }
    return image;
}

// Shape builders.
Shape Make(Shape::Kind kind, std::vector<QPointF> points, QColor fill, QColor fill2, QColor stroke, double width)
{
    Shape s{kind, std::move(points), fill, fill2, stroke, width, 0, 0, 0, QString(), 0, false};
    return s;
}
Shape RoundRect(double x, double y, double w, double h, double r, QColor fill, QColor stroke = {}, double width = 0,
    QColor fill2 = {})
{
    Shape s = Make(Shape::Rect, {{x, y}, {x + w, y + h}}, fill, fill2, stroke, width);
    s.radius = r;
    return s;
}
Shape Circle(double cx, double cy, double r, QColor fill, QColor stroke = {}, double width = 0)
{
    return Make(Shape::Ellipse, {{cx - r, cy - r}, {cx + r, cy + r}}, fill, {}, stroke, width);
}
Shape Oval(double cx, double cy, double rx, double ry, QColor stroke, double width)
{
    return Make(Shape::Ellipse, {{cx - rx, cy - ry}, {cx + rx, cy + ry}}, {}, {}, stroke, width);
}
Shape Lines(std::vector<QPointF> points, QColor stroke, double width)
{
    return Make(Shape::Line, std::move(points), {}, {}, stroke, width);
}
Shape Poly(std::vector<QPointF> points, QColor fill, QColor stroke = {}, double width = 0)
{
    return Make(Shape::Polygon, std::move(points), fill, {}, stroke, width);
}
Shape ArcShape(double cx, double cy, double r, double start, double span, QColor stroke, double width)
{
    Shape s = Make(Shape::Arc, {{cx, cy}}, {}, {}, stroke, width);
    s.radius = r;
    s.start = start;
    s.span = span;
    return s;
}
Shape Label(double cx, double cy, const QString& text, int pixels, bool bold, QColor colour)
{
    Shape s = Make(Shape::Text, {{cx, cy}}, colour, {}, {}, 0);
    s.text = text;
    s.fontPixels = pixels;
    s.bold = bold;
    return s;
}

// Scales a 24-unit line icon to `size` pixels.
std::vector<Shape> Scaled(std::vector<Shape> shapes, double factor)
{
    for (Shape& s : shapes) {
        for (QPointF& p : s.points)
            p *= factor;
        s.width *= factor;
        s.radius *= factor;
        s.fontPixels = static_cast<int>(std::lround(s.fontPixels * factor));
    }
    return shapes;
}

// The line icons, drawn on a 24 x 24 grid with `ink`.
std::vector<Shape> LineIcon(const QString& id, QColor ink, QColor back)
{
    const double w = 2;
    if (id == QLatin1String("Overview"))
        return {Lines({{3, 11.5}, {12, 4}, {21, 11.5}}, ink, w), Lines({{6, 10}, {6, 20}, {18, 20}, {18, 10}}, ink, w),
            Lines({{10, 20}, {10, 14.5}, {14, 14.5}, {14, 20}}, ink, w)};
    if (id == QLatin1String("Organizing"))
        return {RoundRect(3, 5, 18, 14, 2.5, {}, ink, w), Circle(8.5, 10, 1.8, {}, ink, 1.6),
            Lines({{4, 18}, {10, 12.5}, {14, 16}, {17, 13.5}, {20.5, 17}}, ink, w)};
    if (id == QLatin1String("Cart"))
        return {Lines({{2, 4}, {5, 4}, {7.8, 15.5}, {18.5, 15.5}, {21, 7.5}, {6.2, 7.5}}, ink, w),
            Circle(9.5, 19.5, 1.6, ink), Circle(17.5, 19.5, 1.6, ink)};
    if (id == QLatin1String("Pricelist"))
        return {Poly({{3, 12.5}, {12.5, 3}, {21, 3}, {21, 11.5}, {11.5, 21}}, {}, ink, w), Circle(16.5, 7.5, 1.7, ink)};
    if (id == QLatin1String("Settings"))
        return {Lines({{4, 6}, {20, 6}}, ink, w), Lines({{4, 12}, {20, 12}}, ink, w),
            Lines({{4, 18}, {20, 18}}, ink, w), Circle(9, 6, 2.4, back, ink, w), Circle(15.5, 12, 2.4, back, ink, w),
            Circle(7.5, 18, 2.4, back, ink, w)};
    if (id == QLatin1String("Update"))
        return {ArcShape(12, 12, 7.5, 60, 270, ink, w), Lines({{15.2, 2.8}, {15.75, 5.5}, {12.8, 6.6}}, ink, w)};
    if (id == QLatin1String("Help"))
        return {Circle(12, 12, 9, {}, ink, w), Label(12, 12.5, QStringLiteral("?"), 14, true, ink)};
    if (id == QLatin1String("Website"))
        return {Circle(12, 12, 9, {}, ink, w), Oval(12, 12, 4, 9, ink, 1.6), Lines({{3, 12}, {21, 12}}, ink, 1.6)};
    if (id == QLatin1String("Intro"))
        return {Circle(12, 12, 9, {}, ink, w), Poly({{10, 8}, {16, 12}, {10, 16}}, ink)};
    if (id == QLatin1String("Close"))
        return {Lines({{6, 6}, {18, 18}}, ink, w), Lines({{18, 6}, {6, 18}}, ink, w)};
    if (id == QLatin1String("Prints"))
        return {RoundRect(6.5, 3.5, 14, 11, 1.5, back, ink, 1.5), RoundRect(3.5, 7.5, 14, 11, 1.5, back, ink, 1.5),
            Lines({{5, 17}, {9, 13}, {12, 15.5}, {14, 14}, {16.5, 16.5}}, ink, 1.3), Circle(8, 11.5, 1.2, ink)};
    if (id == QLatin1String("Photobook"))
        return {Lines({{12, 6}, {12, 20}}, ink, 1.5),
            Poly({{12, 6}, {7, 4.5}, {2.5, 5}, {2.5, 19}, {7, 18.5}, {12, 20}}, {}, ink, 1.5),
            Poly({{12, 6}, {17, 4.5}, {21.5, 5}, {21.5, 19}, {17, 18.5}, {12, 20}}, {}, ink, 1.5),
            Lines({{14.5, 14.5}, {16.5, 12}, {19.5, 15.5}}, ink, 1.3)};
    if (id == QLatin1String("Products"))
        return {RoundRect(4, 9, 16, 12, 1.5, {}, ink, 1.5), RoundRect(3, 6, 18, 4, 1, back, ink, 1.5),
            Lines({{12, 6}, {12, 21}}, ink, 1.5), ArcShape(9.5, 5, 2.5, -30, 240, ink, 1.4),
            ArcShape(14.5, 5, 2.5, -30 - 180 + 180, 240, ink, 1.4)};
    return {RoundRect(3, 3, 18, 18, 3, {}, ink, w)};
}

QColor Hex(const char* name, int alpha = 255)
{
    QColor colour = QColor::fromString(QLatin1String(name));
    colour.setAlpha(alpha);
    return colour;
}

// A solid round badge with a white mark, for the kinds of message.
std::vector<Shape> KindIcon(const QString& kind)
{
    const QColor white = Qt::white;
    if (kind == QLatin1String("MsgDlgWarning"))
        return {Poly({{10, 1.5}, {19, 17.5}, {1, 17.5}}, Hex("#F0A020"), Hex("#F0A020"), 2),
            Label(10, 11.5, QStringLiteral("!"), 12, true, white)};
    if (kind == QLatin1String("MsgDlgError"))
        return {Circle(10, 10, 9, Hex("#D9453B")), Lines({{6.5, 6.5}, {13.5, 13.5}}, white, 2.2),
            Lines({{13.5, 6.5}, {6.5, 13.5}}, white, 2.2)};
    if (kind == QLatin1String("MsgDlgInformation"))
        return {Circle(10, 10, 9, Hex("#2F7FC1")), Label(10, 10.5, QStringLiteral("i"), 13, true, white)};
    if (kind == QLatin1String("MsgDlgConfirm"))
        return {Circle(10, 10, 9, Hex("#1F7A8C")), Label(10, 10.5, QStringLiteral("?"), 13, true, white)};
    return {Circle(10, 10, 9, Hex("#3C9D5D")), Label(10, 10.5, QStringLiteral("!"), 13, true, white)};
}

const char* const kStates[] = {"Up", "Focus", "High", "Press", "Down", "Dis"};

bool Write(const Drawing& drawing, const QString& dataFolder, const QString& svgFolder)
{
    const QString png = dataFolder + QLatin1Char('/') + drawing.name + QStringLiteral(".png");
    const QString svg = svgFolder + QLatin1Char('/') + drawing.name + QStringLiteral(".svg");
    QDir().mkpath(QFileInfo(png).absolutePath());
    QDir().mkpath(QFileInfo(svg).absolutePath());
    QFile svgFile(svg);
    if (!Paint(drawing).save(png, "PNG", 9) || !svgFile.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(drawing.name));
        return false;
    }
    svgFile.write(Svg(drawing).toUtf8());
    return true;
}

std::vector<Drawing> Drawings()
{
    std::vector<Drawing> drawings;
    const QColor teal = Hex("#1F6F8B");
    // Navigation: white line icons on the teal bar, 24 px.
    for (const char* id :
        {"Overview", "Organizing", "Cart", "Pricelist", "Settings", "Update", "Help", "Website", "Intro", "Close"}) {
        for (const char* state : kStates) {
            const bool disabled = QLatin1String(state) == QLatin1String("Dis");
            const QColor ink = disabled ? Hex("#FFFFFF", 110) : Hex("#FFFFFF");
            drawings.push_back({QStringLiteral("Icons/Nav_%1_%2").arg(QLatin1String(id), QLatin1String(state)), 24, 24,
                LineIcon(QLatin1String(id), ink, teal)});
        }
    }
    // Start page tiles: teal line icons, 48 px.
    for (const char* id : {"Prints", "Photobook", "Products", "Organizing"}) {
        for (const char* state : kStates) {
            const bool disabled = QLatin1String(state) == QLatin1String("Dis");
            drawings.push_back({QStringLiteral("Icons/Start_%1_%2").arg(QLatin1String(id), QLatin1String(state)), 48,
                48, Scaled(LineIcon(QLatin1String(id), disabled ? Hex("#B8C2C8") : teal, Qt::white), 2.0)});
        }
    }
    // Message kinds: the same picture in every state (the header is a disabled button).
    for (const char* kind : {"MsgDlgWarning", "MsgDlgError", "MsgDlgInformation", "MsgDlgConfirm", "MsgDlgAdvice"})
        for (const char* state : kStates)
            drawings.push_back({QStringLiteral("Icons/%1_%2").arg(QLatin1String(kind), QLatin1String(state)), 20, 20,
                KindIcon(QLatin1String(kind))});
    // Footer button marks, 16 px.
    for (const char* state : kStates) {
        const bool disabled = QLatin1String(state) == QLatin1String("Dis");
        const QString suffix = QLatin1String(state);
        drawings.push_back({QStringLiteral("Icons/OKF_") + suffix, 16, 16,
            {Lines({{3, 8.5}, {6.5, 12}, {13, 4.5}}, disabled ? Hex("#B8C2C8") : Hex("#2E9A5C"), 2.2)}});
        drawings.push_back({QStringLiteral("Icons/Cancel_") + suffix, 16, 16,
            {Lines({{4, 4}, {12, 12}}, disabled ? Hex("#B8C2C8") : Hex("#C8463D"), 2.2),
                Lines({{12, 4}, {4, 12}}, disabled ? Hex("#B8C2C8") : Hex("#C8463D"), 2.2)}});
        drawings.push_back({QStringLiteral("Icons/Update_") + suffix, 16, 16,
            Scaled(LineIcon(QStringLiteral("Update"), disabled ? Hex("#B8C2C8") : Hex("#2F7FC1"), Qt::white),
                16.0 / 24.0)});
    }
    // Button backgrounds, drawn with fixed edges of 8 pixels.
    for (const char* state : kStates) {
        const QString s = QLatin1String(state);
        const bool high = s == QLatin1String("High") || s == QLatin1String("Focus");
        const bool pressed = s == QLatin1String("Press") || s == QLatin1String("Down");
        const bool disabled = s == QLatin1String("Dis");
        drawings.push_back({QStringLiteral("Buttons/Footer_") + s, 40, 30,
            {RoundRect(0.5, 0.5, 39, 29, 6,
                disabled      ? Hex("#F6F7F8")
                    : pressed ? Hex("#E3E8EC")
                              : Hex("#FFFFFF"),
                disabled   ? Hex("#DDE2E6")
                    : high ? Hex("#1F7A8C")
                           : Hex("#C3CCD4"),
                high ? 1.5 : 1,
                disabled      ? QColor()
                    : pressed ? Hex("#D7DEE3")
                              : Hex("#EEF2F5"))}});
        std::vector<Shape> nav;
        if (high || pressed)
            nav.push_back(RoundRect(0, 0, 40, 60, 8, Hex("#FFFFFF", pressed ? 64 : 36)));
        else
            nav.push_back(RoundRect(0, 0, 40, 60, 8, Hex("#FFFFFF", 0)));
        drawings.push_back({QStringLiteral("Buttons/Nav_") + s, 40, 60, nav});
        drawings.push_back({QStringLiteral("Buttons/Tile_") + s, 60, 60,
            {RoundRect(1, 2, 58, 57, 12, Hex("#1F3A4A", disabled ? 0 : 18)),
                RoundRect(0.5, 0.5, 59, 57, 12,
                    disabled      ? Hex("#F7F8F9")
                        : pressed ? Hex("#EEF6F8")
                                  : Hex("#FFFFFF"),
                    disabled   ? Hex("#E4E8EB")
                        : high ? Hex("#1F7A8C")
                               : Hex("#D8DFE4"),
                    high ? 2 : 1)}});
    }
    // The logo on the navigation bar.
    drawings.push_back({QStringLiteral("Headlines/Logo1"), 170, 44,
        {RoundRect(4, 6, 32, 32, 9, Hex("#FFFFFF")), Circle(20, 22, 9, Hex("#F2A541")),
            Circle(20, 22, 4.5, Hex("#1F6F8B")), Label(104, 22, QStringLiteral("Pavlora"), 24, true, Hex("#FFFFFF"))}});
    drawings.push_back(
        {QStringLiteral("Headlines/Logo2"), 170, 44, {Label(85, 22, QStringLiteral("Pavlora"), 24, true, teal)}});
    // The arrow drawn over a picture to point at it.
    drawings.push_back({QStringLiteral("Images/ArrowOnPicture"), 32, 32,
        {Circle(16, 16, 15, Hex("#1F3A4A", 150)), Circle(16, 16, 13, Hex("#F2A541"), Hex("#FFFFFF"), 2),
            Poly({{9, 13.5}, {16, 13.5}, {16, 8.5}, {24, 16}, {16, 23.5}, {16, 18.5}, {9, 18.5}}, Hex("#FFFFFF"))}});
    // The splash window.
    drawings.push_back({QStringLiteral("Splash/Splash"), 480, 300,
        {RoundRect(0, 0, 480, 300, 0, Hex("#1F6F8B"), {}, 0, Hex("#164E63")), Circle(410, 60, 120, Hex("#FFFFFF", 14)),
            Circle(60, 290, 90, Hex("#FFFFFF", 10)), RoundRect(200, 70, 80, 80, 22, Hex("#FFFFFF")),
            Circle(240, 110, 22, Hex("#F2A541")), Circle(240, 110, 11, Hex("#1F6F8B")),
            Label(240, 185, QStringLiteral("Pavlora"), 40, true, Hex("#FFFFFF")),
            Label(240, 222, QStringLiteral("Ihre Fotos. Ihre Produkte."), 15, false, Hex("#FFFFFF", 210))}});
    return drawings;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: pavlora-skin-art DATA_FOLDER SVG_FOLDER\n");
        return 2;
    }
    int written = 0;
    for (const Drawing& drawing : Drawings()) {
        if (!Write(drawing, arguments.at(1), arguments.at(2)))
            return 1;
        ++written;
    }
    std::printf("%d pictures written\n", written);
    return 0;
}
