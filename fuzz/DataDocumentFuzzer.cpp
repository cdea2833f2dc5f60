// libFuzzer target: any bytes as a stored data document. Decodes the
// variant with the built-in key, parses, resolves links, removes empty
// elements and writes the text back. Failures of the data-document layer
// are expected; crashes, sanitizer reports, hangs and other exceptions are
// findings. The same function replays the committed corpus in the tests.

#include "core/DataStream.h"
#include "core/XMLUtils2.h"

#include <QByteArray>

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pavlora;
    const QByteArray stored(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const TXMLDocumentPtr document = ParseXMLText(DecodeDataStream(stored));
        ResolveLinks(document->document_element());
        RemoveEmptyElements(document->document_element());
        (void)XMLDocumentText(*document, true);
    } catch (const EDataDocumentError&) {
    }
    return 0;
}
