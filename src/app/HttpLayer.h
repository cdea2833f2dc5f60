#pragma once

#include <QString>

namespace pavlora {

// The user's proxy for the HTTP layer of the order transfers: used when
// `enabled`, else none.
void ApplyHttpProxy(bool enabled, const QString& host, int port, const QString& password, const QString& login);

} // namespace pavlora
