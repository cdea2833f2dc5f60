#pragma once

#include <QString>

#include <atomic>
#include <stdexcept>

namespace pavlora {

// The answers to a design error.
enum class TDesignErrorAnswer {
    Ignore, // go on
    IgnoreAll, // go on, and report no further design errors in this run
    Raise, // stop with an exception
};

// What the skin layer shows the user: design errors (answered), warnings
// about pictures, and plain errors. The program implements it with message
// boxes; the headless default logs and goes on, so the layer runs without a
// display and tests answer by script.
class TSkinReporter {
public:
    virtual ~TSkinReporter() = default;
    virtual TDesignErrorAnswer AskDesignError(const QString& text) = 0;
    virtual void ShowWarning(const QString& text) = 0;
    virtual void ShowError(const QString& title, const QString& text) = 0;
};

// Logs every report to the report log and answers Ignore.
class THeadlessSkinReporter final : public TSkinReporter {
public:
    TDesignErrorAnswer AskDesignError(const QString& text) override;
    void ShowWarning(const QString& text) override;
    void ShowError(const QString& title, const QString& text) override;
};

// A design error that the user chose not to ignore, or a value that does
// not fit its attribute's type.
class EDesignError : public std::runtime_error {
public:
    explicit EDesignError(const QString& text);
    QString Text() const { return QString::fromUtf8(what()); }
};

// Reports design errors while reporting is on; "ignore all" turns it off
// for the rest of the run. Safe from any thread.
class TDesignErrors {
public:
    explicit TDesignErrors(TSkinReporter& reporter);

    // Shows `text` with the question whether to ignore it. Throws
    // EDesignError when the answer is Raise.
    void Report(const QString& text);
    bool IsReporting() const { return reporting_; }
    TSkinReporter& Reporter() const { return reporter_; }

private:
    TSkinReporter& reporter_;
    std::atomic<bool> reporting_{true};
};

} // namespace pavlora
