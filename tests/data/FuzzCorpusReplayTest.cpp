#include "support/TestSandbox.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace pavlora::test {
namespace {

// The committed fuzz corpus and every finding of the fuzzer go through the
// fuzz target again: a regression shows up as a crash or sanitizer report.
TEST(FuzzCorpusReplay, DataDocumentInputsRunCleanly)
{
    int replayed = 0;
    for (const char* folder : {"corpus/data-document", "crashes/data-document"}) {
        const QDir dir(QStringLiteral(PAVLORA_FUZZ_FOLDER "/") + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            const QByteArray input = ReadFile(dir.filePath(name));
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                          static_cast<std::size_t>(input.size())),
                0);
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 10);
}

} // namespace
} // namespace pavlora::test
