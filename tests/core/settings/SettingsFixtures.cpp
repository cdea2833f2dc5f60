#include "SettingsFixtures.h"

#include "core/SystemConfig.h"
#include "support/TestSandbox.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <zip.h>

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

void WriteZip(const QString& path, const QList<std::pair<const char*, QByteArray>>& members)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create the archive");
    for (const auto& [name, bytes] : members) {
        auto* copy = static_cast<char*>(std::malloc(static_cast<std::size_t>(bytes.size())));
        std::memcpy(copy, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, static_cast<zip_uint64_t>(bytes.size()), 1);
        if (zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0)
            throw std::runtime_error("cannot add to the archive");
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write the archive");
}

void WriteSystemConfig(const QByteArray& text)
{
    WriteFile(SystemConfigFile(SystemConfigFolder()), text);
}

} // namespace pavlora::test
