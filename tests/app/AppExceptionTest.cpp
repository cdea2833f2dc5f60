// Exceptions that reach the event loop become error records.

#include "app/AppException.h"
#include "core/QORException.h"
#include "support/TestSandbox.h"

#include <filesystem>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct ExceptionCase {
    std::string name;
    std::function<void()> raise;
    int code;
    QString context;
    QString codeText;
};

class AppExceptionTest : public ::testing::TestWithParam<ExceptionCase> { };

TEST_P(AppExceptionTest, CodeAndContext)
{
    const ExceptionCase& c = GetParam();
    std::exception_ptr exception;
    try {
        c.raise();
    } catch (...) {
        exception = std::current_exception();
    }
    const TQORError error = AppExceptionError(exception);
    EXPECT_EQ(error.code, c.code);
    EXPECT_EQ(error.context, c.context);
    if (!c.codeText.isNull()) {
        EXPECT_EQ(error.codeText, c.codeText);
    }
}

const QString kForm = QStringLiteral("Main.TMainForm.OnAppException");
const QString kApp = QStringLiteral("Main.OnAppEception");

INSTANTIATE_TEST_SUITE_P(Table, AppExceptionTest,
    ::testing::Values(ExceptionCase{"OutOfMemory", [] { throw std::bad_alloc(); }, 212, kForm, {}},
        ExceptionCase{"FileSystem",
            [] { throw std::filesystem::filesystem_error("open", std::make_error_code(std::errc::permission_denied)); },
            211, kForm, {}},
        ExceptionCase{"FileOpenErrorText", [] { throw std::runtime_error("File Open Error"); }, 211, kForm, {}},
        ExceptionCase{"Other", [] { throw std::runtime_error("Ungültiger Zustand"); }, 1, kApp,
            QStringLiteral("Ungültiger Zustand")},
        ExceptionCase{"NotAnException", [] { throw 42; }, 1, kApp, QString()}),
    CaseName());

} // namespace
} // namespace pavlora::test
