#pragma once

#include <QList>
#include <QString>

#include <pugixml.hpp>

#include <cstdint>
#include <optional>

namespace pavlora {

// The anchors of a control: the parent edges it keeps its distance to.
struct TAnchors {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;

    // Letters "L", "T", "R", "B" in any order and case.
    static TAnchors FromText(const QString& text);
    friend bool operator==(const TAnchors&, const TAnchors&) = default;
};

// A control that a form configuration creates in its window.
struct TDynCreateControlData {
    QString createControlClass; // "TECLabel" or "TECImage"
    QString text; // for labels; "\n" stands for a line break
    QString resourceId; // for pictures
    QString parentName;
};

// The settings of one configured control (or of the form itself). Values
// that the file does not give are empty.
struct TPropertyList {
    QString name;
    std::optional<std::int32_t> left, top, width, height;
    std::optional<bool> visible;
    std::optional<TAnchors> anchors;
    std::optional<QString> style;
    std::optional<bool> wordWrap;
    std::optional<QString> indivImageId;
    bool edgeRelative = false; // "LRTB": right/bottom values count from the parent's far edge
    std::optional<TDynCreateControlData> create;

    // Reads the attributes of a "form" or "control" element; names without case.
    static TPropertyList FromElement(pugi::xml_node element);
};

// The configuration of one window or frame, named by its class.
struct TFormConfig {
    QString name;
    TPropertyList form;
    QList<TPropertyList> controls; // in file order

    const TPropertyList* Control(const QString& controlName) const;
};

// Reads the "form" elements of a "Forms.dat" root (those with a name).
QList<TFormConfig> ReadFormConfigs(pugi::xml_node root);

} // namespace pavlora
