#include "imaging/ImageHeader.h"

#include "imaging/Jp2Box.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace pavlora {
namespace {

// Reads fixed-size fields at absolute positions of a seekable device.
class TFieldReader {
public:
    explicit TFieldReader(QIODevice& device)
        : device_(device)
    {
    }

    bool Read(std::int64_t position, char* buffer, qint64 size)
    {
        return position >= 0 && device_.seek(position) && device_.read(buffer, size) == size;
    }

    QByteArray ReadBytes(std::int64_t position, qint64 size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        if (!Read(position, bytes.data(), size))
            return {};
        return bytes;
    }

    std::int64_t Size() const { return device_.size(); }

private:
    QIODevice& device_;
};

bool IsJpegFrameHeader(unsigned marker)
{
    // SOF0–SOF15 without DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments of a JPEG file from its start. For every segment with
// a length, `segment` gets the marker, the position of its content and the
// content length, and returns true to go on. Ends at the frame header
// (returned in `frame`), at the start of scan or at the end of the file.
template <class SegmentFunction>
bool WalkJpegSegments(TFieldReader& reader, SegmentFunction segment)
{
    char soi[2];
    if (!reader.Read(0, soi, 2) || static_cast<unsigned char>(soi[0]) != 0xFF
        || static_cast<unsigned char>(soi[1]) != 0xD8)
        return false;
    // Decoders tolerate a few stray bytes between segments; a long run of
    // them is not a JPEG file.
    constexpr int kMaxStrayBytes = 4096;
    std::int64_t position = 2;
    const std::int64_t size = reader.Size();
    int stray = 0;
    while (position < size) {
        // Skip bytes up to the next marker, then any fill bytes.
        char byte = 0;
        if (!reader.Read(position, &byte, 1))
            return false;
        if (static_cast<unsigned char>(byte) != 0xFF) {
            if (++stray > kMaxStrayBytes)
                return false;
            ++position;
            continue;
        }
        stray = 0;
        unsigned marker = 0xFF;
        while (marker == 0xFF) {
            ++position;
            if (!reader.Read(position, &byte, 1))
                return false;
            marker = static_cast<unsigned char>(byte);
        }
        ++position;
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // stuffed byte or a marker without a length
        if (marker == 0xD9 || marker == 0xDA)
            return false; // end of image or start of scan before a frame header
        char lengthBytes[2];
        if (!reader.Read(position, lengthBytes, 2))
            return false;
        const int length = qFromBigEndian<std::uint16_t>(lengthBytes);
        if (length < 2)
            return false;
        if (!segment(marker, position + 2, length - 2))
            return true;
        position += length;
    }
    return false;
}

std::optional<TImageHeader> ReadJpegHeader(TFieldReader& reader)
{
    std::optional<TImageHeader> header;
    WalkJpegSegments(reader, [&](unsigned marker, std::int64_t content, int length) {
        if (!IsJpegFrameHeader(marker))
            return true;
        char frame[6];
        if (length < 6 || !reader.Read(content, frame, 6))
            return false;
        const int precision = static_cast<unsigned char>(frame[0]);
        const int components = static_cast<unsigned char>(frame[5]);
        TImageHeader result;
        result.format = TImageFormat::Jpeg;
        result.height = qFromBigEndian<std::uint16_t>(frame + 1);
        result.width = qFromBigEndian<std::uint16_t>(frame + 3);
        if (precision == 8 && (components == 1 || components == 3 || components == 4))
            result.bitsPerPixel = 8 * components;
        header = result;
        return false;
    });
    return header;
}

std::optional<TImageHeader> ReadPngHeader(TFieldReader& reader)
{
    // Signature (8), chunk length (4), "IHDR", width, height, depth, colour type.
    char ihdr[26];
    if (!reader.Read(0, ihdr, sizeof ihdr) || QByteArray::fromRawData(ihdr + 12, 4) != "IHDR")
        return std::nullopt;
    TImageHeader header;
    header.format = TImageFormat::Png;
    header.width = qFromBigEndian<std::uint32_t>(ihdr + 16);
    header.height = qFromBigEndian<std::uint32_t>(ihdr + 20);
    const int depth = static_cast<unsigned char>(ihdr[24]);
    const int colourType = static_cast<unsigned char>(ihdr[25]);
    switch (colourType) {
    case 0: // grey
        header.bitsPerPixel = depth == 1 ? 1 : depth <= 4 ? 4 : depth == 8 ? 8 : depth == 16 ? 16 : 0;
        break;
    case 3: // palette
        header.bitsPerPixel = depth == 1 ? 1 : depth <= 4 ? 4 : depth == 8 ? 8 : 0;
        break;
    case 2: // colour
        header.bitsPerPixel = depth == 8 ? 24 : 0;
        break;
    case 4: // grey + alpha
    case 6: // colour + alpha
        header.bitsPerPixel = depth == 8 ? 32 : 0;
        break;
    default:
        return std::nullopt;
    }
    return header;
}

int KnownBitsPerPixel(std::int64_t bits)
{
    switch (bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return static_cast<int>(bits);
    default:
        return 0;
    }
}

std::optional<TImageHeader> ReadBmpHeader(TFieldReader& reader)
{
    // File header (14), then the info header whose first field is its size.
    char head[30];
    if (!reader.Read(0, head, 18))
        return std::nullopt;
    const std::uint32_t infoSize = qFromLittleEndian<std::uint32_t>(head + 14);
    TImageHeader header;
    header.format = TImageFormat::Bmp;
    if (infoSize == 12) { // OS/2 core header: 16-bit sizes
        if (!reader.Read(18, head + 18, 8))
            return std::nullopt;
        header.width = qFromLittleEndian<std::uint16_t>(head + 18);
        header.height = qFromLittleEndian<std::uint16_t>(head + 20);
        header.bitsPerPixel = KnownBitsPerPixel(qFromLittleEndian<std::uint16_t>(head + 24));
        return header;
    }
    if (infoSize < 16 || infoSize > 4096 || !reader.Read(18, head + 18, 12))
        return std::nullopt;
    header.width = qFromLittleEndian<std::int32_t>(head + 18);
    // A negative height marks rows stored top-down.
    header.height = std::abs(static_cast<std::int64_t>(qFromLittleEndian<std::int32_t>(head + 22)));
    header.bitsPerPixel = KnownBitsPerPixel(qFromLittleEndian<std::uint16_t>(head + 28));
    return header;
}

// The first image directory of a TIFF file (classic or BigTIFF).
class TTiffReader {
public:
    explicit TTiffReader(TFieldReader& reader)
        : reader_(reader)
    {
    }

    std::optional<TImageHeader> Read()
    {
        char head[16];
        if (!reader_.Read(0, head, 8))
            return std::nullopt;
        littleEndian_ = head[0] == 'I';
        const unsigned version = U16(head + 2);
        std::uint64_t directory = 0;
        if (version == 42) {
            directory = U32(head + 4);
        } else if (version == 43) {
            if (!reader_.Read(8, head + 8, 8) || U16(head + 4) != 8)
                return std::nullopt;
            big_ = true;
            directory = U64(head + 8);
        } else {
            return std::nullopt;
        }
        return ReadDirectory(directory);
    }

private:
    std::uint16_t U16(const char* p) const
    {
        return littleEndian_ ? qFromLittleEndian<std::uint16_t>(p) : qFromBigEndian<std::uint16_t>(p);
    }
    std::uint32_t U32(const char* p) const
    {
        return littleEndian_ ? qFromLittleEndian<std::uint32_t>(p) : qFromBigEndian<std::uint32_t>(p);
    }
    std::uint64_t U64(const char* p) const
    {
        return littleEndian_ ? qFromLittleEndian<std::uint64_t>(p) : qFromBigEndian<std::uint64_t>(p);
    }

    // The first value of an entry with a SHORT, LONG or LONG8 type.
    std::optional<std::uint64_t> FirstValue(const char* entry) const
    {
        const unsigned type = U16(entry + 2);
        const char* value = entry + (big_ ? 12 : 8);
        switch (type) {
        case 3:
            return U16(value);
        case 4:
            return U32(value);
        case 16:
            return big_ ? std::optional<std::uint64_t>(U64(value)) : std::nullopt;
        default:
            return std::nullopt;
        }
    }

    std::optional<TImageHeader> ReadDirectory(std::uint64_t position)
    {
        constexpr std::uint64_t kMaxEntries = 4096;
        const int countSize = big_ ? 8 : 2;
        const int entrySize = big_ ? 20 : 12;
        char countBytes[8];
        if (position > static_cast<std::uint64_t>(reader_.Size())
            || !reader_.Read(static_cast<std::int64_t>(position), countBytes, countSize))
            return std::nullopt;
        const std::uint64_t count = big_ ? U64(countBytes) : U16(countBytes);
        if (count == 0 || count > kMaxEntries)
            return std::nullopt;
        const QByteArray entries = reader_.ReadBytes(
            static_cast<std::int64_t>(position) + countSize, static_cast<qint64>(count) * entrySize);
        if (entries.isEmpty())
            return std::nullopt;
        std::uint64_t width = 0;
        std::uint64_t height = 0;
        std::uint64_t bitsPerSample = 1;
        std::uint64_t samplesPerPixel = 1;
        for (std::uint64_t i = 0; i < count; ++i) {
            const char* entry = entries.constData() + i * entrySize;
            const std::optional<std::uint64_t> value = FirstValue(entry);
            if (!value)
                continue;
            switch (U16(entry)) {
            case 256:
                width = *value;
                break;
            case 257:
                height = *value;
                break;
            case 258:
                // With several samples the values usually live elsewhere;
                // photographs use the same depth for every sample, so the
                // first value suffices and is read from the entry itself
                // only when it fits there.
                bitsPerSample = ReadFirstBitsPerSample(entry, *value);
                break;
            case 277:
                samplesPerPixel = *value;
                break;
            default:
                break;
            }
        }
        constexpr std::uint64_t kMaxSide = 0x7FFFFFFF;
        if (width > kMaxSide || height > kMaxSide || bitsPerSample > 64 || samplesPerPixel > 64)
            return std::nullopt;
        TImageHeader header;
        header.format = TImageFormat::Tiff;
        header.width = static_cast<std::int64_t>(width);
        header.height = static_cast<std::int64_t>(height);
        header.bitsPerPixel = KnownBitsPerPixel(static_cast<std::int64_t>(bitsPerSample * samplesPerPixel));
        return header;
    }

    std::uint64_t ReadFirstBitsPerSample(const char* entry, std::uint64_t inlineValue)
    {
        const std::uint64_t count = big_ ? U64(entry + 4) : U32(entry + 4);
        const unsigned type = U16(entry + 2);
        const std::uint64_t inlineCapacity = big_ ? 4 : 2; // SHORT values in the value field
        if (type != 3 || count <= inlineCapacity)
            return inlineValue;
        const std::uint64_t offset = big_ ? U64(entry + 12) : U32(entry + 8);
        char value[2];
        if (offset > static_cast<std::uint64_t>(reader_.Size())
            || !reader_.Read(static_cast<std::int64_t>(offset), value, 2))
            return 0;
        return U16(value);
    }

    TFieldReader& reader_;
    bool littleEndian_ = true;
    bool big_ = false;
};

std::optional<TImageHeader> ReadGifHeader(TFieldReader& reader)
{
    char head[10];
    if (!reader.Read(0, head, sizeof head))
        return std::nullopt;
    TImageHeader header;
    header.format = TImageFormat::Gif;
    header.width = qFromLittleEndian<std::uint16_t>(head + 6);
    header.height = qFromLittleEndian<std::uint16_t>(head + 8);
    header.bitsPerPixel = 8;
    return header;
}

// The TIFF structure inside an EXIF segment: finds the JPEG thumbnail of the
// second image directory. Offsets are relative to the TIFF header and must
// stay inside the segment.
QByteArray ThumbnailFromExif(const QByteArray& tiff)
{
    if (tiff.size() < 8)
        return {};
    const char* data = tiff.constData();
    const bool little = data[0] == 'I' && data[1] == 'I';
    if (!little && !(data[0] == 'M' && data[1] == 'M'))
        return {};
    auto u16 = [&](qsizetype at) {
        return little ? qFromLittleEndian<std::uint16_t>(data + at) : qFromBigEndian<std::uint16_t>(data + at);
    };
    auto u32 = [&](qsizetype at) {
        return little ? qFromLittleEndian<std::uint32_t>(data + at) : qFromBigEndian<std::uint32_t>(data + at);
    };
    const qsizetype size = tiff.size();
    auto directoryFits = [&](std::uint64_t at) { return at + 2 <= static_cast<std::uint64_t>(size); };
    const std::uint32_t first = u32(4);
    if (!directoryFits(first))
        return {};
    const std::uint64_t firstCount = u16(first);
    const std::uint64_t nextAt = first + 2 + firstCount * 12;
    if (nextAt + 4 > static_cast<std::uint64_t>(size))
        return {};
    const std::uint32_t second = u32(static_cast<qsizetype>(nextAt));
    if (second == 0 || !directoryFits(second))
        return {};
    const std::uint64_t count = u16(second);
    if (second + 2 + count * 12 > static_cast<std::uint64_t>(size))
        return {};
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const qsizetype entry = static_cast<qsizetype>(second + 2 + i * 12);
        const unsigned tag = u16(entry);
        const unsigned type = u16(entry + 2);
        const std::uint64_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
        if (tag == 0x0201)
            offset = value;
        else if (tag == 0x0202)
            length = value;
    }
    if (offset == 0 || length < 4 || offset + length > static_cast<std::uint64_t>(size))
        return {};
    return tiff.mid(static_cast<qsizetype>(offset), static_cast<qsizetype>(length));
}

} // namespace

