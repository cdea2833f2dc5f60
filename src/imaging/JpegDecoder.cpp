#include "imaging/JpegDecoder.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace pavlora {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the decoding function. Everything that lives across the
// jump is in TDecodeState on the heap, so no object with a destructor is
// skipped by the jump.
struct TErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->jump, 1);
}

void SilentMessage(j_common_ptr)
{
}

struct TDecodeState {
    jpeg_decompress_struct info{};
    TErrorManager error{};
    std::FILE* file = nullptr;
    bool created = false;
    QImage image;
    std::unique_ptr<JSAMPLE[]> cmykRow;
    QSize fullSize;
    bool tooLarge = false;

    ~TDecodeState()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
};

// Chooses the smallest scale n/8 whose output covers `minimum`.
void ChooseScale(jpeg_decompress_struct& info, QSize minimum)
{
    info.scale_denom = 8;
    info.scale_num = 8;
    if (minimum.isEmpty())
        return;
    for (unsigned num = 1; num <= 8; ++num) {
        info.scale_num = num;
        jpeg_calc_output_dimensions(&info);
        if (static_cast<int>(info.output_width) >= minimum.width()
            && static_cast<int>(info.output_height) >= minimum.height())
            return;
    }
    info.scale_num = 8;
}

void CmykRowToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        // Adobe writes CMYK inverted (0 = full ink).
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Decodes into state.image; runs between setjmp and the end of decoding, so
// it holds no objects with destructors.
bool DecodeScanlines(TDecodeState& state, JSAMPLE* cmykRow)
{
    jpeg_decompress_struct& info = state.info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    while (info.output_scanline < info.output_height) {
        auto* line = reinterpret_cast<QRgb*>(state.image.scanLine(static_cast<int>(info.output_scanline)));
        JSAMPROW row = cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(line);
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
        if (cmyk)
            CmykRowToRgb32(cmykRow, line, info.output_width, info.saw_Adobe_marker);
    }
    return true;
}

TJpegDecodeResult Decode(TDecodeState& state, const QByteArray* data, QSize minimum, std::int64_t maxPixels)
{
    jpeg_decompress_struct& info = state.info;
    info.err = jpeg_std_error(&state.error.manager);
    state.error.manager.error_exit = ErrorExit;
    state.error.manager.output_message = SilentMessage;

    if (setjmp(state.error.jump)) {
        // A fatal error inside libjpeg. Corrupt data after some rows were
        // decoded still gives the picture (libjpeg fills what is missing),
        // but a jump means nothing usable.
        TJpegDecodeResult failed;
        failed.fullSize = state.fullSize;
        failed.tooLarge = state.tooLarge;
        return failed;
    }
    jpeg_create_decompress(&info);
    state.created = true;
    if (data) {
        jpeg_mem_src(
            &info, reinterpret_cast<const unsigned char*>(data->constData()), static_cast<unsigned long>(data->size()));
    } else {
        jpeg_stdio_src(&info, state.file);
    }
    jpeg_read_header(&info, TRUE);
    state.fullSize = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    if (static_cast<std::int64_t>(info.image_width) * info.image_height > maxPixels) {
        state.tooLarge = true;
        return {QImage(), state.fullSize, true};
    }
    switch (info.jpeg_color_space) {
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        break;
    default:
        info.out_color_space = JCS_EXT_BGRX; // the memory order of QImage::Format_RGB32
        break;
    }
    ChooseScale(info, minimum);
    if (info.scale_num < 8) {
        // The reduced picture is scaled down further; plain upsampling of
        // the chroma costs nothing visible there.
        info.do_fancy_upsampling = FALSE;
    }
    jpeg_start_decompress(&info);
    state.image
        = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
    if (state.image.isNull()) {
        jpeg_abort_decompress(&info);
        return {QImage(), state.fullSize, false};
    }
    if (info.out_color_space == JCS_CMYK)
        state.cmykRow.reset(new JSAMPLE[static_cast<std::size_t>(info.output_width) * 4]);
    if (!DecodeScanlines(state, state.cmykRow.get())) {
        jpeg_abort_decompress(&info);
        return {QImage(), state.fullSize, false};
    }
    jpeg_finish_decompress(&info);
    return {std::move(state.image), state.fullSize, false};
}

} // namespace

TJpegDecodeResult DecodeJpegFile(const QString& path, QSize minimum, std::int64_t maxPixels)
{
    auto state = std::make_unique<TDecodeState>();
    state->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!state->file)
        return {};
    return Decode(*state, nullptr, minimum, maxPixels);
}

TJpegDecodeResult DecodeJpegData(const QByteArray& data, QSize minimum, std::int64_t maxPixels)
{
    if (data.isEmpty())
        return {};
    auto state = std::make_unique<TDecodeState>();
    return Decode(*state, &data, minimum, maxPixels);
}

} // namespace pavlora
