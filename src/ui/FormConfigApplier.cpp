#include "ui/FormConfigApplier.h"

#include "skin/ECResourceManager.h"
#include "skin/FormConfig.h"
#include "ui/ECButton.h"
#include "ui/ECLabel.h"
#include "ui/ECPanel.h"
#include "ui/Skin.h"
#include "ui/WorkFrame.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QWidget>

namespace pavlora {

namespace {

// Keeps the distances of anchored children to the far edges of their parent
// when the parent is resized; children in a layout are the layout's.
class TAnchorKeeper final : public QObject {
public:
    explicit TAnchorKeeper(QWidget* parent)
        : QObject(parent)
    {
        parent->installEventFilter(this);
    }

    static TAnchorKeeper& Of(QWidget* parent)
    {
        for (QObject* child : parent->children())
            if (auto* keeper = dynamic_cast<TAnchorKeeper*>(child))
                return *keeper;
        return *new TAnchorKeeper(parent);
    }

    void Keep(QWidget* control, const TAnchors& anchors)
    {
        const QRect client = static_cast<QWidget*>(parent())->contentsRect();
        const QRect box = control->geometry();
        for (Entry& entry : entries_) {
            if (entry.control == control) {
                entry = {control, anchors, client.right() - box.right(), client.bottom() - box.bottom()};
                return;
            }
        }
        entries_.append({control, anchors, client.right() - box.right(), client.bottom() - box.bottom()});
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize) {
            const QRect client = static_cast<QWidget*>(parent())->contentsRect();
            for (const Entry& entry : std::as_const(entries_)) {
                if (!entry.control)
                    continue;
                QRect box = entry.control->geometry();
                if (entry.anchors.right) {
                    const int right = client.right() - entry.right;
                    if (entry.anchors.left)
                        box.setRight(right);
                    else
                        box.moveRight(right);
                }
                if (entry.anchors.bottom) {
                    const int bottom = client.bottom() - entry.bottom;
                    if (entry.anchors.top)
                        box.setBottom(bottom);
                    else
                        box.moveBottom(bottom);
                }
                entry.control->setGeometry(box);
            }
        }
        return false;
    }

private:
    struct Entry {
        QPointer<QWidget> control;
        TAnchors anchors;
        int right = 0; // distance of the right edge from the client's right
        int bottom = 0;
    };
    QList<Entry> entries_;
};

bool AvailableInDesignMode(const QWidget& control)
{
    if (const auto* button = qobject_cast<const TECButton*>(&control))
        return button->AvailableInDesignMode();
    if (const auto* panel = qobject_cast<const TECPanel*>(&control))
        return panel->AvailableInDesignMode();
    if (const auto* label = qobject_cast<const TECLabel*>(&control))
        return label->AvailableInDesignMode();
    const QVariant available = control.property("AvailableInDesignMode");
    return !available.isValid() || available.toBool();
}

bool InLayout(const QWidget& control)
{
    const QWidget* parent = control.parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(&control) >= 0;
}

void ConfigureControl(QWidget& control, const TPropertyList& entry)
{
    if (!AvailableInDesignMode(control))
        return;
    QWidget* parent = control.parentWidget();
    TAnchors anchors;
    anchors.left = anchors.top = true;
    if (entry.anchors)
        anchors = *entry.anchors;
    else if (const QVariant stored = control.property("pavloraAnchors"); stored.isValid())
        anchors = TAnchors::FromText(stored.toString());
    if (entry.anchors) {
        QString letters;
        letters += anchors.left ? QStringLiteral("L") : QString();
        letters += anchors.top ? QStringLiteral("T") : QString();
        letters += anchors.right ? QStringLiteral("R") : QString();
        letters += anchors.bottom ? QStringLiteral("B") : QString();
        control.setProperty("pavloraAnchors", letters);
    }

    const bool geometryGiven = entry.left || entry.top || entry.width || entry.height;
    if (geometryGiven && InLayout(control)) {
        // A control in a layout keeps its place; a given size becomes fixed.
        if (entry.width)
            control.setFixedWidth(std::max(0, *entry.width));
        if (entry.height)
            control.setFixedHeight(std::max(0, *entry.height));
    } else if (geometryGiven) {
        const QRect client = parent ? parent->contentsRect() : QRect();
        QRect box = control.geometry();
        if (entry.left)
            box.moveLeft(parent && anchors.right && (!anchors.left || !entry.edgeRelative)
                    ? client.width() - *entry.left
                    : *entry.left);
        if (entry.top)
            box.moveTop(parent && anchors.bottom && (!anchors.top || !entry.edgeRelative) ? client.height() - *entry.top
                                                                                          : *entry.top);
        if (entry.width)
            box.setWidth(std::max(0,
                entry.edgeRelative && parent && anchors.left && anchors.right ? client.width() - *entry.width
                                                                              : *entry.width));
        if (entry.height)
            box.setHeight(std::max(0,
                entry.edgeRelative && parent && anchors.top && anchors.bottom ? client.height() - *entry.height
                                                                              : *entry.height));
        control.setGeometry(box);
    }
    if (parent && !InLayout(control) && (anchors.right || anchors.bottom))
        TAnchorKeeper::Of(parent).Keep(&control, anchors);

    if (entry.visible)
        control.setVisible(*entry.visible);
    if (entry.style) {
        if (auto* button = qobject_cast<TECButton*>(&control))
            button->SetStyleName(*entry.style);
        else if (auto* panel = qobject_cast<TECPanel*>(&control))
            panel->SetStyleName(*entry.style);
        else if (auto* label = qobject_cast<TECLabel*>(&control))
            label->SetStyleName(*entry.style);
    }
    if (entry.wordWrap) {
        if (auto* label = qobject_cast<QLabel*>(&control))
            label->setWordWrap(*entry.wordWrap);
    }
    if (entry.indivImageId) {
        if (auto* button = qobject_cast<TECButton*>(&control))
            button->SetIndivImageId(*entry.indivImageId);
    }
    if (qobject_cast<TECButton*>(&control) && (geometryGiven || entry.anchors || entry.style))
        control.update();
}

void ConfigureChildren(QWidget& widget, const TFormConfig& config)
{
    // A copy: configuring a control may add an anchor keeper to its parent.
    const QObjectList children = widget.children();
    for (QObject* object : children) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || qobject_cast<TWorkFrame*>(child))
            continue;
        if (const TPropertyList* entry = config.Control(child->objectName()); entry && !child->objectName().isEmpty())
            ConfigureControl(*child, *entry);
        ConfigureChildren(*child, config);
    }
}

