#pragma once

#include <QString>

#include <cstdint>

namespace pavlora {

// The record of one failure: a code of the program's code table (0 = no
// error), the place of failure as "Unit.Class.Method", a code text (for the
// communication codes the transport's or server's text) and a detail.
struct TQORError {
    std::int32_t code = 0;
    QString context;
    QString codeText;
    QString detail;

    bool IsError() const { return code != 0; }

    // The customer's message for this error (German, one line).
    QString Message() const;
    // Message() followed by " (code text)", " [detail]" and " @context",
    // each only when not empty. What the report log shows.
    QString VerboseMessage() const;
    // Message() escaped for an HTML view: the code text and detail may come
    // from a server or a transport.
    QString HtmlMessage() const;

    friend bool operator==(const TQORError&, const TQORError&) = default;
};

// The process-wide last error: every EQORException created and every error
// recorded without raising overwrites it. Safe from any thread.
TQORError LastError();
void SetLastError(const TQORError& error);

} // namespace pavlora
