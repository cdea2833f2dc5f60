#pragma once

#include "skin/DesignErrors.h"

namespace pavlora {

// The skin reports of the start-up. The splash window is skinned before the
// installation settings are read, with the data folder's designs as far as
// they can be read then (a design encrypted with the deployment's own key
// cannot be yet): until `Arm` those reports are logged only. Afterwards
// every report goes to the program's reporter.
class TStartupSkinReporter final : public TSkinReporter {
public:
    explicit TStartupSkinReporter(TSkinReporter& program)
        : program_(program)
    {
    }

    void Arm() { armed_ = true; }

    TDesignErrorAnswer AskDesignError(const QString& text) override
    {
        return armed_ ? program_.AskDesignError(text) : quiet_.AskDesignError(text);
    }
    void ShowWarning(const QString& text) override { armed_ ? program_.ShowWarning(text) : quiet_.ShowWarning(text); }
    void ShowError(const QString& title, const QString& text) override
    {
        armed_ ? program_.ShowError(title, text) : quiet_.ShowError(title, text);
    }

private:
    TSkinReporter& program_;
    THeadlessSkinReporter quiet_;
    std::atomic<bool> armed_{false};
};

} // namespace pavlora
