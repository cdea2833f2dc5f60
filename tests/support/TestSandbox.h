#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace pavlora::test {

// Every test process runs in its own sandbox folder: HOME and the XDG
// folders point into it (set up by the test main before anything else runs),
// so nothing a test does reaches the real user's files.
QString SandboxFolder();

// A fresh, empty folder below the sandbox, named after `name`.
QString MakeFolder(const QString& name);

void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// The program folder the build laid out (bin/ of the build tree).
QString BuiltProgramFolder();

// Runs the UI thread's event loop until `condition` holds or `timeout`
// passes; returns whether it holds.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Names the instances of a parameterised test after the `name` member of
// their case.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& testCase) const
    {
        return testCase.param.name;
    }
};

} // namespace pavlora::test
