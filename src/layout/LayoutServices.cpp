#include "layout/LayoutServices.h"

#include "imaging/ImageUtils.h"
#include "imaging/TempFileManager.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace pavlora {
namespace {

QMutex servicesMutex;
TLayoutSettings layoutSettings;

class TNoFileUsageRegister final : public IFileUsageRegister {
public:
    void Add(const QString&, const QString&, int) override { }
    void Reset() override { }
};

// Loads the picture through the picture facade; no caching.
class TDirectBitmapSource final : public ILayoutBitmapSource {
public:
    QImage GetBitmap(const QString& fileName, int size, bool slot) override
    {
        Q_UNUSED(slot);
        const int box = std::max(size, 1);
        return TImageUtils::Instance().LoadBitmap(fileName, box, box);
    }
};

TNoFileUsageRegister noFileUsage;
TDirectBitmapSource directBitmaps;
IFileUsageRegister* fileUsage = &noFileUsage;
ILayoutBitmapSource* bitmapSource = &directBitmaps;

} // namespace

TLayoutSettings LayoutSettings()
{
    QMutexLocker lock(&servicesMutex);
    return layoutSettings;
}

void SetLayoutSettings(const TLayoutSettings& settings)
{
    QMutexLocker lock(&servicesMutex);
    layoutSettings = settings;
}

IFileUsageRegister& FileUsageRegister()
{
    QMutexLocker lock(&servicesMutex);
    return *fileUsage;
}

void SetFileUsageRegister(IFileUsageRegister* registry)
{
    QMutexLocker lock(&servicesMutex);
    fileUsage = registry ? registry : &noFileUsage;
}

ILayoutBitmapSource& LayoutBitmapSource()
{
    QMutexLocker lock(&servicesMutex);
    return *bitmapSource;
}

void SetLayoutBitmapSource(ILayoutBitmapSource* source)
{
    QMutexLocker lock(&servicesMutex);
    bitmapSource = source ? source : &directBitmaps;
}

TTempFileManager& TempFileManager()
{
    static TTempFileManager manager;
    return manager;
}

} // namespace pavlora
