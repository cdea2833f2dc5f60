#pragma once

#include "core/QORError.h"

#include <exception>

namespace pavlora {

// The error record of an exception that reached the event loop unhandled:
// a file that could not be opened is code 211 and memory or resources that
// ran out code 212 (context "Main.TMainForm.OnAppException"); anything else
// is code 1 with the exception's message (context "Main.OnAppEception").
TQORError AppExceptionError(const std::exception_ptr& exception);

// Records the error, writes it to the report log and shows it as an error
// box with "OK". Call inside a catch block on the UI thread.
void ReportUnhandledException(const std::exception_ptr& exception);

} // namespace pavlora
