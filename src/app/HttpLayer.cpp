#include "app/HttpLayer.h"

#include "ordering/INA.h"

namespace pavlora {

void ApplyHttpProxy(bool enabled, const QString& host, int port, const QString& password, const QString& login)
{
    if (enabled)
        TINA::Instance().SetProxy(host, port, password, login);
    else
        TINA::Instance().ClearProxy();
}

} // namespace pavlora
