// The launcher starts the program beside it with the launch token in
// front of the arguments, once, however it was started.

#include "support/TestSandbox.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct LoaderCase {
    std::string name;
    QStringList arguments;
    QByteArray programArguments; // one line per argument, as the program got them
};

class LoaderTest : public ::testing::TestWithParam<LoaderCase> { };

TEST_P(LoaderTest, StartsTheProgramWithTheTokenOnce)
{
    const LoaderCase& c = GetParam();
    // A program folder with the built launcher and a program that writes
    // down its arguments.
    const QString folder = MakeFolder(QStringLiteral("program"));
    ASSERT_TRUE(QFile::copy(BuiltProgramFolder() + QStringLiteral("/Loader"), folder + QStringLiteral("/Loader")));
    const QString record = folder + QStringLiteral("/arguments");
    WriteFile(folder + QStringLiteral("/pavlora"),
        QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + record.toUtf8() + "'\n");
    QFile::setPermissions(folder + QStringLiteral("/pavlora"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess loader;
    loader.start(folder + QStringLiteral("/Loader"), c.arguments);
    ASSERT_TRUE(loader.waitForFinished(10000));
    EXPECT_EQ(loader.exitCode(), 0);
    EXPECT_EQ(ReadFile(record), c.programArguments);
}

INSTANTIATE_TEST_SUITE_P(Table, LoaderTest,
    ::testing::Values(LoaderCase{"FromADesktopEntry", {}, "k2m5\n"},
        LoaderCase{"HandedOverByTheProgram", {QStringLiteral("k2m5"), QStringLiteral("-PRINTS")}, "k2m5\n-PRINTS\n"},
        LoaderCase{"ArgumentsWithBlanksStayWhole", {QStringLiteral("-D"), QStringLiteral("/home/anna/My Pictures")},
            "k2m5\n-D\n/home/anna/My Pictures\n"},
        LoaderCase{"TokenLaterIsAnArgument", {QStringLiteral("-dd"), QStringLiteral("k2m5")}, "k2m5\n-dd\nk2m5\n"}),
    CaseName());

} // namespace
} // namespace pavlora::test
