#include "ui/PriceListDialog.h"

#include "ui/HtmlView.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace pavlora {

namespace {

constexpr int kDefaultWidth = 560;
constexpr int kHeight = 600;
constexpr int kPageSlack = 24;

} // namespace

TPriceListDialog::TPriceListDialog(const QString& html, int width, QWidget* parent)
    : QDialog(parent)
    , view_(new THtmlView(this))
{
    setObjectName(QStringLiteral("PriceListDialog"));
    setWindowTitle(QStringLiteral("Preisliste"));
    view_->setObjectName(QStringLiteral("PriceListView"));
    view_->setHtml(html);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(buttons);
    // The view shows `width` pixels of page (and the page's margins and
    // cell spacing) beside its scroll bar.
    if (width > 0)
        view_->setMinimumWidth(
            width + kPageSlack + view_->verticalScrollBar()->sizeHint().width() + 2 * view_->frameWidth());
    resize(std::max(width, kDefaultWidth), kHeight);
}

} // namespace pavlora
