#pragma once

#include "core/QORError.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <stdexcept>

namespace pavlora {

// The program's exception: it carries a TQORError, and its message is the
// error's verbose text. Creating one writes that text to the report log and
// makes the error the process-wide last error.
class EQORException : public std::exception {
public:
    EQORException(std::int32_t code, const QString& codeText, const QString& detail, const QString& context);
    explicit EQORException(const TQORError& error);

    // Wraps another exception under a new context: an EQORException keeps
    // its code, code text and detail; a transport failure (ETransportError)
    // becomes code 40 with the transport's text; anything else code 2. The
    // detail of a wrapped foreign exception is its type name.
    static EQORException Wrap(const std::exception& other, const QString& context);
    // Wraps the exception being handled (call inside a catch block); also
    // handles exceptions that are not std::exception.
    static EQORException WrapCurrent(const QString& context);

    const TQORError& Error() const noexcept { return error_; }
    QString Message() const { return error_.VerboseMessage(); }
    const char* what() const noexcept override { return what_.constData(); }

private:
    TQORError error_;
    QByteArray what_;
};

// A failure of the HTTP transport: refused or broken connections, time-outs,
// HTTP status errors. Wrapped into the program's code 40.
class ETransportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The error record that wrapping `other` under `context` gives, without
// creating an exception, logging or touching the last error.
TQORError ErrorFromException(const std::exception& other, const QString& context);
// The same for the exception being handled (call inside a catch block).
TQORError ErrorFromCurrentException(const QString& context);

// Records a failure without raising, where it must not stop the caller:
// builds the record as Wrap does, makes it the last error and logs its
// verbose text. Call inside a catch block.
TQORError RecordCurrentException(const QString& context);
TQORError RecordError(const TQORError& error);

// The type name of an exception for error details, without this program's
// namespace ("ETransportError", "std::bad_alloc").
QString ExceptionTypeName(const std::exception& exception);

} // namespace pavlora
