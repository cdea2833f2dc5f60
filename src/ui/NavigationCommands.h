#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace pavlora {

// The numbers of the navigation commands. Buttons, links, page descriptions
// and the command line name them in texts such as "ViewGroup(Prints)"; the
// program also runs the unnamed ones directly.
namespace Command {
inline constexpr int Back = -1;
inline constexpr int Nothing = 0;
inline constexpr int Browse = 2;
inline constexpr int AddProduct = 3;
inline constexpr int ViewGroup = 4;
inline constexpr int NewPhotobook = 5;
inline constexpr int OpenPhotobook = 6;
inline constexpr int EditPhotobook = 7;
inline constexpr int IncludePhotobook = 8;
inline constexpr int Help = 9;
inline constexpr int Settings = 10;
inline constexpr int Prices = 11;
inline constexpr int OrderMain = 12;
inline constexpr int Login = 13;
inline constexpr int AfterLogin = 14;
inline constexpr int Register = 15;
inline constexpr int CDOrder = 16;
inline constexpr int ProductInfo = 17;
inline constexpr int UpSelling = 23;
inline constexpr int OrderConfirmation = 24;
inline constexpr int ForgottenPassword = 27;
inline constexpr int Terms = 28;
inline constexpr int CardVerification = 29;
inline constexpr int UserData = 30;
inline constexpr int ShowPreview = 37;
inline constexpr int ClosePreview = 38;
inline constexpr int UpdatePreview = 39;
inline constexpr int Tour = 40;
inline constexpr int StoreSearch = 41;
inline constexpr int DeliveryData = 42;
inline constexpr int PictureImport = 43;
inline constexpr int AddProductPicture = 46;
inline constexpr int ServiceDescription = 47;
inline constexpr int Organizing = 48;
inline constexpr int DiscBackup = 49;
} // namespace Command

// A command text split into its name and its argument text.
struct TCommandText {
    QString name; // trimmed
    QString argumentText;
};

// Splits "Name(arg;arg)": when the text ends with ")" and holds "(", the
// name is what stands before the first "(" and the argument text what stands
// between it and the final ")"; otherwise the whole text is the name.
TCommandText SplitCommandText(const QString& text);

// Splits an argument text at ";". An argument between two "|" may hold ";"
// (a doubled "||" inside it stands for one "|"). An empty text gives an
// empty list.
QStringList SplitCommandArguments(const QString& argumentText);

// Joins arguments into an argument text that SplitCommandArguments reads
// back; arguments holding ";" or "|" are quoted.
QString JoinCommandArguments(const QStringList& arguments);

// The names of the commands, compared without regard to case.
class TCommandVocabulary {
public:
    // The program's vocabulary ("Back", "Nothing", "Browse", ... "Organizing").
    static TCommandVocabulary Standard();

    void Add(const QString& name, int number);
    // The number of a name, or none when the vocabulary does not know it.
    std::optional<int> Find(const QString& name) const;
    QList<std::pair<QString, int>> Entries() const { return entries_; }

private:
    QList<std::pair<QString, int>> entries_; // sorted by case-folded name
};

} // namespace pavlora
