#include "UserSettingsAccess.h"

#include "app/QORApp.h"
#include "core/RegConfiguration.h"

namespace pavlora::test {

void StoreLastTmpOrderDir(TQORApp& app, const QString& folder)
{
    app.UserSettings()->StoreLastTmpOrderDir(folder);
}

} // namespace pavlora::test
