#include "ui/BrowserFrame.h"

#include "core/PathPlaceholders.h"
#include "skin/ECResourceManager.h"
#include "ui/HtmlView.h"
#include "ui/Skin.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>

namespace pavlora {

TBrowserFrame::TBrowserFrame(QWidget* parent)
    : TWorkFrame(parent)
{
    setObjectName(QStringLiteral("BrowserFrame"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    view_ = new THtmlView(this);
    view_->setObjectName(QStringLiteral("Browser"));
    view_->SetStyleName(QStringLiteral("Standard"));
    column->addWidget(view_);
}

QString TBrowserFrame::ResourceName(const QString& address)
{
    QString path = ExpandPath(address);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!QDir::isAbsolutePath(path))
        return path.split(QLatin1Char('/')).contains(QLatin1String("..")) ? QString() : path;
    TECResourceManager* manager = Skin::ResourceManager();
    if (!manager)
        return {};
    const QString clean = QDir::cleanPath(path);
    for (int slot = 4; slot >= 0; --slot) {
        const QString folder = manager->Slot(slot);
        if (!folder.isEmpty() && clean.startsWith(folder))
            return clean.mid(folder.size());
    }
    return {};
}

bool TBrowserFrame::Open(const QString& address, int page)
{
    const QString name = ResourceName(address);
    if (name.isEmpty() || !view_->OpenResource(name))
        return false;
    address_ = address;
    page_ = page;
    return true;
}

void TBrowserFrame::Reload()
{
    if (!address_.isEmpty())
        Open(address_, page_);
}

} // namespace pavlora
