#pragma once

#include "skin/DesignErrors.h"
#include "skin/StyleData.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace pavlora {

// The styles of the skin: for each style class ("button", "panel", ...) its
// named styles, names compared without case.
//
// A registry is filled from the design files on one thread, then published
// (see TECResourceManager) and only read afterwards; reloading the designs
// builds a new registry, so records a control holds stay valid. Lookups are
// safe from any thread.
class TStyleRegistry {
public:
    explicit TStyleRegistry(TDesignErrors& errors);
    ~TStyleRegistry();

    TStyleRegistry(const TStyleRegistry&) = delete;
    TStyleRegistry& operator=(const TStyleRegistry&) = delete;

    // The style `styleName` of class `className`. An unknown class is a
    // design error. A missing style is created with defaults when `create`,
    // otherwise none (a design error once styles have been loaded before).
    TStyleData* GetStyle(const QString& className, const QString& styleName, bool create);
    // The style, or else the class's style with the empty name (created on
    // demand). Errors are shown as a plain error and give none.
    const TStyleData* GetStyleOrDefault(const QString& className, const QString& styleName);
    template <class T>
    const T* StyleOrDefault(const QString& className, const QString& styleName)
    {
        return dynamic_cast<const T*>(GetStyleOrDefault(className, styleName));
    }

    // Reads the children of a design file's root element into the registry.
    // Returns whether the file counts as a design file (it defined a style or
    // held "resource_manager_config"). A value of the wrong type throws
    // EDesignError; the styles read so far stay.
    bool ReadDesign(pugi::xml_node root);

    int StyleCount() const;
    QStringList ClassNames() const;
    QStringList StyleNames(const QString& className) const;

    // Picture-name suffixes of the nine button states (up, up focused, up
    // highlighted, up pressed, down, down focused, down highlighted, down
    // pressed, disabled).
    QStringList ButtonStateSuffixes() const;

    // Whether styles were loaded before this registry (missing styles are
    // reported only then).
    void SetStylesLoadedBefore(bool loaded) { stylesLoadedBefore_ = loaded; }
    TDesignErrors& Errors() const { return errors_; }

private:
    struct Style {
        QString name;
        std::unique_ptr<TStyleData> data;
    };
    struct StyleClass {
        QString name;
        std::function<std::unique_ptr<TStyleData>()> create;
        std::map<QString, Style> styles; // by lower-case name
    };

    StyleClass* FindClass(const QString& className);
    void ReadStyleElement(pugi::xml_node element);
    void ReadResourceManagerConfig(pugi::xml_node element);

    TDesignErrors& errors_;
    mutable std::recursive_mutex mutex_;
    std::vector<StyleClass> classes_;
    QHash<QString, std::size_t> classIndex_; // lower-case name -> index
    QStringList buttonStateSuffixes_;
    bool stylesLoadedBefore_ = false;
};

} // namespace pavlora
