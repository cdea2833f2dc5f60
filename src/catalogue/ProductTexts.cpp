#include "catalogue/ProductTexts.h"

#include "core/PathPlaceholders.h"
#include "core/XMLUtils2.h"

#include <QFileInfo>

namespace pavlora {

void TProductTexts::Load()
{
    Load(ExpandPath(QStringLiteral("{Data}/")), ExpandPath(QStringLiteral("{DataLng}/")));
}

void TProductTexts::Load(const QString& dataFolder, const QString& dataLanguageFolder)
{
    const auto inFolder = [](const QString& folder, const QString& name) {
        return folder.endsWith(QLatin1Char('/')) ? QString(folder + name) : QString(folder + QLatin1Char('/') + name);
    };
    TNameValueList texts;
    ReadIniFile(texts, inFolder(dataFolder, QStringLiteral("ProdTexts.dat")));
    if (!dataLanguageFolder.isEmpty() && !dataLanguageFolder.startsWith(QLatin1Char('{'))
        && QFileInfo::exists(inFolder(dataFolder, QStringLiteral("AppRgn.dat"))))
        ReadIniFile(texts, inFolder(dataLanguageFolder, QStringLiteral("ProdTexts.dat")));
    texts_ = texts;
}

} // namespace pavlora
