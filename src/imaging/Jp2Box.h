#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

namespace pavlora {

// The box structure of a JPEG 2000 file (ISO/IEC 15444-1): each box starts
// with a 32-bit big-endian length and a four-character type. The length
// counts the whole box including its header:
//   0      the box runs to the end of its parent (the file at top level),
//   1      a 64-bit extended length follows the type; it must be at least 16,
//   2–7    invalid (shorter than the header itself),
//   8 and more  the box length.
// A box that runs past its parent or the end of the file ends the parse
// without a result, so a file cannot make the reader look outside itself.
// "jp2h" is a super box whose content is a sequence of boxes; "ihdr" is the
// image header box inside it.

// One box record: where it starts, its length fields and type, and for a
// plain box the first bytes of its content (at most 100).
struct TJp2Box {
    std::uint32_t length = 0;
    QByteArray type;
    std::uint64_t extendedLength = 0;
    std::int64_t position = 0;
    QByteArray content;
};

// The image header box ("ihdr"): height and width in pixels, number of
// components, bits per component minus one (the high bit marks signed
// samples; 255 means the components differ), compression type, colourspace
// unknown flag and intellectual property flag.
struct TImageHeaderBox : TJp2Box {
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint16_t nc = 0;
    std::uint8_t bpc = 0;
    std::uint8_t c = 0;
    std::uint8_t unkC = 0;
    std::uint8_t ipr = 0;

    // Bits per component, or 0 when the components have different depths.
    int BitsPerComponent() const { return bpc == 0xFF ? 0 : (bpc & 0x7F) + 1; }
};

// Reads boxes from the start of `device` until the first image header box
// and returns it; nothing when the file ends first or a box is malformed.
// Reads only box headers and the first bytes of plain boxes.
std::optional<TImageHeaderBox> ReadJp2ImageHeader(QIODevice& device);

} // namespace pavlora
