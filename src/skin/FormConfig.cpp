#include "skin/FormConfig.h"

#include "skin/StyleAttributes.h"

namespace pavlora {
namespace {

std::optional<std::int32_t> IntegerValue(const QString& text)
{
    std::int32_t value = 0;
    if (!TStyleAttributes::ParseInteger(text, value))
        return std::nullopt;
    return value;
}

bool IsTrue(const QString& text)
{
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

TAnchors TAnchors::FromText(const QString& text)
{
    TAnchors anchors;
    for (const QChar letter : text.toUpper()) {
        if (letter == QLatin1Char('L'))
            anchors.left = true;
        else if (letter == QLatin1Char('T'))
            anchors.top = true;
        else if (letter == QLatin1Char('R'))
            anchors.right = true;
        else if (letter == QLatin1Char('B'))
            anchors.bottom = true;
    }
    return anchors;
}

TPropertyList TPropertyList::FromElement(pugi::xml_node element)
{
    TPropertyList list;
    TDynCreateControlData create;
    bool creates = false;
    for (const pugi::xml_attribute attribute : element.attributes()) {
        const QString name = QString::fromUtf8(attribute.name()).toLower();
        const QString value = QString::fromUtf8(attribute.value());
        if (name == QLatin1String("name"))
            list.name = value;
        else if (name == QLatin1String("left"))
            list.left = IntegerValue(value);
        else if (name == QLatin1String("top"))
            list.top = IntegerValue(value);
        else if (name == QLatin1String("width"))
            list.width = IntegerValue(value);
        else if (name == QLatin1String("height"))
            list.height = IntegerValue(value);
        else if (name == QLatin1String("visible"))
            list.visible = IsTrue(value);
        else if (name == QLatin1String("anchors"))
            list.anchors = TAnchors::FromText(value);
        else if (name == QLatin1String("style"))
            list.style = value;
        else if (name == QLatin1String("wordwrap"))
            list.wordWrap = IsTrue(value);
        else if (name == QLatin1String("indivimageid"))
            list.indivImageId = value;
        else if (name == QLatin1String("lrtb"))
            list.edgeRelative = value == QLatin1String("1");
        else if (name == QLatin1String("createcontrolclass")) {
            create.createControlClass = value;
            creates = true;
        } else if (name == QLatin1String("text"))
            create.text = value;
        else if (name == QLatin1String("resourceid"))
            create.resourceId = value;
        else if (name == QLatin1String("parentname"))
            create.parentName = value;
    }
    if (creates)
        list.create = create;
    return list;
}

const TPropertyList* TFormConfig::Control(const QString& controlName) const
{
    for (const TPropertyList& control : controls) {
        if (control.name.compare(controlName, Qt::CaseInsensitive) == 0)
            return &control;
    }
    return nullptr;
}

QList<TFormConfig> ReadFormConfigs(pugi::xml_node root)
{
    QList<TFormConfig> configs;
    for (pugi::xml_node formNode = root.child("form"); formNode; formNode = formNode.next_sibling("form")) {
        TFormConfig config;
        config.form = TPropertyList::FromElement(formNode);
        config.name = config.form.name;
        if (config.name.isEmpty())
            continue;
        for (pugi::xml_node control = formNode.child("control"); control; control = control.next_sibling("control")) {
            TPropertyList list = TPropertyList::FromElement(control);
            if (!list.name.isEmpty())
                config.controls.append(list);
        }
        configs.append(config);
    }
    return configs;
}

} // namespace pavlora
