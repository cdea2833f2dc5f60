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

} // namespace pavlora::test
