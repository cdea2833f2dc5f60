#include "core/AppSettingsLoader.h"

#include "core/AppFolders.h"
#include "core/DataKey.h"
#include "core/DataStream.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/ResourceName.h"
#include "core/SystemConfig.h"
#include "core/XMLUtils2.h"
#include "core/ZipArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

#include <cstring>
#include <optional>

namespace pavlora {
namespace {

const QString kAppIniName = QStringLiteral("AppIni.dat");
const QString kAppRgnName = QStringLiteral("AppRgn.dat");

QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QByteArray ReadCappedFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EDataDocumentError(file.errorString());
    const QByteArray bytes = file.read(kMaxStoredDocumentSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EDataDocumentError(file.errorString());
    if (bytes.size() > kMaxStoredDocumentSize)
        throw EDataDocumentError(QStringLiteral("file too large"));
    return bytes;
}

// A file of a design folder as stored, with the place it came from: the
// file itself, or in a resource slot the member of the folder's ".zip".
struct TStoredLayer {
    QString origin;
    QByteArray bytes;
};

[[noreturn]] void RaiseUnreadable(const QString& origin, const std::exception& error)
{
    const auto* own = dynamic_cast<const EQORException*>(&error);
    const QString text = own ? own->Error().codeText : QString::fromUtf8(error.what());
    throw EQORException(2, QStringLiteral("%1: %2").arg(origin, text), ExceptionTypeName(error),
        QLatin1String(kReadXMLDocumentContext));
}

std::optional<TStoredLayer> ReadFromSlot(
    const TDesignFolders& slots, int slot, const QString& name, TCaseInsensitiveResolver& resolver)
{
    const QString& folder = slots[static_cast<std::size_t>(slot)];
    if (folder.isEmpty())
        return std::nullopt;
    const QString base = WithoutTrailingSlash(folder);
    QString origin;
    try {
        if (QFileInfo(base).isDir()) {
            if (const std::optional<QString> file = resolver.ResolveFile(base, name)) {
                origin = *file;
                return TStoredLayer{origin, ReadCappedFile(*file)};
            }
        }
        if (slot != dsResource && slot != dsResourceLanguage)
            return std::nullopt;
        const QString zipPath = base + QStringLiteral(".zip");
        if (!QFileInfo(zipPath).isFile())
            return std::nullopt;
        const TZipArchive archive(zipPath);
        const std::optional<QString> member = archive.FindMember(name);
        if (!member)
            return std::nullopt;
        origin = zipPath + QLatin1Char(':') + *member;
        std::optional<QByteArray> bytes = archive.ReadMember(*member, kMaxStoredDocumentSize);
        if (!bytes)
            throw EDataDocumentError(QStringLiteral("cannot read the archive member"));
        return TStoredLayer{origin, *bytes};
    } catch (const std::exception& error) {
        RaiseUnreadable(origin.isEmpty() ? base + QLatin1Char('/') + name : origin, error);
    }
}

TXMLDocumentPtr ParseLayer(const TStoredLayer& layer, const QString& key)
{
    try {
        return ParseXMLText(DecodeDataStream(layer.bytes, DataKeyBytes(key)));
    } catch (const std::exception& error) {
        RaiseUnreadable(layer.origin, error);
    }
}

void MergeAppIni(TNameValueList& values, const TDesignFolders& slots, int slot, const QString& key,
    TCaseInsensitiveResolver& resolver)
{
    if (const std::optional<TStoredLayer> layer = ReadFromSlot(slots, slot, kAppIniName, resolver))
        ReadIniDocument(values, *ParseLayer(*layer, key));
}

pugi::xml_node RegionsElement(const pugi::xml_document& document)
{
    const pugi::xml_node root = document.document_element();
    return std::strcmp(root.name(), "regions") == 0 ? root : root.child("regions");
}

// A language extension becomes part of folder names: letters, digits, "_"
// and "-" only.
bool IsSafeExtension(const QString& extension)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
    return safe.match(extension).hasMatch();
}

QString ChooseLanguage(pugi::xml_node regions, const QString& dataFolder)
{
    QString visited;
    for (const pugi::xml_node region : regions.children()) {
        if (region.type() != pugi::node_element)
            continue;
        const QString extension = QString::fromUtf8(region.attribute("ext").value());
        if (!IsSafeExtension(extension))
            continue;
        visited = extension;
        if (QFileInfo(WithoutTrailingSlash(dataFolder) + QLatin1Char('.') + extension).isDir())
            return extension;
    }
    return visited;
}

TAppSettings::TRegionAttributes FirstRegionZip(pugi::xml_node regions)
{
    TAppSettings::TRegionAttributes attributes;
    const pugi::xml_node zip = regions.child("region").child("zip");
    for (const pugi::xml_attribute attribute : zip.attributes())
        attributes.insert(QString::fromUtf8(attribute.name()).toCaseFolded(), QString::fromUtf8(attribute.value()));
    return attributes;
}

QString ResolveDataFolder(const TAppSettingsSource& source, const TNameValueList& values, QString& candidate)
{
    const QString program = WithoutTrailingSlash(source.programFolder);
    const QString key = values.Value(QStringLiteral("datafolderregkey"));
    if (!key.isEmpty()) {
        candidate = source.debug.debugMode ? program + QStringLiteral("/Data/")
                                           : ReadSystemDataFolder(SystemConfigFile(source.systemConfigFolder), key);
        if (!candidate.isEmpty()) {
            candidate = WithSlash(candidate);
            if (QFileInfo(candidate).isDir())
                return candidate;
        }
    }
    const QString beside = program + QStringLiteral("/Data");
    if (!QFileInfo(beside).isDir())
        throw EDataFolderNotFound();
    return beside + QLatin1Char('/');
}

} // namespace

