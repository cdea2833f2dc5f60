#pragma once

#include "core/AppSettings.h"
#include "core/DebugConfig.h"
#include "core/DesignFolders.h"

#include <QString>

#include <stdexcept>

namespace pavlora {

// The start-up of the installation settings: where the data folder is, the
// AppIni.dat layers of the design folders merged into one list, the
// language and its folders.
//
// The layers, later ones overriding earlier ones (an empty element removes a
// setting):
//
//   slot 0  program folder            read with the built-in data key; skipped
//                                     in debug mode unless "ReadAppDirIni"
//   (the data folder is resolved here, with "datafolderregkey" of slot 0)
//   slot 1  resource folder (or .zip) built-in key
//   slot 3  data folder               built-in key
//   ("GlobalXOrKey" is taken here and used for everything that follows)
//   slot 2  resource language folder  only after a language was chosen
//   slot 4  data language folder      only after a language was chosen
//
// The data folder: with "datafolderregkey" set, the value "DataFolder" of
// that group in the system configuration (core/SystemConfig.h), or in debug
// mode the program folder's "Data"; when that is no folder, the program
// folder's "Data"; when that is none either, EDataFolderNotFound.
//
// The language: when "LoadLanguageFiles" is "true" (any case) and the data
// folder holds AppRgn.dat, the first region (child of "regions") whose
// "Data." + "ext" folder exists beside the data folder, else the last one
// visited.
//
// LoadAppSettings only reads files; ApplyAppSettings puts the result in
// force for the process. Both run on the UI thread at start-up.

// The language extension the resource manager uses when none is chosen.
inline constexpr char kDefaultLanguageExtension[] = "DEU";
// The text of a missing data folder, as the program shows it.
inline constexpr char kDataFolderNotFoundText[] = "Data-Folder could not be located.";

class EDataFolderNotFound : public std::runtime_error {
public:
    EDataFolderNotFound();
};

struct TAppSettingsSource {
    QString programFolder;
    TDebugSwitches debug;
    QString systemConfigFolder; // holds pavlora/pavlora.conf
    QString resourceFileName = QStringLiteral("Resources");
};

struct TLoadedAppSettings {
    TAppSettings settings;
    QString dataCandidate; // the folder the key named (shown while starting), or empty
    QString dataFolder; // "{Data}", with a trailing "/"
    QString languageExtension; // for the resource manager: the chosen one, else "DEU"
    bool languageChosen = false;
    QString dataLanguageFolder; // "{DataLng}" with a trailing "/", or empty without a chosen language
    QString globalKey; // "GlobalXOrKey" as taken after the data folder's layer
    TDesignFolders slots; // the design folders for languageExtension
};

// Resolves the data folder, merges the layers and chooses the language.
// Raises EDataFolderNotFound, and EQORException (context
// "XMLUtils2.ReadXMLDocument") for an AppIni.dat that cannot be read, or an
// AppRgn.dat that cannot be read while the language is to be chosen from it.
// An unreadable AppRgn.dat otherwise is reported and its region rules are
// not used.
TLoadedAppSettings LoadAppSettings(const TAppSettingsSource& source);

// Puts "GlobalXOrKey" in force as the data key and registers "{Data}" and,
// with a chosen language, "{DataLng}".
void ApplyAppSettings(const TLoadedAppSettings& loaded);

// The source of the running program: AppFolders::ProgramFolder(), the
// process's Debug.cfg switches and SystemConfigFolder().
TAppSettingsSource ProgramSettingsSource();

} // namespace pavlora
