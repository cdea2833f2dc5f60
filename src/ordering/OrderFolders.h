#pragma once

#include <QString>

namespace pavlora {

// The folder that holds the order folders ("tmp_order_" + time stamp):
// $XDG_STATE_HOME/pavlora/orders, private to the user and kept across a
// reboot, since a resumable order lives there.
QString OrderFoldersRoot();

// Deletes an order folder and everything in it, but only a folder named
// "tmp_order_*" directly inside OrderFoldersRoot(), never a symbolic link
// or anything it points to: the path may come from a resume file or the
// user settings. True when no such folder is left; false when the path is
// refused or could not be removed. Called on the UI thread.
bool DeleteOrderFolder(const QString& folder);

} // namespace pavlora
