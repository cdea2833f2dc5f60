#include "ui/Skin.h"

#include "skin/ECResourceManager.h"
#include "skin/FontStyle.h"
#include "skin/StyleData.h"
#include "skin/StyleRegistry.h"

#include <QPointer>

namespace pavlora::Skin {

namespace {

QPointer<TECResourceManager>& Manager()
{
    static QPointer<TECResourceManager> manager;
    return manager;
}

} // namespace

void SetResourceManager(TECResourceManager* manager)
{
    Manager() = manager;
}

TECResourceManager* ResourceManager()
{
    return Manager().data();
}

std::shared_ptr<TStyleRegistry> Styles()
{
    TECResourceManager* manager = ResourceManager();
    return manager ? manager->Styles() : nullptr;
}

std::shared_ptr<const TECPictureResource> Picture(const QString& name)
{
    TECResourceManager* manager = ResourceManager();
    if (!manager || name.isEmpty())
        return nullptr;
    return manager->GetPicture(name);
}

QColor Color(std::int32_t value)
{
    if (value == kNoColor || value == kParentColor || value < 0 || value > 0xFFFFFF)
        return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QFont Font(const TFontStyle& style)
{
    QFont font(style.name);
    if (style.name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPixelSize(std::max(1, -style.PixelHeight()));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

QString FormatPattern(const QString& pattern, const QStringList& values)
{
    QString result;
    qsizetype from = 0;
    qsizetype next = 0;
    while (true) {
        const qsizetype at = pattern.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        result += QStringView(pattern).mid(from, at - from);
        if (next < values.size())
            result += values.at(next++);
        from = at + 2;
    }
    result += QStringView(pattern).mid(from);
    return result;
}

} // namespace pavlora::Skin