EDataFolderNotFound::EDataFolderNotFound()
    : std::runtime_error(kDataFolderNotFoundText)
{
}

TLoadedAppSettings LoadAppSettings(const TAppSettingsSource& source)
{
    TLoadedAppSettings loaded;
    TNameValueList values;
    TCaseInsensitiveResolver resolver;
    const QString builtInKey = QLatin1String(kBuiltInDataKey);

    TDesignFolderSettings folders;
    folders.programFolder = source.programFolder;
    folders.resourceFileName = source.resourceFileName;
    TDesignFolders slots = ComputeDesignFolders(folders);
    if (!source.debug.debugMode || source.debug.readAppDirIni)
        MergeAppIni(values, slots, dsProgram, builtInKey, resolver);

    loaded.dataFolder = ResolveDataFolder(source, values, loaded.dataCandidate);
    folders.dataFolder = loaded.dataFolder;
    folders.languageExtension = QLatin1String(kDefaultLanguageExtension);
    slots = ComputeDesignFolders(folders);
    MergeAppIni(values, slots, dsResource, builtInKey, resolver);
    MergeAppIni(values, slots, dsData, builtInKey, resolver);
    loaded.globalKey = values.Value(QStringLiteral("GlobalXOrKey"));

    const bool chooseLanguage
        = values.Value(QStringLiteral("LoadLanguageFiles")).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    TAppSettings::TRegionAttributes regionZip;
    QString language;
    if (const std::optional<TStoredLayer> regions = ReadFromSlot(slots, dsData, kAppRgnName, resolver)) {
        try {
            const TXMLDocumentPtr document = ParseLayer(*regions, loaded.globalKey);
            const pugi::xml_node element = RegionsElement(*document);
            regionZip = FirstRegionZip(element);
            if (chooseLanguage)
                language = ChooseLanguage(element, loaded.dataFolder);
        } catch (const EQORException&) {
            if (chooseLanguage)
                throw;
            // Already in the report log; the postcode rules fall back to AppIni.dat.
        }
    }

    loaded.languageExtension = QLatin1String(kDefaultLanguageExtension);
    if (!language.isEmpty()) {
        loaded.languageChosen = true;
        loaded.languageExtension = language;
        loaded.dataLanguageFolder
            = WithoutTrailingSlash(loaded.dataFolder) + QLatin1Char('.') + language + QLatin1Char('/');
        folders.languageExtension = language;
        slots = ComputeDesignFolders(folders);
        MergeAppIni(values, slots, dsResourceLanguage, loaded.globalKey, resolver);
        MergeAppIni(values, slots, dsDataLanguage, loaded.globalKey, resolver);
    }
    loaded.slots = slots;
    loaded.settings = TAppSettings(std::move(values), std::move(regionZip));
    return loaded;
}

void ApplyAppSettings(const TLoadedAppSettings& loaded)
{
    SetGlobalDataKey(loaded.globalKey);
    RegisterPathPlaceholder(QStringLiteral("{Data}"), loaded.dataFolder);
    if (loaded.languageChosen)
        RegisterPathPlaceholder(QStringLiteral("{DataLng}"), loaded.dataLanguageFolder);
}

TAppSettingsSource ProgramSettingsSource()
{
    TAppSettingsSource source;
    source.programFolder = AppFolders::ProgramFolder();
    source.debug = DebugSwitches();
    source.systemConfigFolder = SystemConfigFolder();
    return source;
}

} // namespace pavlora
