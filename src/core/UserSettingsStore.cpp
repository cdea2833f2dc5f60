#include "core/UserSettingsStore.h"

#include "core/AppFolders.h"
#include "core/Logger.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <fcntl.h>
#include <unistd.h>

namespace pavlora {
namespace {

constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool IsPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

// Creates an empty private file, so that the settings writer (which keeps
// the permissions of an existing file) never makes it readable by others.
void CreatePrivateFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

ESettingsStoreError::ESettingsStoreError(const QString& text)
    : std::runtime_error(text.toStdString())
{
}

TUserSettingsStore::TUserSettingsStore(const QString& folder, const QString& key)
    : path_(folder + QLatin1Char('/') + FileName(key))
{
    if (!AppFolders::EnsurePrivateFolder(folder))
        throw ESettingsStoreError(QStringLiteral("Cannot open key"));
    Open();
}

TUserSettingsStore::~TUserSettingsStore()
{
    // A store left without Close (an operation that failed half-way) still
    // writes what it was given, through the same private file.
    try {
        Close();
    } catch (const ESettingsStoreError& error) {
        ReportMessage(QString::fromStdString(error.what()));
    }
}

QString TUserSettingsStore::FileName(const QString& key)
{
    QString name;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'.'
            || u == u'-' || u == u'_';
        name.append(plain ? c : QLatin1Char('_'));
    }
    while (name.startsWith(QLatin1Char('.')))
        name.replace(0, 1, QLatin1Char('_'));
    if (name.isEmpty())
        name = QStringLiteral("user");
    return name + QStringLiteral(".ini");
}

void TUserSettingsStore::Open()
{
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    if (settings_->status() == QSettings::FormatError) {
        settings_.reset();
        const QString aside = path_ + QStringLiteral(".broken-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        if (QFile::rename(path_, aside)) {
            ReportMessage(QStringLiteral("The user settings %1 cannot be parsed; kept as %2").arg(path_, aside));
        } else {
            ReportMessage(QStringLiteral("The user settings %1 cannot be parsed and not be kept aside; they are "
                                         "not written")
                              .arg(path_));
            readable_ = false;
        }
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    }
    if (settings_->status() != QSettings::NoError)
        readable_ = false;
    names_.clear();
    if (!readable_)
        return;
    for (const QString& name : settings_->allKeys()) {
        if (IsPlainName(name))
            names_.insert(name.toCaseFolded(), name);
    }
}

std::optional<QString> TUserSettingsStore::StoredName(const QString& name) const
{
    const auto found = names_.constFind(name.toCaseFolded());
    if (found == names_.constEnd())
        return std::nullopt;
    return *found;
}

bool TUserSettingsStore::Contains(const QString& name) const
{
    return StoredName(name).has_value();
}

std::optional<QString> TUserSettingsStore::Read(const QString& name) const
{
    const std::optional<QString> stored = StoredName(name);
    if (!stored)
        return std::nullopt;
    const QVariant value = settings_->value(*stored);
    // An unquoted "a, b" written by hand reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void TUserSettingsStore::Write(const QString& name, const QString& value)
{
    if (!IsPlainName(name))
        throw ESettingsStoreError(QStringLiteral("Invalid value name '%1'").arg(name));
    if (!readable_)
        throw ESettingsStoreError(QStringLiteral("Cannot open key"));
    const std::optional<QString> stored = StoredName(name);
    if (stored && *stored != name)
        settings_->remove(*stored);
    settings_->setValue(name, value);
    names_.insert(name.toCaseFolded(), name);
    changed_ = true;
}

void TUserSettingsStore::Remove(const QString& name)
{
    const std::optional<QString> stored = StoredName(name);
    if (!stored)
        return;
    if (!readable_)
        throw ESettingsStoreError(QStringLiteral("Cannot open key"));
    settings_->remove(*stored);
    names_.remove(name.toCaseFolded());
    changed_ = true;
}

void TUserSettingsStore::Close()
{
    if (!changed_)
        return;
    changed_ = false;
    CreatePrivateFile(path_);
    settings_->sync();
    QFile::setPermissions(path_, kPrivateFile);
    if (settings_->status() != QSettings::NoError)
        throw ESettingsStoreError(QStringLiteral("%1 cannot be written").arg(path_));
}

} // namespace pavlora
