#include "core/RegConfiguration.h"

#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "core/QORException.h"
#include "core/SettingsKey.h"
#include "core/UserSettingsStore.h"
#include "core/Version.h"
#include "core/XMLUtils2.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

namespace pavlora {
namespace {

enum class Kind {
    Text,
    Integer,
    Boolean,
    Secret, // stored encrypted, decrypted in the list
    SecretStored, // stored encrypted, kept encrypted in the list
    Position, // an integer without default: missing means centred
    PicturesFolder, // a folder that must exist, else the user's picture folder
};

struct TValueDefinition {
    const char* name;
    Kind kind;
    const char* fallback;
};

// Every value the main store holds, with its default.
constexpr TValueDefinition kValues[] = {
    {"StdFormat", Kind::Text, "10x15"},
    {"StdFormatID", Kind::Text, "Prints.10"},
    {"StdQuantity", Kind::Integer, "1"},
    {"JPG2000", Kind::Boolean, "0"},
    {"UndoLevels", Kind::Integer, "5"},
    {"AutoLogin", Kind::Boolean, "-1"},
    {"AutoDisconnect", Kind::Boolean, "0"},
    {"ShowUpselling", Kind::Boolean, "-1"},
    {"ShowPhotobookWizard", Kind::Boolean, "-1"},
    {"UseProxyServer", Kind::Boolean, "0"},
    {"ProxyHostname", Kind::Text, ""},
    {"ProxyPort", Kind::Integer, "0"},
    {"ProxyLogin", Kind::Text, ""},
    {"ProxyPassword", Kind::Secret, ""},
    {"SaveCreditCardData", Kind::Boolean, "0"},
    {"AltOrderPath", Kind::Text, ""},
    {"TimeOut", Kind::Integer, "120"},
    {"CCTimeOut", Kind::Integer, "300"},
    {"Retries", Kind::Integer, "1"},
    {"SaveUserDataB", Kind::Boolean, "0"},
    {"ShowISO", Kind::Boolean, "0"},
    {"LastTmpOrderDir", Kind::Text, ""},
    {"MD5Info", Kind::Text, ""},
    {"MD5Update", Kind::Text, ""},
    {"LastTreeViewPath", Kind::Text, "Desktop"},
    {"Width", Kind::Integer, "800"},
    {"Height", Kind::Integer, "600"},
    {"Top", Kind::Position, ""},
    {"Left", Kind::Position, ""},
    {"WindowState", Kind::Integer, "0"},
    {"LoginName", Kind::Text, ""},
    {"Password", Kind::SecretStored, ""},
    {"ExtTypes", Kind::Boolean, "0"},
    {"ShowPicturePreview", Kind::Boolean, "-1"},
    {"ShowTour", Kind::Boolean, "-1"},
    {"CheckToSaveEditedImage", Kind::Boolean, "-1"},
    {"UseJPG2000Compression", Kind::Boolean, "0"},
    {"UseResolutionLimitation", Kind::Boolean, "-1"},
    {"SelectedStoreID", Kind::Text, ""},
    {"SaveAddressLocally", Kind::Boolean, "0"},
    {"DD State", Kind::Integer, "2"},
    {"HasUsedXActionCodes", Kind::Integer, "0"},
    {"DorArithmoi", Kind::Secret, ""},
    {"ImageImportPath", Kind::Text, ""},
    {"MyPicturesPath", Kind::PicturesFolder, ""},
    {"SyncIEProxy", Kind::Boolean, "0"},
};

const QString kUseProxyServer = QStringLiteral("UseProxyServer");
const QString kProxyHostname = QStringLiteral("ProxyHostname");
const QString kProxyPort = QStringLiteral("ProxyPort");
const QString kSyncProxy = QStringLiteral("SyncIEProxy");
const QString kCoupons = QStringLiteral("DorArithmoi");
const QString kCouponCount = QStringLiteral("HasUsedXActionCodes");

QString ListBoolean(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

QString StoredBoolean(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<int> ParsedInteger(const QString& text)
{
    int value = 0;
    if (!ParseIntegerText(text, value))
        return std::nullopt;
    return value;
}

bool IsStoredEncryptedInList(const QString& name)
{
    for (const TValueDefinition& definition : kValues) {
        if (definition.kind == Kind::SecretStored
            && name.compare(QLatin1String(definition.name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString UserPicturesFolder()
{
    for (const QStandardPaths::StandardLocation location :
        {QStandardPaths::PicturesLocation, QStandardPaths::DocumentsLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

// The list form of a stored value, or nothing to take the default.
std::optional<QString> ListForm(const TValueDefinition& definition, const QString& stored)
{
    switch (definition.kind) {
    case Kind::Text:
    case Kind::SecretStored:
        return stored;
    case Kind::Integer:
    case Kind::Position:
        if (const std::optional<int> value = ParsedInteger(stored))
            return QString::number(*value);
        return std::nullopt;
    case Kind::Boolean: {
        const bool fallback = QLatin1String(definition.fallback) != QLatin1String("0");
        return ListBoolean(ParseBooleanText(stored, fallback));
    }
    case Kind::Secret:
        return DecryptSettingsText(stored);
    case Kind::PicturesFolder:
        if (!stored.isEmpty() && QFileInfo(stored).isDir())
            return stored;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

QString TRegConfiguration::Context(const char* operation)
{
    return QStringLiteral("RegConfiguration.TRegConfiguration.") + QLatin1String(operation);
}

TRegConfiguration::TRegConfiguration(
    const QString& mainKey, const QString& versionKey, const QString& accountKey, const QString& storeFolder)
    : mainKey_(mainKey)
    , accountKey_(accountKey)
    , storeFolder_(storeFolder.isEmpty() ? AppFolders::UserConfigFolder() : storeFolder)
{
    ReadRegistry();
    if (!versionKey.isEmpty())
        UpdateVersionKey(versionKey);
}

TRegConfiguration::~TRegConfiguration() = default;

std::unique_ptr<TUserSettingsStore> TRegConfiguration::OpenRegistry(const QString& key) const
{
    try {
        return std::make_unique<TUserSettingsStore>(storeFolder_, key);
    } catch (...) {
        RecordCurrentException(Context("OpenRegistry"));
        return nullptr;
    }
}

void TRegConfiguration::ReadRegistry()
{
    std::lock_guard lock(mutex_);
    const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(mainKey_);
    for (const TValueDefinition& definition : kValues) {
        const QString name = QLatin1String(definition.name);
        std::optional<QString> value;
        try {
            if (store) {
                if (const std::optional<QString> stored = store->Read(name))
                    value = ListForm(definition, *stored);
            }
        } catch (...) {
            RecordCurrentException(Context("ReadRegistry"));
        }
        if (!value)
            value = definition.kind == Kind::PicturesFolder ? UserPicturesFolder() : QLatin1String(definition.fallback);
        values_.SetValue(name, *value);
    }
    state_ = 0;
    if (store) {
        if (const std::optional<QString> stored = store->Read(QStringLiteral("State")))
            state_ = ParsedInteger(*stored).value_or(0);
    }
    SynchronizeProxyLocked(TProxySyncMode::Startup, store.get());
}

void TRegConfiguration::UpdateVersionKey(const QString& key)
{
    std::lock_guard lock(mutex_);
    try {
        TUserSettingsStore store(storeFolder_, key);
        store.Write(QStringLiteral("Version"), QLatin1String(kProductVersion));
        store.Close();
    } catch (...) {
        RecordCurrentException(Context("UpdateVersionKey"));
    }
}

// ---- The list ---------------------------------------------------------------------

TNameValueList TRegConfiguration::Values() const
{
    std::lock_guard lock(mutex_);
    return values_;
}

QString TRegConfiguration::Value(const QString& name) const
{
    std::lock_guard lock(mutex_);
    return values_.Value(name);
}

int TRegConfiguration::IntegerValue(const QString& name) const
{
    return ParsedInteger(Value(name)).value_or(0);
}

bool TRegConfiguration::BooleanValue(const QString& name) const
{
    return ParseBooleanText(Value(name), false);
}

bool TRegConfiguration::HasValue(const QString& name) const
{
    return !Value(name).isEmpty();
}

int TRegConfiguration::State() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

// ---- Single values ------------------------------------------------------------------

void TRegConfiguration::WriteStored(TUserSettingsStore* store, const QString& name, const QString& stored)
{
    try {
        if (store) {
            store->Write(name, stored);
            return;
        }
        const std::unique_ptr<TUserSettingsStore> own = OpenRegistry(mainKey_);
        if (!own)
            return;
        own->Write(name, stored);
        own->Close();
    } catch (...) {
        RecordCurrentException(Context("WriteElement"));
    }
}

void TRegConfiguration::WriteElement(const QString& name, bool value)
{
    std::lock_guard lock(mutex_);
    values_.SetValue(name, ListBoolean(value));
    WriteStored(nullptr, name, StoredBoolean(value));
}

void TRegConfiguration::WriteElement(const QString& name, int value)
{
    std::lock_guard lock(mutex_);
    values_.SetValue(name, QString::number(value));
    WriteStored(nullptr, name, QString::number(value));
}

void TRegConfiguration::WriteElement(const QString& name, const QString& value, bool encrypt)
{
    std::lock_guard lock(mutex_);
    const QString stored = encrypt ? EncryptSettingsText(value) : value;
    values_.SetValue(name, encrypt && IsStoredEncryptedInList(name) ? stored : value);
    WriteStored(nullptr, name, stored);
}

QString TRegConfiguration::GetElement(const QString& name, const QString& fallback) const
{
    std::lock_guard lock(mutex_);
    const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(mainKey_);
    try {
        if (store)
            return store->Read(name).value_or(fallback);
    } catch (...) {
        RecordCurrentException(Context("GetElement"));
    }
    return fallback;
}

bool TRegConfiguration::GetElement(const QString& name, bool fallback) const
{
    const QString text = GetElement(name, QString());
    return text.isEmpty() ? fallback : ParseBooleanText(text, fallback);
}

int TRegConfiguration::GetElement(const QString& name, int fallback) const
{
    return ParsedInteger(GetElement(name, QString())).value_or(fallback);
}

// ---- Window placement -------------------------------------------------------------------

TWindowPlacement TRegConfiguration::LoadWindowPlacement(const QList<QRect>& screens) const
{
    std::lock_guard lock(mutex_);
    TStoredPlacement stored;
    stored.left = ParsedInteger(values_.Value(QStringLiteral("Left")));
    stored.top = ParsedInteger(values_.Value(QStringLiteral("Top")));
    stored.width = ParsedInteger(values_.Value(QStringLiteral("Width"))).value_or(800);
    stored.height = ParsedInteger(values_.Value(QStringLiteral("Height"))).value_or(600);
    stored.windowState = ParsedInteger(values_.Value(QStringLiteral("WindowState"))).value_or(0);
    return PlaceWindow(stored, screens);
}

void TRegConfiguration::SaveWindowPlacement(const TWindowPlacement& placement)
{
    std::lock_guard lock(mutex_);
    if (placement.state == TWindowState::Normal) {
        WriteElement(QStringLiteral("Left"), placement.left);
        WriteElement(QStringLiteral("Top"), placement.top);
        WriteElement(QStringLiteral("Height"), placement.height);
        WriteElement(QStringLiteral("Width"), placement.width);
    }
    WriteElement(QStringLiteral("WindowState"), static_cast<int>(placement.state));
}

// ---- Order folder, dial-up ------------------------------------------------------------------

void TRegConfiguration::StoreLastTmpOrderDir(const QString& folder)
{
    WriteElement(QStringLiteral("LastTmpOrderDir"), folder);
}

void TRegConfiguration::StoreAutoDisconnect(bool value)
{
    WriteElement(QStringLiteral("AutoDisconnect"), value);
}

// ---- Coupon codes ------------------------------------------------------------------------------

void TRegConfiguration::RecordCouponCode(const QString& code)
{
    if (code.isEmpty())
        return;
    std::lock_guard lock(mutex_);
    WriteElement(kCouponCount, IntegerValue(kCouponCount) + 1);
    WriteElement(kCoupons, code + QLatin1Char(';') + values_.Value(kCoupons), true);
}

bool TRegConfiguration::CanRedeemCouponCode(const QString& code) const
{
    if (code.isEmpty())
        return true;
    const QStringList used = Value(kCoupons).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& entry : used) {
        if (entry.compare(code, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

// ---- Proxy -------------------------------------------------------------------------------------

TProxySettings TRegConfiguration::UserProxy() const
{
    std::lock_guard lock(mutex_);
    return TProxySettings{BooleanValue(kUseProxyServer), values_.Value(kProxyHostname), IntegerValue(kProxyPort)};
}

QString TRegConfiguration::ProxyPassword() const
{
    return Value(QStringLiteral("ProxyPassword"));
}

bool TRegConfiguration::ProxySyncEnabled() const
{
    std::lock_guard lock(mutex_);
    return proxySync_;
}

void TRegConfiguration::SynchronizeProxy(TProxySyncMode mode)
{
    std::lock_guard lock(mutex_);
    const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(mainKey_);
    SynchronizeProxyLocked(mode, store.get());
}

void TRegConfiguration::SynchronizeProxyLocked(TProxySyncMode mode, TUserSettingsStore* store)
{
    const TProxySettings system = SystemProxyFromEnvironment();
    bool useProxyStored = false;
    std::optional<bool> storedSync;
    if (store) {
        useProxyStored = store->Contains(kUseProxyServer);
        if (const std::optional<QString> text = store->Read(kSyncProxy))
            storedSync = ParseBooleanText(*text, false);
    }
    proxySync_ = DecideProxySync(mode, useProxyStored, storedSync, UserProxy(), system);
    if (proxySync_) {
        values_.SetValue(kUseProxyServer, ListBoolean(system.enabled));
        values_.SetValue(kProxyHostname, system.host);
        values_.SetValue(kProxyPort, QString::number(system.port));
        WriteStored(store, kUseProxyServer, StoredBoolean(system.enabled));
        WriteStored(store, kProxyHostname, system.host);
        WriteStored(store, kProxyPort, QString::number(system.port));
    }
    values_.SetValue(kSyncProxy, ListBoolean(proxySync_));
    WriteStored(store, kSyncProxy, StoredBoolean(proxySync_));
    if (store) {
        try {
            store->Close();
        } catch (...) {
            RecordCurrentException(Context("WriteElement"));
        }
    }
}

// ---- Data language folder --------------------------------------------------------------------

void TRegConfiguration::SetDataLanguageFolder(const QString& folder)
{
    std::lock_guard lock(mutex_);
    dataLanguageFolder_ = folder;
}

QString TRegConfiguration::DataLanguageFolder() const
{
    std::lock_guard lock(mutex_);
    return dataLanguageFolder_;
}

} // namespace pavlora
