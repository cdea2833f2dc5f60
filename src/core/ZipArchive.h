#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>

namespace pavlora {

// A zip archive of design resources (skin files, AppIni.dat), read-only. The member list is read once
// when the archive is opened; members are found by their name with "/" as
// separator, without regard to case.
class TZipArchive {
public:
    // Opens `path`; an archive that cannot be read has no members.
    explicit TZipArchive(QString path);

    const QString& Path() const { return path_; }
    bool IsOpen() const { return open_; }
    // The member's name as stored, or nothing.
    std::optional<QString> FindMember(const QString& name) const;
    // The member's bytes, at most `maxSize`; nothing when it is missing,
    // larger, or cannot be read.
    std::optional<QByteArray> ReadMember(const QString& name, std::int64_t maxSize) const;

private:
    QString path_;
    bool open_ = false;
    QHash<QString, QString> members_; // stored name -> stored name
    QHash<QString, QString> membersByLower_; // lower-case name -> stored name
};

} // namespace pavlora
