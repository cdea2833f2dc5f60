#include "skin/ECResourceManager.h"

#include "core/AppFolders.h"
#include "core/DataStream.h"
#include "core/DesignFolders.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "core/ZipArchive.h"
#include "skin/ECPictureResource.h"
#include "skin/StyleRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

namespace pavlora {
namespace {

// Resources are read whole; nothing the skin or the catalogue needs comes
// near this size.
constexpr std::int64_t kMaxResourceSize = 256 * 1024 * 1024;

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxResourceSize)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

EResourceNotFound::EResourceNotFound(const QString& name)
    : std::runtime_error(QStringLiteral("Resource %1 not found.").arg(name).toStdString())
{
}

QString TResourceLocation::Describe() const
{
    return archiveMember.isEmpty() ? filePath : filePath + QLatin1Char(':') + archiveMember;
}

TECResourceManager::TECResourceManager(TSkinReporter& reporter, QObject* parent)
    : QObject(parent)
    , reporter_(reporter)
    , designErrors_(reporter)
    , programFolder_(AppFolders::ProgramFolder())
    , dataFolder_(programFolder_ + QStringLiteral("/Data"))
    , styles_(std::make_shared<TStyleRegistry>(designErrors_))
{
    ComputeSlots();
}

TECResourceManager::~TECResourceManager() = default;

void TECResourceManager::SetProgramFolder(const QString& folder)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        programFolder_ = WithoutTrailingSlash(folder);
    }
    ComputeSlots();
}

void TECResourceManager::SetDataFolder(const QString& folder)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        dataFolder_ = WithoutTrailingSlash(folder);
    }
    ComputeSlots();
}

void TECResourceManager::SetLanguageExtension(const QString& extension)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        languageExtension_ = extension;
    }
    ComputeSlots();
}

void TECResourceManager::SetResourceFileName(const QString& name)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        resourceFileName_ = name;
    }
    ComputeSlots();
}

void TECResourceManager::SetDesignFileName(const QString& name)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        designFileName_ = name;
    }
    ComputeSlots();
}

void TECResourceManager::EnableDesignReload()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    reloadEnabled_ = true;
}

QString TECResourceManager::ProgramFolder() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return programFolder_;
}

QString TECResourceManager::DataFolder() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return dataFolder_;
}

QString TECResourceManager::LanguageExtension() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return languageExtension_;
}

QString TECResourceManager::Slot(int index) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return index >= 0 && index < 5 ? slots_[static_cast<std::size_t>(index)] : QString();
}

void TECResourceManager::ComputeSlots()
{
    bool reload = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        const TDesignFolders slots = ComputeDesignFolders(
            TDesignFolderSettings{programFolder_, dataFolder_, languageExtension_, resourceFileName_});
        slots_ = slots;
        for (std::size_t archive = 0; archive < archives_.size(); ++archive) {
            const QString& slot = slots_[archive + 1];
            const QString zipPath = WithoutTrailingSlash(slot) + QStringLiteral(".zip");
            archives_[archive].reset();
            if (!slot.isEmpty() && QFileInfo(zipPath).isFile())
                archives_[archive] = std::make_unique<TZipArchive>(zipPath);
        }
        resolver_.Clear();
        reload = reloadEnabled_;
    }
    if (reload)
        ReloadDesigns();
}

