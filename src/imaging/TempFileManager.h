#pragma once

#include <QHash>
#include <QString>

#include <mutex>

namespace pavlora {

// A reference-counted register of temporary files.
//
// Several owners can share one temporary file (a picture file that a
// layout, an edited photo and a cart item all refer to): each owner adds a
// reference, and the file is deleted when the last reference is released.
// Paths are compared exactly as given. All operations are safe from any
// thread. The files still registered are deleted when the manager is
// destroyed.
class TTempFileManager {
public:
    TTempFileManager() = default;
    ~TTempFileManager();

    TTempFileManager(const TTempFileManager&) = delete;
    TTempFileManager& operator=(const TTempFileManager&) = delete;

    // Registers `path` with count 1, or increases its count. Returns the
    // new count.
    int AddRef(const QString& path);

    // Decreases the count of `path`; when it falls to 0 the file is deleted
    // and the entry removed. Returns true while the count is still above 0,
    // otherwise whether the file is gone (deleted now or already missing).
    // An unknown path gives false.
    bool Release(const QString& path);

    // Deletes every registered file and empties the register.
    void ReleaseAll();

    // The count of `path`; 0 when it is not registered.
    int RefCount(const QString& path) const;

private:
    mutable std::mutex mutex_;
    QHash<QString, int> counts_;
};

} // namespace pavlora
