#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

#include <optional>

namespace pavlora {

// The relative name of a resource as the program and the service's data
// write it: "\" turned into "/", "." and empty parts dropped. Names that
// could leave their folder (absolute, a drive letter, "..") are refused.
std::optional<QString> NormalizeResourceName(const QString& name);

// Finds files below a folder without regard to case, as the service's data
// was written on a system that ignores case. Folder listings are cached
// until Clear().
class TCaseInsensitiveResolver {
public:
    // The existing file `folder` + "/" + `relative` (a normalized name),
    // with each part matched without case; nothing when there is none.
    std::optional<QString> ResolveFile(const QString& folder, const QString& relative);
    void Clear();

private:
    const QHash<QString, QString>& Listing(const QString& folder);

    QMutex mutex_;
    QHash<QString, QHash<QString, QString>> listings_; // folder -> lower-case name -> name
};

} // namespace pavlora
