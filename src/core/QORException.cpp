#include "core/QORException.h"

#include "core/Logger.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace pavlora {

QString ExceptionTypeName(const std::exception& exception)
{
    const char* mangled = typeid(exception).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    QString name = QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
    if (name.startsWith(QLatin1String("pavlora::")))
        name.remove(0, 9);
    return name;
}

TQORError ErrorFromException(const std::exception& other, const QString& context)
{
    if (const auto* own = dynamic_cast<const EQORException*>(&other)) {
        TQORError error = own->Error();
        error.context = context;
        return error;
    }
    const std::int32_t code = dynamic_cast<const ETransportError*>(&other) ? 40 : 2;
    return TQORError{code, context, QString::fromUtf8(other.what()), ExceptionTypeName(other)};
}

TQORError ErrorFromCurrentException(const QString& context)
{
    try {
        throw;
    } catch (const std::exception& exception) {
        return ErrorFromException(exception, context);
    } catch (...) {
        return TQORError{2, context, QStringLiteral("Unbekannte Ausnahme"), QString()};
    }
}

EQORException::EQORException(const TQORError& error)
    : error_(error)
    , what_(error.VerboseMessage().toUtf8())
{
    SetLastError(error_);
    ReportMessage(Message());
}

EQORException::EQORException(std::int32_t code, const QString& codeText, const QString& detail, const QString& context)
    : EQORException(TQORError{code, context, codeText, detail})
{
}

EQORException EQORException::Wrap(const std::exception& other, const QString& context)
{
    return EQORException(ErrorFromException(other, context));
}

EQORException EQORException::WrapCurrent(const QString& context)
{
    return EQORException(ErrorFromCurrentException(context));
}

TQORError RecordError(const TQORError& error)
{
    SetLastError(error);
    ReportMessage(error.VerboseMessage());
    return error;
}

TQORError RecordCurrentException(const QString& context)
{
    return RecordError(ErrorFromCurrentException(context));
}

} // namespace pavlora
