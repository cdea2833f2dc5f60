#include "LogTestFixture.h"

#include "core/QORException.h"

#include <thread>

namespace pavlora::test {
namespace {

struct MessageCase {
    TQORError error;
    const char* message;
    const char* verbose;
};

class ErrorMessages : public ::testing::TestWithParam<MessageCase> { };

TEST_P(ErrorMessages, ShortAndVerboseTexts)
{
    const MessageCase& c = GetParam();
    EXPECT_EQ(c.error.Message(), QString::fromUtf8(c.message));
    EXPECT_EQ(c.error.VerboseMessage(), QString::fromUtf8(c.verbose));
}

const char kComm2099[] = "Kommunikationsproblem mit dem Server (Code 2099). Bitte versuchen Sie es später noch einmal.";

INSTANTIATE_TEST_SUITE_P(CodeTable, ErrorMessages,
    ::testing::Values(MessageCase{{0, {}, {}, {}}, "Kein Fehler", "Kein Fehler"},
        MessageCase{{118, QStringLiteral("A.B"), {}, QStringLiteral("x")}, kComm2099,
            "Kommunikationsproblem mit dem Server (Code 2099). Bitte versuchen Sie es später noch einmal. "
            "[x] @A.B"},
        MessageCase{
            {40, QStringLiteral("ZODE.TXTCI.Login"), QStringLiteral("HTTP 503"), QStringLiteral("ETransportError")},
            "Kommunikationsproblem mit dem Server (Code HTTP 503). Bitte versuchen Sie es später noch einmal.",
            "Kommunikationsproblem mit dem Server (Code HTTP 503). Bitte versuchen Sie es später noch einmal. "
            "(HTTP 503) [ETransportError] @ZODE.TXTCI.Login"},
        MessageCase{{48, {}, {}, {}},
            "Kommunikationsproblem mit dem Server (Code 2000). Bitte versuchen Sie es später noch einmal.",
            "Kommunikationsproblem mit dem Server (Code 2000). Bitte versuchen Sie es später noch einmal."},
        MessageCase{{49, {}, QStringLiteral("t"), {}},
            "Kommunikationsproblem mit dem Server (Code 2000). Bitte versuchen Sie es später noch einmal.",
            "Kommunikationsproblem mit dem Server (Code 2000). Bitte versuchen Sie es später noch einmal. (t)"},
        MessageCase{{46, {}, {}, {}},
            "Die Verbindung ins Internet ist nicht zustande gekommen. Bitte überprüfen Sie Ihre "
            "Netzwerkverbindung. ",
            "Die Verbindung ins Internet ist nicht zustande gekommen. Bitte überprüfen Sie Ihre "
            "Netzwerkverbindung. "},
        MessageCase{{201, {}, QStringLiteral("Liste leer"), {}},
            "Funktion \"PopulateFields\" schlägt fehl: ", "Funktion \"PopulateFields\" schlägt fehl:  (Liste leer)"},
        MessageCase{{208, {}, {}, {}}, "XML-Datei korrupt: ", "XML-Datei korrupt: "},
        MessageCase{
            {400, {}, {}, {}}, "Das Bild konnte nicht geöffnet werden.", "Das Bild konnte nicht geöffnet werden."},
        MessageCase{{777, QStringLiteral("U.C.M"), QStringLiteral("abc"), QStringLiteral("d")},
            "Fehler (Code 777): abc", "Fehler (Code 777): abc [d] @U.C.M"},
        MessageCase{{2, {}, {}, {}}, "Fehler (Code 2)", "Fehler (Code 2)"},
        MessageCase{{-1, {}, QStringLiteral("neg"), {}}, "Fehler (Code -1): neg", "Fehler (Code -1): neg"},
        MessageCase{{102, {}, {}, {}}, "Fehler (Code 102)", "Fehler (Code 102)"}));

TEST(ErrorMessagesHtml, EscapesTextsFromTheServer)
{
    const TQORError error{40, {}, QStringLiteral("<script>alert(1)</script> & co"), {}};
    EXPECT_EQ(error.HtmlMessage(),
        QStringLiteral("Kommunikationsproblem mit dem Server (Code &lt;script&gt;alert(1)&lt;/script&gt; &amp; "
                       "co). Bitte versuchen Sie es später noch einmal."));
}

using ExceptionTest = LogTestFixture;

TEST_F(ExceptionTest, CreatingOneLogsItAndSetsTheLastError)
{
    const EQORException exception(
        211, QStringLiteral("a.psc"), QStringLiteral("ENOENT"), QStringLiteral("Base_Cart.TCart.Load"));
    const TQORError expected{
        211, QStringLiteral("Base_Cart.TCart.Load"), QStringLiteral("a.psc"), QStringLiteral("ENOENT")};
    EXPECT_EQ(exception.Error(), expected);
    EXPECT_EQ(LastError(), expected);
    EXPECT_STREQ(exception.what(), "Datei konnte nicht geöffnet werden (a.psc) [ENOENT] @Base_Cart.TCart.Load");
    EXPECT_TRUE(LogLines(ReportLogPath()).last().endsWith(QString::fromUtf8(exception.what())));
}

struct Unrelated { };

TEST_F(ExceptionTest, WrappingMapsForeignExceptions)
{
    const QString context = QStringLiteral("QOROrderInterface.TOIThread.Execute");
    {
        const EQORException inner(
            109, QStringLiteral("X1"), QStringLiteral("d"), QStringLiteral("ZODE.TXTCI.CheckCoupon"));
        EXPECT_EQ(EQORException::Wrap(inner, context).Error(),
            (TQORError{109, context, QStringLiteral("X1"), QStringLiteral("d")}));
    }
    EXPECT_EQ(EQORException::Wrap(ETransportError("Connection refused"), context).Error(),
        (TQORError{40, context, QStringLiteral("Connection refused"), QStringLiteral("ETransportError")}));
    EXPECT_EQ(EQORException::Wrap(std::runtime_error("kaputt"), context).Error(),
        (TQORError{2, context, QStringLiteral("kaputt"), QStringLiteral("std::runtime_error")}));
    try {
        throw Unrelated{};
    } catch (...) {
        const TQORError recorded = RecordCurrentException(context);
        EXPECT_EQ(recorded.code, 2);
        EXPECT_EQ(LastError(), recorded);
    }
}

TEST_F(ExceptionTest, RecordingWithoutRaisingLogsAndSetsTheLastError)
{
    try {
        throw std::out_of_range("index 7");
    } catch (...) {
        RecordCurrentException(QStringLiteral("Unit.Class.Method"));
    }
    const TQORError expected{
        2, QStringLiteral("Unit.Class.Method"), QStringLiteral("index 7"), QStringLiteral("std::out_of_range")};
    EXPECT_EQ(LastError(), expected);
    EXPECT_TRUE(LogLines(ReportLogPath()).last().endsWith(expected.VerboseMessage()));
}

TEST(LastErrorTest, IsSharedByAllThreads)
{
    std::thread([] { SetLastError(TQORError{47, QStringLiteral("Worker"), {}, {}}); }).join();
    EXPECT_EQ(LastError().code, 47);
    EXPECT_EQ(LastError().context, QStringLiteral("Worker"));
}

} // namespace
} // namespace pavlora::test
