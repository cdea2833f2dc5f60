#pragma once

#include <QString>

namespace pavlora {

class TProductTexts;

// The kinds of text macro. A display name uses kLang as its default kind,
// so "{Name}" there reads the product text "Name".
enum class TextMacroKind { None = 0, Lang = 1, Price = 2, File = 3 };

// Where the "{[price]ID}" macro gets the formatted price of a catalogue
// entry. The order side implements it once prices exist; until then the
// headless default answers "???" for every entry.
class TPriceTextSource {
public:
    virtual ~TPriceTextSource() = default;
    // The formatted price of the entry with full id `catalogueId`; "???"
    // when the entry is unknown or has no price.
    virtual QString FormattedPrice(const QString& catalogueId) const;
};

// Expands the text macros of catalogue texts:
//   "{[lang]NAME}"  the product text NAME (empty when missing),
//   "{[price]ID}"   the formatted price of catalogue entry ID ("???" when none),
//   "{[file]PATH}"  PATH with its placeholder expanded.
// A "{" without a known prefix is read as the default kind when one is
// given and left alone otherwise. Braces nest: the macro ends at the "}"
// that matches its "{", so a "[file]" path may begin with a placeholder. The scan goes on after the inserted text,
// so an inserted text is never expanded again.
class TTextMacros {
public:
    // `texts` and `prices` must outlive the expander; a null `prices` uses
    // the headless default.
    explicit TTextMacros(const TProductTexts* texts = nullptr, const TPriceTextSource* prices = nullptr);

    QString Expand(const QString& text, TextMacroKind defaultKind = TextMacroKind::None) const;

private:
    const TProductTexts* texts_;
    const TPriceTextSource* prices_;
};

// The free form of the catalogue's texts.
QString ExpandTextMacros(const QString& text, TextMacroKind defaultKind, const TProductTexts* texts = nullptr,
    const TPriceTextSource* prices = nullptr);

} // namespace pavlora