TImageFormat SniffImageFormat(const QByteArray& head)
{
    const auto starts = [&](const char* prefix, qsizetype length) {
        return head.size() >= length && std::equal(prefix, prefix + length, head.constData());
    };
    if (starts("\xFF\xD8\xFF", 3))
        return TImageFormat::Jpeg;
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return TImageFormat::Png;
    if (starts("BM", 2))
        return TImageFormat::Bmp;
    if (starts("II*\0", 4) || starts("MM\0*", 4) || starts("II+\0", 4) || starts("MM\0+", 4))
        return TImageFormat::Tiff;
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return TImageFormat::Gif;
    if (starts("\0\0\0\x0CjP  \r\n\x87\n", 12))
        return TImageFormat::Jp2;
    return TImageFormat::Unknown;
}

std::optional<TImageHeader> ReadImageHeader(QIODevice& device, bool jp2)
{
    if (!device.isOpen() || device.isSequential())
        return std::nullopt;
    TFieldReader reader(device);
    if (jp2) {
        const std::optional<TImageHeaderBox> box = ReadJp2ImageHeader(device);
        if (!box)
            return std::nullopt;
        TImageHeader header;
        header.format = TImageFormat::Jp2;
        header.width = box->width;
        header.height = box->height;
        header.bitsPerPixel = box->BitsPerComponent();
        return header;
    }
    const QByteArray head = reader.ReadBytes(0, std::min<std::int64_t>(32, reader.Size()));
    switch (SniffImageFormat(head)) {
    case TImageFormat::Jpeg:
        return ReadJpegHeader(reader);
    case TImageFormat::Png:
        return ReadPngHeader(reader);
    case TImageFormat::Bmp:
        return ReadBmpHeader(reader);
    case TImageFormat::Tiff:
        return TTiffReader(reader).Read();
    case TImageFormat::Gif:
        return ReadGifHeader(reader);
    case TImageFormat::Jp2:
    case TImageFormat::Unknown:
        break;
    }
    return std::nullopt;
}

QByteArray ReadExifThumbnail(QIODevice& device)
{
    if (!device.isOpen() || device.isSequential())
        return {};
    TFieldReader reader(device);
    QByteArray thumbnail;
    WalkJpegSegments(reader, [&](unsigned marker, std::int64_t content, int length) {
        if (IsJpegFrameHeader(marker))
            return false;
        if (marker != 0xE1 || length < 14 || !thumbnail.isEmpty())
            return true;
        const QByteArray segment = reader.ReadBytes(content, length);
        if (segment.startsWith(QByteArray("Exif\0\0", 6)))
            thumbnail = ThumbnailFromExif(segment.mid(6));
        return true;
    });
    return thumbnail;
}

} // namespace pavlora
