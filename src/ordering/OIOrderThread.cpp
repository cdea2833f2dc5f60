#include "ordering/OIOrderThread.h"

namespace pavlora {

TOIOrderThread::TOIOrderThread(TProtocol& protocol, TOrderKind kind, std::shared_ptr<TQOROrder> order)
    : TOIThread(QStringLiteral("TOIOrderThread"), ContextOf(kind), {})
    , protocol_(protocol)
    , kind_(kind)
    , order_(std::move(order))
{
}

QString TOIOrderThread::ContextOf(TOrderKind kind)
{
    switch (kind) {
    case TOrderKind::Online:
        return QStringLiteral("TQOROrderInterface.CreateOnlineOrder");
    case TOrderKind::CDOnline:
        return QStringLiteral("TQOROrderInterface.CreateCDOrderOnline");
    case TOrderKind::CDOffline:
        return QStringLiteral("TQOROrderInterface.CreateCDOrderOffline");
    }
    return QString();
}

void TOIOrderThread::Execute()
{
    switch (kind_) {
    case TOrderKind::Online:
        protocol_.CreateOnlineOrder(*order_);
        break;
    case TOrderKind::CDOnline:
        protocol_.CreateCDOrderOnline(*order_);
        break;
    case TOrderKind::CDOffline:
        protocol_.CreateCDOrderOffline(*order_);
        break;
    }
}

TOIResumeOnlineOrderThread::TOIResumeOnlineOrderThread(
    TProtocol& protocol, std::shared_ptr<TQOROrder> order, std::shared_ptr<TQOROrderResume> resume)
    : TOIThread(QStringLiteral("TOIResumeOnlineOrderThread"),
        QStringLiteral("TQOROrderInterface.ResumeOnlineOrderCreation"), {})
    , protocol_(protocol)
    , order_(std::move(order))
    , resume_(std::move(resume))
{
}

void TOIResumeOnlineOrderThread::Execute()
{
    protocol_.ResumeOnlineOrderCreation(*order_, *resume_);
}

} // namespace pavlora
