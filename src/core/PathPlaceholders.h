#pragma once

#include <QString>

namespace pavlora {

// Stored references to data files begin with a placeholder such as "{Data}"
// or "{DataLng}" instead of the folder the data lives in on this machine.
//
// The table is process-wide, in registration order, and safe from any thread.
// Placeholder names compare without regard to case; folders compare with
// case and match only up to a path boundary ("/", or "." for a language
// folder such as ".../Data.DEU" below ".../Data"). Stored paths may use "\"
// (data written on Windows); expanded and collapsed paths use "/".

// Registers `name` for `folder` (replacing the folder of a name already
// registered) and returns the folder with a trailing "/".
QString RegisterPathPlaceholder(const QString& name, const QString& folder);

// Replaces a leading placeholder by its folder.
QString ExpandPath(const QString& path);

// Replaces a leading registered folder by its placeholder.
QString CollapsePath(const QString& path);

// Empties the table (tests, and a program that resolves its folders again).
void ClearPathPlaceholders();

} // namespace pavlora
