#pragma once

#include "core/NameValueList.h"

#include <QString>

namespace pavlora {

// The product texts of "ProdTexts.dat": a name=value table that the text
// macros "{[lang]NAME}" of the catalogue read. Read on the UI thread.
class TProductTexts {
public:
    // Reads "{Data}/ProdTexts.dat" and, when "{Data}/AppRgn.dat" exists,
    // "{DataLng}/ProdTexts.dat" over it (later values win). Missing files
    // are skipped; a file that exists but cannot be read raises.
    void Load();
    // The same from explicit folders (no placeholders).
    void Load(const QString& dataFolder, const QString& dataLanguageFolder);

    // The text of `name` (without regard to case), empty when missing.
    QString Text(const QString& name) const { return texts_.Value(name); }
    void SetText(const QString& name, const QString& value) { texts_.SetValue(name, value); }
    const TNameValueList& Texts() const { return texts_; }

private:
    TNameValueList texts_;
};

} // namespace pavlora
