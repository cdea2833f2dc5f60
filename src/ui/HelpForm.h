#pragma once

#include <QDialog>

namespace pavlora {

class THtmlView;

// The help window: the deployment's help pages ("Help/" in the resource
// folders) in an HTML view. Links between help pages stay in the window;
// http and https links go to the desktop's browser through `openExternal`.
//
// UI thread only.
class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(std::function<bool(const QString&)> openExternal, QWidget* parent = nullptr);

    // Shows the page of a topic (its number), or the contents page.
    // Returns false when the deployment has no help page for it.
    bool ShowTopic(int topic);
    // The page of a topic: "Help/Topic<n>.html"; 0 is the contents "Help/index.html".
    static QString TopicPage(int topic);
    THtmlView* View() const { return view_; }

private:
    std::function<bool(const QString&)> openExternal_;
    THtmlView* view_ = nullptr;
};

} // namespace pavlora
