#include "core/DesignFolders.h"

#include <QFileInfo>

namespace pavlora {

QString WithoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

TDesignFolders ComputeDesignFolders(const TDesignFolderSettings& settings)
{
    TDesignFolders slots;
    const QString program = WithoutTrailingSlash(settings.programFolder);
    const QString data = WithoutTrailingSlash(settings.dataFolder);
    slots[dsProgram] = program;
    slots[dsData] = data;
    slots[dsResource] = program + QLatin1Char('/') + settings.resourceFileName;
    if (!settings.languageExtension.isEmpty()) {
        slots[dsDataLanguage] = data + QLatin1Char('.') + settings.languageExtension;
        slots[dsResourceLanguage] = slots[dsResource] + QLatin1Char('.') + settings.languageExtension;
    }
    for (std::size_t index = 0; index < slots.size(); ++index) {
        QString& slot = slots[index];
        if (slot.isEmpty())
            continue;
        const bool archiveSlot = index == dsResource || index == dsResourceLanguage;
        const bool present
            = QFileInfo(slot).isDir() || (archiveSlot && QFileInfo(slot + QStringLiteral(".zip")).isFile());
        slot = present ? slot + QLatin1Char('/') : QString();
    }
    return slots;
}

} // namespace pavlora
