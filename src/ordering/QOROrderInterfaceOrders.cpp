// The order operations of the order interface and the clean-up of a
// cancelled transfer.

#include "ordering/QOROrderInterface.h"

#include "core/RegConfiguration.h"
#include "ordering/OIOrderThread.h"
#include "ordering/OrderFolders.h"

namespace pavlora {
void TQOROrderInterface::StartOrder(TOrderKind kind, const TQOROrder& order, OutputCallback<TQOROrder> done)
{
    auto data = std::make_shared<TQOROrder>(order);
    transfer_ = OrderTransfer{data, nullptr};
    StartThread(
        TQORThread::Create<TOIOrderThread>(*protocol_, kind, data),
        [data, done](const TQORError& error) { done(error, *data); }, nullptr);
}

void TQOROrderInterface::CreateOnlineOrder(const TQOROrder& order, OutputCallback<TQOROrder> done)
{
    StartOrder(TOrderKind::Online, order, std::move(done));
}

void TQOROrderInterface::CreateCDOrderOnline(const TQOROrder& order, OutputCallback<TQOROrder> done)
{
    StartOrder(TOrderKind::CDOnline, order, std::move(done));
}

void TQOROrderInterface::CreateCDOrderOffline(const TQOROrder& order, OutputCallback<TQOROrder> done)
{
    StartOrder(TOrderKind::CDOffline, order, std::move(done));
}

void TQOROrderInterface::ResumeOnlineOrderCreation(
    const TQOROrder& order, const TQOROrderResume& resume, OutputCallback<TQOROrder> done)
{
    auto data = std::make_shared<TQOROrder>(order);
    auto kept = std::make_shared<TQOROrderResume>(resume);
    transfer_ = OrderTransfer{data, kept};
    StartThread(
        TQORThread::Create<TOIResumeOnlineOrderThread>(*protocol_, data, kept),
        [data, done](const TQORError& error) { done(error, *data); }, nullptr);
}

void TQOROrderInterface::DiscardTransfer()
{
    // The workers have stopped: the records are the UI thread's again.
    QString folder;
    if (transfer_.resume)
        folder = transfer_.resume->orderFolder;
    else if (transfer_.order)
        folder = transfer_.order->orderFolder;
    transfer_ = OrderTransfer{}; // releases the resume object
    if (!folder.isEmpty())
        DeleteOrderFolder(folder);
    if (userSettings_)
        userSettings_->StoreLastTmpOrderDir(QString());
}

} // namespace pavlora
