#include "skin/StyleRegistry.h"

#include "skin/ButtonStyle.h"
#include "skin/ControlStyles.h"
#include "skin/FontStyle.h"
#include "skin/ImageViewStyle.h"
#include "skin/PanelStyle.h"
#include "skin/PhotobookGaugeStyle.h"
#include "skin/TableStyle.h"

#include <cstring>

namespace pavlora {
namespace {

template <class T>
std::unique_ptr<TStyleData> Make()
{
    return std::make_unique<T>();
}

// The classes whose missing master has a message of its own.
QString InvalidMasterText(const QString& className, const QString& master)
{
    if (className == QLatin1String("button"))
        return QStringLiteral("ButtonsData (%1)-> Master invalid ").arg(master);
    if (className == QLatin1String("photobook_gauge"))
        return QStringLiteral("PhotobookGaugeStyle (%1)-> Master invalid ").arg(master);
    if (className == QLatin1String("imageview"))
        return QStringLiteral("ImageViewStyle (%1)-> Master invalid ").arg(master);
    return {};
}

} // namespace

TStyleRegistry::TStyleRegistry(TDesignErrors& errors)
    : errors_(errors)
    , buttonStateSuffixes_{QStringLiteral("Up"), QStringLiteral("Focus"), QStringLiteral("High"),
          QStringLiteral("Press"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
          QStringLiteral("Press"), QStringLiteral("Dis")}
{
    const std::pair<const char*, std::unique_ptr<TStyleData> (*)()> kClasses[] = {
        {"font", &Make<TFontStyle>},
        {"button", &Make<TButtonStyle>},
        {"label", &Make<TLabelData>},
        {"panel", &Make<TPanelStyle>},
        {"table", &Make<TTableStyle>},
        {"splitter", &Make<TSplitterStyle>},
        {"list_box", &Make<TECListBoxStyle>},
        {"progress", &Make<TProgressStyle>},
        {"combo_box", &Make<TECComboBoxStyle>},
        {"check_box", &Make<TECCheckBoxStyle>},
        {"radio_button", &Make<TECRadioButtonStyle>},
        {"edit", &Make<TECEditStyle>},
        {"html_viewer", &Make<TECHTMLViewerStyle>},
        {"memo", &Make<TECMemoStyle>},
        {"photobook_gauge", &Make<TECPhotobookGaugeStyle>},
        {"imageview", &Make<TECImageViewStyle>},
    };
    for (const auto& [name, create] : kClasses) {
        classIndex_.insert(QLatin1String(name), classes_.size());
        classes_.push_back(StyleClass{QLatin1String(name), create, {}});
    }
}

TStyleRegistry::~TStyleRegistry() = default;

TStyleRegistry::StyleClass* TStyleRegistry::FindClass(const QString& className)
{
    const auto it = classIndex_.constFind(className.toLower());
    return it == classIndex_.constEnd() ? nullptr : &classes_[*it];
}

TStyleData* TStyleRegistry::GetStyle(const QString& className, const QString& styleName, bool create)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    StyleClass* styleClass = FindClass(className);
    if (!styleClass) {
        errors_.Report(QStringLiteral("Unknown style class: \"%1\" with style \"%2\".").arg(className, styleName));
        return nullptr;
    }
    const QString key = styleName.toLower();
    const auto it = styleClass->styles.find(key);
    if (it != styleClass->styles.end())
        return it->second.data.get();
    if (create) {
        Style& style = styleClass->styles[key];
        style.name = styleName;
        style.data = styleClass->create();
        return style.data.get();
    }
    if (stylesLoadedBefore_ && !styleName.isEmpty())
        errors_.Report(QStringLiteral("Style \"%1\" of class \"%2\" does not exist.").arg(styleName, className));
    return nullptr;
}

const TStyleData* TStyleRegistry::GetStyleOrDefault(const QString& className, const QString& styleName)
{
    try {
        if (const TStyleData* style = GetStyle(className, styleName, false))
            return style;
        return GetStyle(className, QString(), true);
    } catch (const std::exception& error) {
        errors_.Reporter().ShowError(QStringLiteral("GetStyleDataFromReload"), QString::fromUtf8(error.what()));
        return nullptr;
    }
}

void TStyleRegistry::ReadStyleElement(pugi::xml_node element)
{
    const QString className = QString::fromUtf8(element.name());
    const QString styleName = QString::fromUtf8(element.attribute("style").value());
    TStyleData* record = GetStyle(className, styleName, true);
    if (!record)
        return;
    const TStyleAttributes attributes(element);
    if (attributes.Has("master") && className.compare(QLatin1String("table"), Qt::CaseInsensitive) != 0) {
        const QString master = attributes.Raw("master");
        const QString invalidText = InvalidMasterText(className.toLower(), master);
        // The classes with a message of their own look the master up quietly.
        const TStyleData* masterRecord = nullptr;
        {
            std::lock_guard<std::recursive_mutex> lock(mutex_);
            StyleClass* styleClass = FindClass(className);
            const auto it = styleClass->styles.find(master.toLower());
            if (it != styleClass->styles.end())
                masterRecord = it->second.data.get();
        }
        if (!masterRecord && invalidText.isEmpty())
            GetStyle(className, master, false); // reports a missing style
        if (masterRecord) {
            if (masterRecord != record)
                record->AssignFrom(*masterRecord);
        } else {
            if (!invalidText.isEmpty())
                errors_.Report(invalidText);
            record->ResetToDefaults();
        }
    }
    record->ReadFromNode(attributes, TStyleReadContext{*this, className, styleName});
}

void TStyleRegistry::ReadResourceManagerConfig(pugi::xml_node element)
{
    static const char* const kStates[] = {"up", "up_focused", "up_highlight", "up_pressed", "down", "down_focused",
        "down_highlight", "down_pressed", "disabled"};
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (pugi::xml_node ids = element.child("button_state_ids"); ids; ids = ids.next_sibling("button_state_ids")) {
        for (int state = 0; state < 9; ++state) {
            const pugi::xml_attribute attribute = ids.attribute(kStates[state]);
            if (attribute)
                buttonStateSuffixes_[state] = QString::fromUtf8(attribute.value());
        }
    }
}

bool TStyleRegistry::ReadDesign(pugi::xml_node root)
{
    bool isDesign = false;
    for (pugi::xml_node element = root.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element)
            continue;
        if (element.attribute("style")) {
            isDesign = true;
            ReadStyleElement(element);
        } else if (std::strcmp(element.name(), "resource_manager_config") == 0) {
            isDesign = true;
            ReadResourceManagerConfig(element);
        } else {
            errors_.Report(QStringLiteral("Node %1 has no style.").arg(QString::fromUtf8(element.name())));
        }
    }
    return isDesign;
}

int TStyleRegistry::StyleCount() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::size_t count = 0;
    for (const StyleClass& styleClass : classes_)
        count += styleClass.styles.size();
    return static_cast<int>(count);
}

QStringList TStyleRegistry::ClassNames() const
{
    QStringList names;
    for (const StyleClass& styleClass : classes_)
        names.append(styleClass.name);
    return names;
}

QStringList TStyleRegistry::StyleNames(const QString& className) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    QStringList names;
    const auto it = classIndex_.constFind(className.toLower());
    if (it != classIndex_.constEnd()) {
        for (const auto& [key, style] : classes_[*it].styles)
            names.append(style.name);
    }
    return names;
}

QStringList TStyleRegistry::ButtonStateSuffixes() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return buttonStateSuffixes_;
}

} // namespace pavlora
