#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

namespace pavlora {

// A user settings store could not be opened or written.
class ESettingsStoreError : public std::runtime_error {
public:
    explicit ESettingsStoreError(const QString& text);
};

// One store of the user settings: an INI file in the user's private
// configuration folder, named after the key that names the store
// ("Software\Vovo\Pavlora" -> "Software_Vovo_Pavlora.ini").
//
// Values are texts in the INI file's general section; names are kept as
// last written and looked up without regard to case. The file is private
// (mode 0600 in a 0700 folder). A file that cannot be parsed is renamed
// aside with a time stamp and reported, never overwritten; a file that
// cannot be read makes the store read-only.
//
// A store is opened for one operation and closed again; it is not shared
// between threads (TRegConfiguration serialises its use).
class TUserSettingsStore {
public:
    // Opens the store of `key` in `folder` (created when missing). Raises
    // ESettingsStoreError when the folder cannot be made.
    TUserSettingsStore(const QString& folder, const QString& key);
    ~TUserSettingsStore();
    TUserSettingsStore(const TUserSettingsStore&) = delete;
    TUserSettingsStore& operator=(const TUserSettingsStore&) = delete;

    // The file name of a key: characters other than letters, digits, ".",
    // "-" and "_" become "_" ("\" and "/" too); an empty key is "user".
    static QString FileName(const QString& key);
    const QString& FilePath() const { return path_; }

    bool Contains(const QString& name) const;
    std::optional<QString> Read(const QString& name) const;
    // Sets a value, replacing one of the same name in another spelling.
    // Raises ESettingsStoreError for a name containing "/" or "\".
    void Write(const QString& name, const QString& value);
    void Remove(const QString& name);

    // Writes the changes to the file. Raises ESettingsStoreError when they
    // cannot be written; the file then keeps its previous content.
    void Close();

private:
    std::optional<QString> StoredName(const QString& name) const;
    void Open();

    QString path_;
    std::unique_ptr<QSettings> settings_;
    QHash<QString, QString> names_; // case-folded name -> name as stored
    bool readable_ = true;
    bool changed_ = false;
};

} // namespace pavlora
