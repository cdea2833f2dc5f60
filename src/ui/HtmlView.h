#pragma once

#include <QTextBrowser>

namespace pavlora {

// The program's HTML view: Qt's rich-text browser whose pictures (and, for
// pages opened by name, the pages) come from the resource manager. Picture
// names are confined to the resource folders: a name is looked up as
// `pictureFolder` + its file part, never as a path of the disk.
//
// UI thread only.
class THtmlView : public QTextBrowser {
    Q_OBJECT

public:
    explicit THtmlView(QWidget* parent = nullptr);

    // The folder pictures are requested from ("Help/"); empty: the name as written.
    void SetPictureFolder(const QString& folder) { pictureFolder_ = folder; }
    // Shows the resource `name` (an HTML page of the resource folders).
    // Returns false when there is none.
    bool OpenResource(const QString& name);
    // Applies the "html_viewer" style of that name (font and colours).
    void SetStyleName(const QString& name);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString pictureFolder_;
    QString pageFolder_; // folder of the page opened by name, for its pictures and links
};

} // namespace pavlora
