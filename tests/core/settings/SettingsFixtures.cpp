#include "SettingsFixtures.h"

#include "core/SystemConfig.h"
#include "support/TestSandbox.h"

namespace pavlora::test {

QByteArray IniText(const QList<std::pair<const char*, const char*>>& values)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ini>\n";
    for (const auto& [name, value] : values) {
        if (*value)
            text += QByteArray("  <") + name + '>' + value + "</" + name + ">\n";
        else
            text += QByteArray("  <") + name + "/>\n";
    }
    return text + "</ini>\n";
}

void WriteSystemConfig(const QByteArray& text)
{
    WriteFile(SystemConfigFile(SystemConfigFolder()), text);
}

} // namespace pavlora::test
