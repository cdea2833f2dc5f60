#pragma once

#include <QList>
#include <QString>

namespace pavlora {

// The hand-over file (extension "fsw") through which another program fills
// the cart: an INI file with a "General" section and one section per item.
//
// It is read by our own INI reader so that values keep exactly what the
// file has: commas, backslashes (Windows paths) and the case of keys.
// Section and key names are looked up without regard to case, as Windows
// INI files are. Every count and number is validated before anything is
// used; a file that fails is refused as a whole.
class THandOverFile {
public:
    // Largest number of items, and of lines per item, that a file may name.
    static constexpr int kMaxItems = 10000;
    static constexpr int kMaxLines = 100;
    static constexpr int kMaxQuantity = 100000;
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    enum class Account { Prints = 0, Products = 1, AlternativePrints = 2 };

    struct Line {
        QString formatId;
        int quantity = 0;
    };
    struct Item {
        QList<Line> lines;
        // The picture as the file names it, and resolved against the
        // hand-over file's folder.
        QString fileName;
        QString picturePath;
        QString originalFileName;
    };

    // Reads and validates `path`. Raises EQORException code 2 whose code
    // text names the fault ("Invalid hand-over file: ...").
    static THandOverFile Read(const QString& path);
    // The same from the file's bytes; `folder` resolves relative picture
    // names.
    static THandOverFile Parse(const QByteArray& bytes, const QString& folder);

    Account account = Account::Prints;
    QList<Item> items;
};

} // namespace pavlora
