// The main of every test program. Before anything else it gives the process
// its own sandbox: HOME, the XDG folders and the runtime folder point into a
// fresh private folder, proxies of the environment are dropped, and Qt uses
// the offscreen platform. The sandbox is removed at the end unless
// PAVLORA_KEEP_TEST_SANDBOX is set.

#include "core/QORThread.h"

#include <QCoreApplication>
#include <QDir>
#ifdef PAVLORA_TEST_WIDGETS
#include <QApplication>
#elif defined(PAVLORA_TEST_GUI)
#include <QGuiApplication>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

std::string MakeSandbox()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pavlora-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

void SetFolder(const char* variable, const std::string& folder)
{
    ::mkdir(folder.c_str(), 0700);
    ::setenv(variable, folder.c_str(), 1);
}

void EnterSandbox(const std::string& sandbox)
{
    ::setenv("PAVLORA_TEST_SANDBOX", sandbox.c_str(), 1);
    SetFolder("HOME", sandbox + "/home");
    SetFolder("XDG_CONFIG_HOME", sandbox + "/home/.config");
    ::mkdir((sandbox + "/home/.local").c_str(), 0700);
    SetFolder("XDG_DATA_HOME", sandbox + "/home/.local/share");
    SetFolder("XDG_STATE_HOME", sandbox + "/home/.local/state");
    SetFolder("XDG_CACHE_HOME", sandbox + "/home/.cache");
    SetFolder("XDG_RUNTIME_DIR", sandbox + "/runtime");
    SetFolder("XDG_CONFIG_DIRS", sandbox + "/etc-xdg");
    ::mkdir((sandbox + "/tmp").c_str(), 0700);
    ::setenv("TMPDIR", (sandbox + "/tmp").c_str(), 1);
    for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        ::unsetenv(proxy);
    ::setenv("no_proxy", "127.0.0.1,localhost,::1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string sandbox = MakeSandbox();
    EnterSandbox(sandbox);

    int result = 0;
    {
#ifdef PAVLORA_TEST_WIDGETS
        // Tests of windows: a widget application on the offscreen platform.
        QApplication app(argc, argv);
#elif defined(PAVLORA_TEST_GUI)
        // Tests of fonts and painting: a GUI application on the offscreen platform.
        QGuiApplication app(argc, argv);
#else
        QCoreApplication app(argc, argv);
#endif
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
        pavlora::TQORThread::StopAll();
    }

    if (!std::getenv("PAVLORA_KEEP_TEST_SANDBOX"))
        QDir(QString::fromLocal8Bit(sandbox.c_str())).removeRecursively();
    return result;
}