void CreateControls(QWidget& window, const TFormConfig& config)
{
    for (const TPropertyList& entry : config.controls) {
        if (!entry.create || entry.name.isEmpty())
            continue;
        const TDynCreateControlData& data = *entry.create;
        auto* parent = window.findChild<QWidget*>(data.parentName);
        if (data.parentName.compare(window.objectName(), Qt::CaseInsensitive) == 0 && !window.objectName().isEmpty())
            parent = &window;
        if (!parent || window.findChild<QObject*>(entry.name))
            continue;
        if (data.createControlClass.compare(QLatin1String("TECLabel"), Qt::CaseInsensitive) == 0) {
            auto* label = new TECLabel(parent);
            label->setObjectName(entry.name);
            QString text = data.text;
            text.replace(QLatin1String("\\n"), QLatin1String("\n"));
            label->setText(text);
            label->adjustSize();
            label->show();
        } else if (data.createControlClass.compare(QLatin1String("TECImage"), Qt::CaseInsensitive) == 0) {
            auto* image = new TECImage(parent);
            image->setObjectName(entry.name);
            image->SetResourceId(data.resourceId);
            image->show();
        }
    }
}

} // namespace

QString FormConfigName(const QWidget& window)
{
    const QString name = QString::fromLatin1(window.metaObject()->className());
    const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

void ApplyFormConfig(QWidget& window, TFormConfigMode mode)
{
    TECResourceManager* manager = Skin::ResourceManager();
    if (!manager)
        return;
    const std::optional<TFormConfig> config = manager->FormConfiguration(FormConfigName(window));
    if (!config)
        return;
    CreateControls(window, *config);
    const TPropertyList& own = config->form;
    if (mode == TFormConfigMode::Geometry) {
        window.move(own.left.value_or(window.x()), own.top.value_or(window.y()));
        window.resize(own.width.value_or(window.width()), own.height.value_or(window.height()));
    } else if (mode == TFormConfigMode::ParentClient) {
        if (QWidget* parent = window.parentWidget())
            parent->resize(own.width.value_or(parent->width()), own.height.value_or(parent->height()));
        window.resize(own.width.value_or(window.width()), own.height.value_or(window.height()));
    }
    ConfigureChildren(window, *config);
}

} // namespace pavlora
