#include "imaging/Jp2Box.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace pavlora {
namespace {

constexpr int kMaxPlainContent = 100;
constexpr int kMaxSuperBoxDepth = 8;
constexpr int kImageHeaderSize = 14;

enum class TStep { Next, Found, Fail };

class TJp2Reader {
public:
    explicit TJp2Reader(QIODevice& device)
        : device_(device)
    {
    }

    // Reads the boxes between `begin` and `end` until an image header box
    // (Found, the box is then in `header`), the end of the range (Next) or a
    // malformed box (Fail).
    TStep ReadBoxes(std::int64_t begin, std::int64_t end, int depth)
    {
        std::int64_t position = begin;
        while (position < end) {
            std::int64_t next = 0;
            const TStep step = ReadBox(position, end, depth, next);
            if (step != TStep::Next)
                return step;
            position = next;
        }
        return TStep::Next;
    }

    TImageHeaderBox header;

private:
    bool ReadAt(std::int64_t position, char* buffer, qint64 size)
    {
        return device_.seek(position) && device_.read(buffer, size) == size;
    }

    // Reads the box at `position` inside a parent ending at `parentEnd`;
    // `next` receives the position after it.
    TStep ReadBox(std::int64_t position, std::int64_t parentEnd, int depth, std::int64_t& next)
    {
        char head[8];
        if (parentEnd - position < 8 || !ReadAt(position, head, 8))
            return TStep::Fail;
        TJp2Box box;
        box.position = position;
        box.length = qFromBigEndian<std::uint32_t>(head);
        box.type = QByteArray(head + 4, 4);
        std::int64_t headerSize = 8;
        std::int64_t end = 0;
        if (box.length == 0) {
            end = parentEnd;
        } else if (box.length == 1) {
            char extended[8];
            if (parentEnd - position < 16 || !ReadAt(position + 8, extended, 8))
                return TStep::Fail;
            box.extendedLength = qFromBigEndian<std::uint64_t>(extended);
            headerSize = 16;
            if (box.extendedLength < 16 || box.extendedLength > static_cast<std::uint64_t>(parentEnd - position))
                return TStep::Fail;
            end = position + static_cast<std::int64_t>(box.extendedLength);
        } else if (box.length < 8 || box.length > static_cast<std::uint64_t>(parentEnd - position)) {
            return TStep::Fail;
        } else {
            end = position + box.length;
        }
        next = end;
        const std::int64_t contentStart = position + headerSize;
        const std::int64_t contentLength = end - contentStart;

        if (box.type == "jp2h") {
            if (depth >= kMaxSuperBoxDepth)
                return TStep::Fail;
            return ReadBoxes(contentStart, end, depth + 1);
        }
        if (box.type == "ihdr") {
            char fields[kImageHeaderSize];
            if (contentLength < kImageHeaderSize || !ReadAt(contentStart, fields, kImageHeaderSize))
                return TStep::Fail;
            static_cast<TJp2Box&>(header) = box;
            header.height = qFromBigEndian<std::uint32_t>(fields);
            header.width = qFromBigEndian<std::uint32_t>(fields + 4);
            header.nc = qFromBigEndian<std::uint16_t>(fields + 8);
            header.bpc = static_cast<std::uint8_t>(fields[10]);
            header.c = static_cast<std::uint8_t>(fields[11]);
            header.unkC = static_cast<std::uint8_t>(fields[12]);
            header.ipr = static_cast<std::uint8_t>(fields[13]);
            return TStep::Found;
        }
        const qint64 keep = std::min<std::int64_t>(kMaxPlainContent, contentLength);
        box.content.resize(keep);
        if (keep > 0 && !ReadAt(contentStart, box.content.data(), keep))
            return TStep::Fail;
        return TStep::Next;
    }

    QIODevice& device_;
};

} // namespace

std::optional<TImageHeaderBox> ReadJp2ImageHeader(QIODevice& device)
{
    if (!device.isOpen() || device.isSequential())
        return std::nullopt;
    TJp2Reader reader(device);
    if (reader.ReadBoxes(0, device.size(), 0) == TStep::Found)
        return reader.header;
    return std::nullopt;
}

} // namespace pavlora
