#pragma once

#include <QString>

#include <array>

namespace pavlora {

// The five design folders ("slots") that the program's files are looked up
// in, from the most general to the most specific:
//
//   0 program folder
//   1 resource folder           <program folder>/<resource file name>
//   2 resource language folder  <resource folder>.<language extension>
//   3 data folder
//   4 data language folder      <data folder>.<language extension>
//
// Without a language extension slots 2 and 4 are empty. A slot whose folder
// does not exist is empty too, except that the resource slots (1 and 2) may
// instead be a zip archive of the same name + ".zip".
struct TDesignFolderSettings {
    QString programFolder;
    QString dataFolder;
    QString languageExtension;
    QString resourceFileName = QStringLiteral("Resources");
};

enum TDesignSlot : int {
    dsProgram = 0,
    dsResource = 1,
    dsResourceLanguage = 2,
    dsData = 3,
    dsDataLanguage = 4,
};

// Each slot's folder with a trailing "/", or empty.
using TDesignFolders = std::array<QString, 5>;
TDesignFolders ComputeDesignFolders(const TDesignFolderSettings& settings);

// `folder` without trailing "/" (but "/" stays "/").
QString WithoutTrailingSlash(QString folder);

} // namespace pavlora
