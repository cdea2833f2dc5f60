#pragma once

#include <QString>

namespace pavlora {
class TQORApp;
}

namespace pavlora::test {

// Writes "LastTmpOrderDir" into the application's user settings. (The
// user settings and the order side are not included in one unit.)
void StoreLastTmpOrderDir(TQORApp& app, const QString& folder);

} // namespace pavlora::test
