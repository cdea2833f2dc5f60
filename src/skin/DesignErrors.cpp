#include "skin/DesignErrors.h"

#include "core/Logger.h"

namespace pavlora {

TDesignErrorAnswer THeadlessSkinReporter::AskDesignError(const QString& text)
{
    ReportMessage(QStringLiteral("Design error: ") + text);
    return TDesignErrorAnswer::Ignore;
}

void THeadlessSkinReporter::ShowWarning(const QString& text)
{
    ReportMessage(QStringLiteral("Warning: ") + text);
}

void THeadlessSkinReporter::ShowError(const QString& title, const QString& text)
{
    ReportMessage(title + QStringLiteral(": ") + text);
}

EDesignError::EDesignError(const QString& text)
    : std::runtime_error(text.toStdString())
{
}

TDesignErrors::TDesignErrors(TSkinReporter& reporter)
    : reporter_(reporter)
{
}

void TDesignErrors::Report(const QString& text)
{
    if (!reporting_)
        return;
    const TDesignErrorAnswer answer = reporter_.AskDesignError(
        text + QStringLiteral("\r\n Ignore this error ([No] raises an exception and might crash the application)?"));
    switch (answer) {
    case TDesignErrorAnswer::Ignore:
        break;
    case TDesignErrorAnswer::IgnoreAll:
        reporting_ = false;
        break;
    case TDesignErrorAnswer::Raise:
        throw EDesignError(text);
    }
}

} // namespace pavlora