std::optional<TResourceLocation> TECResourceManager::LocateInSlot(int slot, const QString& normalized) const
{
    const QString& folder = slots_[static_cast<std::size_t>(slot)];
    if (folder.isEmpty())
        return std::nullopt;
    const QString base = WithoutTrailingSlash(folder);
    if (QFileInfo(base).isDir()) {
        if (const std::optional<QString> file = resolver_.ResolveFile(base, normalized))
            return TResourceLocation{slot, *file, QString()};
    }
    if (slot == 1 || slot == 2) {
        const std::unique_ptr<TZipArchive>& archive = archives_[static_cast<std::size_t>(slot - 1)];
        if (archive) {
            if (const std::optional<QString> member = archive->FindMember(normalized))
                return TResourceLocation{slot, archive->Path(), *member};
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> TECResourceManager::ReadFromSlot(const TResourceLocation& location) const
{
    if (location.archiveMember.isEmpty())
        return ReadWholeFile(location.filePath);
    const std::unique_ptr<TZipArchive>& archive = archives_[static_cast<std::size_t>(location.slot - 1)];
    if (!archive)
        return std::nullopt;
    return archive->ReadMember(location.archiveMember, kMaxResourceSize);
}

std::optional<TResourceLocation> TECResourceManager::FindResource(const QString& name) const
{
    const std::optional<QString> normalized = NormalizeResourceName(name);
    if (!normalized)
        return std::nullopt;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (int slot = 4; slot >= 0; --slot) {
        if (std::optional<TResourceLocation> location = LocateInSlot(slot, *normalized))
            return location;
    }
    return std::nullopt;
}

bool TECResourceManager::ResourceExists(const QString& name) const
{
    return FindResource(name).has_value();
}

QByteArray TECResourceManager::GetResource(const QString& name) const
{
    const std::optional<QString> normalized = NormalizeResourceName(name);
    if (!normalized) {
        ReportMessage(QStringLiteral("Resource name refused: ") + name);
        throw EResourceNotFound(name);
    }
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (int slot = 4; slot >= 0; --slot) {
        const std::optional<TResourceLocation> location = LocateInSlot(slot, *normalized);
        if (!location)
            continue;
        // A slot that fails (unreadable, undecodable) passes on to the next.
        const std::optional<QByteArray> stored = ReadFromSlot(*location);
        if (!stored) {
            ReportMessage(QStringLiteral("Resource %1 cannot be read from %2").arg(name, location->Describe()));
            continue;
        }
        try {
            return DecodeDataStream(*stored);
        } catch (const std::exception& error) {
            ReportMessage(QStringLiteral("Resource %1 cannot be decoded from %2: %3")
                              .arg(name, location->Describe(), QString::fromUtf8(error.what())));
        }
    }
    throw EResourceNotFound(name);
}

std::shared_ptr<const TECPictureResource> TECResourceManager::GetPicture(const QString& name)
{
    const QString key = NormalizeResourceName(name).value_or(name).toLower();
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (std::shared_ptr<const TECPictureResource> live = pictures_.value(key).lock())
            return live;
    }
    if (!ResourceExists(name))
        return nullptr;
    QByteArray bytes;
    TECPicture picture;
    try {
        bytes = GetResource(name);
        picture.LoadFromData(bytes);
    } catch (const std::exception&) {
        reporter_.ShowWarning(QStringLiteral("Resource %1 not found.").arg(name));
        return nullptr;
    }
    if (picture.IsEmpty() || picture.Image().isNull()) {
        reporter_.ShowWarning(QStringLiteral("Resource %1 is empty.").arg(name));
        return nullptr;
    }
    auto resource = std::make_shared<const TECPictureResource>(name, std::move(picture), bytes.size());
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    // Another thread may have loaded it meanwhile: share the first one.
    if (std::shared_ptr<const TECPictureResource> live = pictures_.value(key).lock())
        return live;
    pictures_.insert(key, resource);
    return resource;
}

bool TECResourceManager::ReadDesignFromSlot(int slot, TStyleRegistry& registry)
{
    const std::optional<TResourceLocation> location = LocateInSlot(slot, designFileName_);
    if (!location)
        return false;
    const QString folder = slots_[static_cast<std::size_t>(slot)];
    std::unique_ptr<pugi::xml_document> document;
    try {
        const std::optional<QByteArray> stored = ReadFromSlot(*location);
        if (!stored)
            throw std::runtime_error("cannot read the file");
        document = ReadXMLDocumentBytes(*stored);
    } catch (const std::exception& error) {
        const auto* own = dynamic_cast<const EQORException*>(&error);
        const QString message = own ? own->Error().codeText : QString::fromUtf8(error.what());
        designErrors_.Report(QStringLiteral("Parse error in design config file %1 from %2. Message: %3")
                                 .arg(designFileName_, folder, message));
        return false;
    }
    return registry.ReadDesign(document->document_element());
}

void TECResourceManager::ReloadDesigns()
{
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    auto next = std::make_shared<TStyleRegistry>(designErrors_);
    next->SetStylesLoadedBefore(stylesLoaded_);
    std::exception_ptr failure;
    try {
        for (int slot = 0; slot <= 2; ++slot)
            ReadDesignFromSlot(slot, *next);
        // The data folders' designs count once they are in use, or when
        // the program's own folders have none.
        if (next->StyleCount() == 0 || dataDesigns_) {
            const bool slot3 = ReadDesignFromSlot(3, *next);
            const bool slot4 = ReadDesignFromSlot(4, *next);
            if (slot3 || slot4)
                dataDesigns_ = true;
        }
    } catch (...) {
        // A value of the wrong type stops the reload; what was read stays.
        failure = std::current_exception();
    }
    if (next->StyleCount() > 0)
        stylesLoaded_ = true;
    styles_ = next;

    if (!failure) {
        static const int kFormsSlotOrder[] = {2, 1, 0, 3, 4};
        for (const int slot : kFormsSlotOrder) {
            const std::optional<TResourceLocation> location = LocateInSlot(slot, QStringLiteral("Forms.dat"));
            if (!location)
                continue;
            try {
                const std::optional<QByteArray> stored = ReadFromSlot(*location);
                if (!stored)
                    throw std::runtime_error("cannot read " + location->Describe().toStdString());
                const TXMLDocumentPtr document = ReadXMLDocumentBytes(*stored);
                formConfigs_ = ReadFormConfigs(document->document_element());
                formsSlot_ = slot;
            } catch (...) {
                failure = std::current_exception();
            }
            break;
        }
    }
    lock.unlock();
    Q_EMIT designsChanged();
    if (failure)
        std::rethrow_exception(failure);
}

std::shared_ptr<TStyleRegistry> TECResourceManager::Styles() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return styles_;
}

bool TECResourceManager::StylesLoaded() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return stylesLoaded_;
}

std::optional<TFormConfig> TECResourceManager::FormConfiguration(const QString& className) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const TFormConfig& config : formConfigs_) {
        if (config.name.compare(className, Qt::CaseInsensitive) == 0)
            return config;
    }
    return std::nullopt;
}

int TECResourceManager::FormsSlot() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return formsSlot_;
}

} // namespace pavlora
