#include "ui/HelpForm.h"

#include "ui/FormConfigApplier.h"
#include "ui/HtmlView.h"

#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace pavlora {

THelpForm::THelpForm(std::function<bool(const QString&)> openExternal, QWidget* parent)
    : QDialog(parent)
    , openExternal_(std::move(openExternal))
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Hilfe"));
    resize(720, 560);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    view_ = new THtmlView(this);
    view_->setObjectName(QStringLiteral("HelpView"));
    view_->SetStyleName(QStringLiteral("Help"));
    view_->document()->setDocumentMargin(16);
    column->addWidget(view_);
    connect(view_, &THtmlView::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
            if (openExternal_)
                openExternal_(url.toString());
            return;
        }
        if (url.path().isEmpty() && url.hasFragment()) {
            view_->scrollToAnchor(url.fragment());
            return;
        }
        if (view_->OpenResource(QStringLiteral("Help/") + url.path()) && url.hasFragment())
            view_->scrollToAnchor(url.fragment());
    });
    ApplyFormConfig(*this);
}

QString THelpForm::TopicPage(int topic)
{
    return topic <= 0 ? QStringLiteral("Help/index.html") : QStringLiteral("Help/Topic%1.html").arg(topic);
}

bool THelpForm::ShowTopic(int topic)
{
    return view_->OpenResource(TopicPage(topic)) || view_->OpenResource(TopicPage(0));
}

} // namespace pavlora
