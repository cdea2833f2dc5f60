#include "imaging/TempFileManager.h"

#include <QFile>

namespace pavlora {
namespace {

bool RemoveFile(const QString& path)
{
    return QFile::remove(path) || !QFile::exists(path);
}

} // namespace

TTempFileManager::~TTempFileManager()
{
    ReleaseAll();
}

int TTempFileManager::AddRef(const QString& path)
{
    std::lock_guard lock(mutex_);
    return ++counts_[path];
}

bool TTempFileManager::Release(const QString& path)
{
    std::lock_guard lock(mutex_);
    const auto found = counts_.find(path);
    if (found == counts_.end())
        return false;
    if (--found.value() > 0)
        return true;
    counts_.erase(found);
    return RemoveFile(path);
}

void TTempFileManager::ReleaseAll()
{
    std::lock_guard lock(mutex_);
    for (auto it = counts_.cbegin(); it != counts_.cend(); ++it)
        RemoveFile(it.key());
    counts_.clear();
}

int TTempFileManager::RefCount(const QString& path) const
{
    std::lock_guard lock(mutex_);
    return counts_.value(path, 0);
}

} // namespace pavlora
