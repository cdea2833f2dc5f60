#pragma once

#include "skin/DesignErrors.h"

#include <QStringList>

#include <deque>

namespace pavlora::test {

// Answers design errors from a script (Ignore when it runs out) and records
// everything it is shown.
class TScriptedSkinReporter final : public TSkinReporter {
public:
    std::deque<TDesignErrorAnswer> answers;
    QStringList designErrors;
    QStringList warnings;
    QStringList errors;

    TDesignErrorAnswer AskDesignError(const QString& text) override
    {
        designErrors.append(text);
        if (answers.empty())
            return TDesignErrorAnswer::Ignore;
        const TDesignErrorAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowWarning(const QString& text) override { warnings.append(text); }
    void ShowError(const QString& title, const QString& text) override
    {
        errors.append(title + QLatin1String(": ") + text);
    }
};

} // namespace pavlora::test
