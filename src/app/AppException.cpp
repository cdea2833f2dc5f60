#include "app/AppException.h"

#include "core/AppMessageBox.h"
#include "core/Logger.h"
#include "core/QORException.h"

#include <filesystem>
#include <ios>
#include <new>

namespace pavlora {

namespace {

constexpr char kFormContext[] = "Main.TMainForm.OnAppException";
constexpr char kAppContext[] = "Main.OnAppEception";
constexpr char kFileOpenErrorText[] = "File Open Error";

TQORError Error(std::int32_t code, const QString& codeText, const char* context)
{
    TQORError error;
    error.code = code;
    error.codeText = codeText;
    error.context = QLatin1String(context);
    return error;
}

} // namespace

TQORError AppExceptionError(const std::exception_ptr& exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return Error(212, QString(), kFormContext);
    } catch (const std::filesystem::filesystem_error& error) {
        return Error(211, QString::fromLocal8Bit(error.what()), kFormContext);
    } catch (const std::ios_base::failure& error) {
        return Error(211, QString::fromLocal8Bit(error.what()), kFormContext);
    } catch (const EQORException& error) {
        const QString message = error.Error().Message();
        if (message == QLatin1String(kFileOpenErrorText) || error.Error().codeText == QLatin1String(kFileOpenErrorText))
            return Error(211, QString(), kFormContext);
        return Error(1, message, kAppContext);
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        if (message == QLatin1String(kFileOpenErrorText))
            return Error(211, QString(), kFormContext);
        return Error(1, message, kAppContext);
    } catch (...) {
        return Error(1, QString(), kAppContext);
    }
}

void ReportUnhandledException(const std::exception_ptr& exception)
{
    const TQORError error = AppExceptionError(exception);
    SetLastError(error);
    ReportMessage(error.VerboseMessage());
    TMessageBoxRequest request;
    request.text = error.HtmlMessage();
    request.buttons = {bOK};
    request.kind = MessageKind::Error;
    ShowAppMessageBox(request);
}

} // namespace pavlora
