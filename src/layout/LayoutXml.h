#pragma once

// Helpers shared by the definition classes: element names and the wrapping
// of failures under the operation's context. Not part of the public API.

#include "core/QORException.h"

#include <QString>

namespace pavlora::layoutxml {

inline constexpr char kPhotoBook[] = "photobook_def";
inline constexpr char kPage[] = "page_def";
inline constexpr char kPrint[] = "print_def";
inline constexpr char kDocumentElements[] = "document_elements";
inline constexpr char kPicture[] = "picture_def";
inline constexpr char kLabel[] = "label_def";
inline constexpr char kPhoto[] = "photo_def";

// The context "ProductDef.<class>.<operation>".
inline QString Context(const char* className, const char* operation)
{
    return QStringLiteral("ProductDef.") + QLatin1String(className) + QLatin1Char('.') + QLatin1String(operation);
}

// Runs `body`; any failure leaves as EQORException under `context`.
template <class Body>
auto Guarded(const QString& context, Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (...) {
        throw EQORException::WrapCurrent(context);
    }
}

} // namespace pavlora::layoutxml
