#pragma once

#include "ordering/Protocol.h"
#include "ordering/QOROrderInterface.h"
#include "ordering/QOROrderResume.h"
#include "ordering/QORRecords.h"

#include <QString>

#include <memory>

namespace pavlora {

// Which order operation a TOIOrderThread runs.
enum class TOrderKind : int { Online, CDOnline, CDOffline };

// The worker of an order: CreateOnlineOrder, CreateCDOrderOnline or
// CreateCDOrderOffline on the protocol, with the order record it shares
// with the order interface. The record is the worker's alone until the
// thread has finished; the interface reads it back afterwards.
class TOIOrderThread : public TOIThread {
public:
    TOIOrderThread(TProtocol& protocol, TOrderKind kind, std::shared_ptr<TQOROrder> order);

    // "TQOROrderInterface.CreateOnlineOrder" and its siblings.
    static QString ContextOf(TOrderKind kind);
    TOrderKind Kind() const { return kind_; }

protected:
    void Execute() override;

private:
    TProtocol& protocol_;
    TOrderKind kind_;
    std::shared_ptr<TQOROrder> order_;
};

// The worker that completes an interrupted online order
// (ResumeOnlineOrderCreation) from its resume object.
class TOIResumeOnlineOrderThread : public TOIThread {
public:
    TOIResumeOnlineOrderThread(
        TProtocol& protocol, std::shared_ptr<TQOROrder> order, std::shared_ptr<TQOROrderResume> resume);

protected:
    void Execute() override;

private:
    TProtocol& protocol_;
    std::shared_ptr<TQOROrder> order_;
    std::shared_ptr<TQOROrderResume> resume_;
};

} // namespace pavlora
