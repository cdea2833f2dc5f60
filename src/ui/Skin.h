#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

namespace pavlora {

class TECPictureResource;
class TECResourceManager;
class TFontStyle;
class TStyleRegistry;

// The skin the program's controls paint with: the process's resource
// manager, set once by the application object before the first window is
// made. Used on the UI thread.
namespace Skin {

void SetResourceManager(TECResourceManager* manager);
// The resource manager, or null (controls then paint plainly).
TECResourceManager* ResourceManager();
// The current styles, or null.
std::shared_ptr<TStyleRegistry> Styles();
// The shared picture of that name, or null.
std::shared_ptr<const TECPictureResource> Picture(const QString& name);

// A platform colour value (blue in the high byte) as a colour; invalid for
// "no colour" and "parent colour".
QColor Color(std::int32_t value);
// The font a font style describes, at 96 dots per inch.
QFont Font(const TFontStyle& style);

// Fills `"a %s b %s"` with the texts in order.
QString FormatPattern(const QString& pattern, const QStringList& values);

} // namespace Skin
} // namespace pavlora
