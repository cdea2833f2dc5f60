#pragma once

#include <QByteArray>
#include <QStringList>

namespace pavlora::test {

struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built pavlora-tool with `arguments` and waits for it.
ToolResult RunTool(const QStringList& arguments);

// Writes `folder`/`name` as a hand-over file of prints with one item: the
// picture "a.jpg" (written beside it) in the formats `products` with the
// `quantities` (comma lists) and the display name `originalName`. Returns
// the file's path.
QString WriteHandOverFile(
    const QString& folder, const QString& name, const char* quantities, const char* products, const char* originalName);

} // namespace pavlora::test
