#include "catalogue/Xchg.h"

#include "core/QORException.h"
#include "core/XMLUtils2.h"

#include <QMutex>

#include <pugixml.hpp>

#include <map>

namespace pavlora {
namespace {

constexpr char kXchgContext[] = "QORProdCls_2_0.TXchg.ReadXML";
constexpr char kRegisterContext[] = "QORProdCls_2_0.XchgClasses";

struct CaseInsensitiveLess {
    bool operator()(const QString& a, const QString& b) const { return a.compare(b, Qt::CaseInsensitive) < 0; }
};

QMutex registerMutex;
std::map<QString, TXchgFactory, CaseInsensitiveLess>& Classes()
{
    static std::map<QString, TXchgFactory, CaseInsensitiveLess> classes;
    return classes;
}

} // namespace

void TXchg::ReadXML(pugi::xml_node element)
{
    const QString id = ReadStringAttribute(element, "id");
    if (id.isEmpty())
        throw EQORException(3, QStringLiteral("\"id\" not defined for xchg"), QString(), QLatin1String(kXchgContext));
    const QString type = ReadStringAttribute(element, "type");
    if (type.isEmpty())
        throw EQORException(3, QStringLiteral("\"type\" not defined for xchg"), QString(), QLatin1String(kXchgContext));
    id_ = id;
    type_ = type;
}

QString TXchg::GroupId() const
{
    return id_.section(QLatin1Char('.'), 0, 0);
}

const TXchg& TXchg::EmptyDefault()
{
    static const TXchg empty;
    return empty;
}

namespace XchgClasses {

void Register(const QString& name, TXchgFactory factory)
{
    QMutexLocker lock(&registerMutex);
    if (!Classes().emplace(name, std::move(factory)).second)
        throw EQORException(
            3, QStringLiteral("Class %1 already registered").arg(name), QString(), QLatin1String(kRegisterContext));
}

void Unregister(const QString& name)
{
    QMutexLocker lock(&registerMutex);
    Classes().erase(name);
}

bool IsRegistered(const QString& name)
{
    QMutexLocker lock(&registerMutex);
    return Classes().contains(name);
}

std::unique_ptr<TXchg> Create(const QString& name)
{
    TXchgFactory factory;
    {
        QMutexLocker lock(&registerMutex);
        const auto found = Classes().find(name);
        if (found != Classes().end())
            factory = found->second;
    }
    if (!factory)
        throw EQORException(3, name, QString(), QLatin1String(kRegisterContext));
    return factory();
}

std::unique_ptr<TXchg> CreateFromXML(pugi::xml_node element)
{
    const QString type = ReadStringAttribute(element, "type");
    if (type.isEmpty())
        throw EQORException(3, QStringLiteral("\"type\" not defined for xchg"), QString(), QLatin1String(kXchgContext));
    std::unique_ptr<TXchg> record = Create(type);
    record->ReadXML(element);
    return record;
}

} // namespace XchgClasses
} // namespace pavlora
