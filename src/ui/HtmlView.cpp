#include "ui/HtmlView.h"

#include "skin/ControlStyles.h"
#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"
#include "skin/FontStyle.h"
#include "skin/StyleRegistry.h"
#include "ui/Skin.h"

#include <QTextDocument>
#include <QUrl>

namespace pavlora {

namespace {

// The relative resource name of a link, or empty for anything that leaves
// the resource folders (schemes other than plain names, absolute paths, "..").
QString RelativeName(const QUrl& url)
{
    if (!url.scheme().isEmpty() && url.scheme() != QLatin1String("file"))
        return {};
    QString path = url.path();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1String("./")))
        path = path.mid(2);
    if (path.isEmpty() || path.startsWith(QLatin1Char('/'))
        || path.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return {};
    return path;
}

} // namespace

THtmlView::THtmlView(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
}

bool THtmlView::OpenResource(const QString& name)
{
    TECResourceManager* manager = Skin::ResourceManager();
    const QString relative = RelativeName(QUrl(name));
    if (!manager || relative.isEmpty() || !manager->ResourceExists(relative))
        return false;
    try {
        const QByteArray page = manager->GetResource(relative);
        const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
        pageFolder_ = slash < 0 ? QString() : relative.left(slash + 1);
        setHtml(QString::fromUtf8(page));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void THtmlView::SetStyleName(const QString& name)
{
    const auto registry = Skin::Styles();
    const auto* style
        = registry ? registry->StyleOrDefault<TECHTMLViewerStyle>(QStringLiteral("html_viewer"), name) : nullptr;
    if (!style)
        return;
    if (style->font.font) {
        setFont(Skin::Font(*style->font.font));
        document()->setDefaultFont(font());
    }
    QPalette colours = palette();
    const QColor back = Skin::Color(style->bgColor);
    if (back.isValid())
        colours.setColor(QPalette::Base, back);
    const QColor link = Skin::Color(style->hotSpotColor);
    if (link.isValid())
        colours.setColor(QPalette::Link, link);
    const QColor visited = Skin::Color(style->visitedLinkColor);
    if (visited.isValid())
        colours.setColor(QPalette::LinkVisited, visited);
    setPalette(colours);
}

QVariant THtmlView::loadResource(int type, const QUrl& name)
{
    const QString relative = RelativeName(name);
    if (relative.isEmpty())
        return {};
    if (type == QTextDocument::ImageResource) {
        const QString fileName = relative.mid(relative.lastIndexOf(QLatin1Char('/')) + 1);
        const QString resource = pictureFolder_.isEmpty() ? pageFolder_ + relative : pictureFolder_ + fileName;
        if (const auto picture = Skin::Picture(resource))
            return picture->Image();
        return {};
    }
    TECResourceManager* manager = Skin::ResourceManager();
    if (!manager)
        return {};
    const QString resource = pageFolder_ + relative;
    try {
        if (manager->ResourceExists(resource))
            return manager->GetResource(resource);
    } catch (const std::exception&) {
    }
    return {};
}

} // namespace pavlora
