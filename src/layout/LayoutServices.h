#pragma once

#include <QImage>
#include <QString>

namespace pavlora {

class TTempFileManager;

// The settings the layout model reads (installation settings, fixed for a
// run). The program fills them from its settings list at start, before any
// layout is loaded; the defaults are the built-in ones.
struct TLayoutSettings {
    bool preventOverlap = true; // "pb_prevent_overlapp": moved graphics stay near their print
    bool enableCp1252Charset = false; // "enable_cp1252_charset": label texts keep codes 128–159
    int maxTextLength = 3800; // "pb_max_text_length": characters of a label's wrapped text
    bool canRotate = false; // "pb_can_rotate": pictures and labels may be rotated in the designer
};

TLayoutSettings LayoutSettings();
void SetLayoutSettings(const TLayoutSettings& settings);

// The file usage register of the image server: which picture is used where.
// Layout picture slots report a picture they get and changes; the photobook
// reports its pages. The default register records nothing.
class IFileUsageRegister {
public:
    virtual ~IFileUsageRegister() = default;
    // `fileName` is used by `entry` (a kind such as "Photobook") on `page`.
    virtual void Add(const QString& fileName, const QString& entry, int page) = 0;
    // The uses changed; the register is rebuilt on the next lookup.
    virtual void Reset() = 0;
};

// The register in use; never null. `registry` null restores the default.
IFileUsageRegister& FileUsageRegister();
void SetFileUsageRegister(IFileUsageRegister* registry);

// Where photos get their display bitmaps (the image server's caches). The
// default loads the picture through the picture facade each time.
class ILayoutBitmapSource {
public:
    virtual ~ILayoutBitmapSource() = default;
    // The picture with its longer side `size` pixels; `slot` when a picture
    // slot asks (its own cache options). Null when it cannot be had.
    virtual QImage GetBitmap(const QString& fileName, int size, bool slot) = 0;
};

ILayoutBitmapSource& LayoutBitmapSource();
void SetLayoutBitmapSource(ILayoutBitmapSource* source);

// The program's one register of temporary picture files; created on first
// use, it deletes its files at program end.
TTempFileManager& TempFileManager();

} // namespace pavlora
