#include "core/ZipArchive.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace pavlora {
namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

ZipHandle OpenArchive(const QString& path)
{
    int error = 0;
    return ZipHandle(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
}

QString MemberKey(const char* stored)
{
    return QString::fromUtf8(stored).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

TZipArchive::TZipArchive(QString path)
    : path_(std::move(path))
{
    const ZipHandle archive = OpenArchive(path_);
    if (!archive)
        return;
    open_ = true;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* stored = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!stored)
            continue;
        const QString key = MemberKey(stored);
        const QString storedName = QString::fromUtf8(stored);
        members_.insert(key, storedName);
        membersByLower_.insert(key.toLower(), storedName);
    }
}

std::optional<QString> TZipArchive::FindMember(const QString& name) const
{
    if (const auto exact = members_.constFind(name); exact != members_.constEnd())
        return *exact;
    if (const auto folded = membersByLower_.constFind(name.toLower()); folded != membersByLower_.constEnd())
        return *folded;
    return std::nullopt;
}

std::optional<QByteArray> TZipArchive::ReadMember(const QString& name, std::int64_t maxSize) const
{
    const std::optional<QString> stored = FindMember(name);
    if (!stored)
        return std::nullopt;
    const ZipHandle archive = OpenArchive(path_);
    if (!archive)
        return std::nullopt;
    const QByteArray storedName = stored->toUtf8();
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat(archive.get(), storedName.constData(), 0, &status) != 0 || !(status.valid & ZIP_STAT_SIZE)
        || status.size > static_cast<zip_uint64_t>(maxSize))
        return std::nullopt;
    const std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen(archive.get(), storedName.constData(), 0));
    if (!file)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(status.size), Qt::Uninitialized);
    zip_int64_t total = 0;
    while (total < static_cast<zip_int64_t>(status.size)) {
        const zip_int64_t read = zip_fread(file.get(), bytes.data() + total, status.size - total);
        if (read <= 0)
            return std::nullopt; // truncated or corrupt: the declared size was a lie
        total += read;
    }
    return bytes;
}

} // namespace pavlora
