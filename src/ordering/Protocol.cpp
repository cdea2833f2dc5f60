#include "ordering/Protocol.h"

#include "core/QORException.h"

namespace pavlora {
namespace {

[[noreturn]] void NotAvailable(const char* operation)
{
    throw EQORException(2, QStringLiteral("operation not available: ") + QLatin1String(operation), QString(),
        QStringLiteral("Protocol.TProtocol.") + QLatin1String(operation));
}

} // namespace

void TProtocol::CreateOnlineOrder(TQOROrder&)
{
    NotAvailable("CreateOnlineOrder");
}

void TProtocol::CreateCDOrderOnline(TQOROrder&)
{
    NotAvailable("CreateCDOrderOnline");
}

void TProtocol::CreateCDOrderOffline(TQOROrder&)
{
    NotAvailable("CreateCDOrderOffline");
}

void TProtocol::ResumeOnlineOrderCreation(TQOROrder&, TQOROrderResume&)
{
    NotAvailable("ResumeOnlineOrderCreation");
}

void TProtocol::Upload(TQOROrder&)
{
    NotAvailable("Upload");
}

void TProtocol::NotifyUploadView(TUploadViewAction action, TUploadProgress progress) const
{
    constexpr qsizetype kMaxPath = 255;
    if (progress.filePath.size() > kMaxPath) {
        // Never half a character.
        const bool splitsPair = progress.filePath.at(kMaxPath - 1).isHighSurrogate();
        progress.filePath.truncate(splitsPair ? kMaxPath - 1 : kMaxPath);
    }
    if (IProtocolObserver* observer = observer_.load())
        observer->UploadViewNotice(action, progress);
}

} // namespace pavlora
