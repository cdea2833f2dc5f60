// pavlora-jp2: the JPEG 2000 converter helper of the program.
//
//   pavlora-jp2 -i SOURCE -o TARGET -q QUALITY   JPEG 2000 (JP2 file or raw
//       codestream) → baseline JPEG of quality QUALITY (1–100).
//   pavlora-jp2 -i SOURCE -o TARGET -r RATIO     BMP (or PPM) → JP2 file.
//       RATIO is OpenJPEG's compression ratio RATIO:1 of the single quality
//       layer against the uncompressed picture, with the irreversible 9/7
//       wavelet; RATIO 1 or less encodes losslessly with the 5/3 wavelet.
//
// The program reads JPEG 2000 only through this helper, so a hostile file
// can at worst crash it. Pictures above 2^27 pixels are refused before
// their pixels are decoded. The output is written to "TARGET.part-PID",
// flushed and renamed to TARGET, so TARGET is complete or absent.
// Exit status: 0 success, 1 the conversion failed (reason on stderr),
// 2 usage error.

#include <openjpeg.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t(1) << 27;

struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message)
{
    throw Failure{message};
}

void QuietMessage(const char*, void*)
{
}

void ErrorMessage(const char* message, void*)
{
    std::fprintf(stderr, "pavlora-jp2: openjpeg: %s", message);
}

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels; // RGB, rows without padding
};

// ---- decoding -------------------------------------------------------------

OPJ_CODEC_FORMAT CodecOf(const std::string& path)
{
    unsigned char head[12] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        Fail("cannot open " + path + ": " + std::strerror(errno));
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    static const unsigned char jp2[12] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    static const unsigned char j2k[4] = {0xFF, 0x4F, 0xFF, 0x51};
    if (got == sizeof head && std::memcmp(head, jp2, sizeof jp2) == 0)
        return OPJ_CODEC_JP2;
    if (got >= 4 && std::memcmp(head, j2k, sizeof j2k) == 0)
        return OPJ_CODEC_J2K;
    Fail("not a JPEG 2000 file: " + path);
}

struct DecodeHandles {
    opj_stream_t* stream = nullptr;
    opj_codec_t* codec = nullptr;
    opj_image_t* image = nullptr;
    ~DecodeHandles()
    {
        if (image)
            opj_image_destroy(image);
        if (codec)
            opj_destroy_codec(codec);
        if (stream)
            opj_stream_destroy(stream);
    }
};

int Sample8(const opj_image_comp_t& component, int x, int y, int width, int height)
{
    const auto cx
        = static_cast<OPJ_UINT32>(static_cast<std::int64_t>(x) * component.w / static_cast<OPJ_UINT32>(width));
    const auto cy
        = static_cast<OPJ_UINT32>(static_cast<std::int64_t>(y) * component.h / static_cast<OPJ_UINT32>(height));
    std::int64_t value = component.data[static_cast<std::size_t>(cy) * component.w + cx];
    const int precision = static_cast<int>(std::clamp<OPJ_UINT32>(component.prec, 1, 31));
    if (component.sgnd)
        value += std::int64_t(1) << (precision - 1);
    if (precision > 8)
        value >>= precision - 8;
    else if (precision < 8)
        value = value * 255 / ((std::int64_t(1) << precision) - 1);
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 255));
}

RgbImage DecodeJp2(const std::string& path)
{
    DecodeHandles h;
    h.codec = opj_create_decompress(CodecOf(path));
    opj_set_info_handler(h.codec, QuietMessage, nullptr);
    opj_set_warning_handler(h.codec, QuietMessage, nullptr);
    opj_set_error_handler(h.codec, ErrorMessage, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(h.codec, &parameters))
        Fail("cannot set up the decoder");
    opj_codec_set_threads(h.codec, std::max(1, opj_get_num_cpus()));
    h.stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_TRUE);
    if (!h.stream)
        Fail("cannot read " + path);
    if (!opj_read_header(h.stream, h.codec, &h.image) || !h.image)
        Fail("cannot read the header of " + path);
    const std::int64_t width = static_cast<std::int64_t>(h.image->x1) - h.image->x0;
    const std::int64_t height = static_cast<std::int64_t>(h.image->y1) - h.image->y0;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels)
        Fail("unsupported picture size");
    if (h.image->numcomps < 1)
        Fail("no components");
    if (!opj_decode(h.codec, h.stream, h.image) || !opj_end_decompress(h.codec, h.stream))
        Fail("cannot decode " + path);

    const opj_image_t& image = *h.image;
    for (OPJ_UINT32 i = 0; i < std::min<OPJ_UINT32>(image.numcomps, 3); ++i) {
        if (!image.comps[i].data || image.comps[i].w == 0 || image.comps[i].h == 0)
            Fail("missing component data");
    }
    RgbImage rgb;
    rgb.width = static_cast<int>(width);
    rgb.height = static_cast<int>(height);
    rgb.pixels.resize(static_cast<std::size_t>(width * height * 3));
    const bool colour = image.numcomps >= 3;
    const bool ycc = colour && image.color_space == OPJ_CLRSPC_SYCC;
    unsigned char* out = rgb.pixels.data();
    for (int y = 0; y < rgb.height; ++y) {
        for (int x = 0; x < rgb.width; ++x, out += 3) {
            if (!colour) {
                out[0] = out[1] = out[2]
                    = static_cast<unsigned char>(Sample8(image.comps[0], x, y, rgb.width, rgb.height));
                continue;
            }
            int c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = Sample8(image.comps[i], x, y, rgb.width, rgb.height);
            if (ycc) {
                const double luma = c[0], cb = c[1] - 128.0, cr = c[2] - 128.0;
                c[0] = static_cast<int>(std::lround(luma + 1.402 * cr));
                c[1] = static_cast<int>(std::lround(luma - 0.344136 * cb - 0.714136 * cr));
                c[2] = static_cast<int>(std::lround(luma + 1.772 * cb));
            }
            for (int i = 0; i < 3; ++i)
                out[i] = static_cast<unsigned char>(std::clamp(c[i], 0, 255));
        }
    }
    return rgb;
}

// ---- writing --------------------------------------------------------------

std::string PartName(const std::string& target)
{
    return target + ".part-" + std::to_string(::getpid());
}

void Commit(const std::string& part, const std::string& target)
{
    const int fd = ::open(part.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0)
            ::close(fd);
        Fail("cannot flush " + part);
    }
    ::close(fd);
    if (std::rename(part.c_str(), target.c_str()) != 0)
        Fail("cannot rename to " + target + ": " + std::strerror(errno));
}

void WriteJpeg(const RgbImage& rgb, const std::string& target, int quality)
{
    tjhandle handle = tjInitCompress();
    if (!handle)
        Fail("cannot start the JPEG encoder");
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle, rgb.pixels.data(), rgb.width, 0, rgb.height, TJPF_RGB, &jpeg, &size,
        TJSAMP_420, quality, TJFLAG_ACCURATEDCT);
    const std::string error = result != 0 ? tjGetErrorStr2(handle) : std::string();
    tjDestroy(handle);
    if (result != 0) {
        tjFree(jpeg);
        Fail("JPEG encoding failed: " + error);
    }
    const std::string part = PartName(target);
    std::FILE* file = std::fopen(part.c_str(), "wb");
    const bool written = file && std::fwrite(jpeg, 1, size, file) == size;
    tjFree(jpeg);
    if (!file || std::fclose(file) != 0 || !written) {
        std::remove(part.c_str());
        Fail("cannot write " + part);
    }
    Commit(part, target);
}

RgbImage ReadBitmap(const std::string& path)
{
    int width = 0;
    int height = 0;
    int format = TJPF_RGB;
    unsigned char* pixels = tjLoadImage(path.c_str(), &width, 1, &height, &format, 0);
    if (!pixels)
        Fail("cannot read " + path + ": " + tjGetErrorStr2(nullptr));
    RgbImage rgb;
    if (width > 0 && height > 0 && static_cast<std::int64_t>(width) * height <= kMaxPixels) {
        rgb.width = width;
        rgb.height = height;
        rgb.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    }
    tjFree(pixels);
    if (rgb.pixels.empty())
        Fail("unsupported picture size");
    return rgb;
}

struct EncodeHandles {
    opj_stream_t* stream = nullptr;
    opj_codec_t* codec = nullptr;
    opj_image_t* image = nullptr;
    ~EncodeHandles()
    {
        if (stream)
            opj_stream_destroy(stream);
        if (codec)
            opj_destroy_codec(codec);
        if (image)
            opj_image_destroy(image);
    }
};

void WriteJp2(const RgbImage& rgb, const std::string& target, int ratio)
{
    EncodeHandles h;
    opj_image_cmptparm_t components[3];
    std::memset(components, 0, sizeof components);
    for (opj_image_cmptparm_t& component : components) {
        component.dx = component.dy = 1;
        component.w = static_cast<OPJ_UINT32>(rgb.width);
        component.h = static_cast<OPJ_UINT32>(rgb.height);
        component.prec = 8;
        component.sgnd = 0;
    }
    h.image = opj_image_create(3, components, OPJ_CLRSPC_SRGB);
    if (!h.image)
        Fail("out of memory");
    h.image->x0 = h.image->y0 = 0;
    h.image->x1 = static_cast<OPJ_UINT32>(rgb.width);
    h.image->y1 = static_cast<OPJ_UINT32>(rgb.height);
    const std::size_t count = static_cast<std::size_t>(rgb.width) * static_cast<std::size_t>(rgb.height);
    for (std::size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c)
            h.image->comps[c].data[i] = rgb.pixels[i * 3 + static_cast<std::size_t>(c)];
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = 1;
    if (ratio > 1) {
        parameters.tcp_rates[0] = static_cast<float>(ratio);
        parameters.irreversible = 1;
    } else {
        parameters.tcp_rates[0] = 0; // lossless
        parameters.irreversible = 0;
    }
    // Every resolution level needs at least one pixel.
    const int shorter = std::min(rgb.width, rgb.height);
    while (parameters.numresolution > 1 && (1 << (parameters.numresolution - 1)) > shorter)
        --parameters.numresolution;

    h.codec = opj_create_compress(OPJ_CODEC_JP2);
    opj_set_info_handler(h.codec, QuietMessage, nullptr);
    opj_set_warning_handler(h.codec, QuietMessage, nullptr);
    opj_set_error_handler(h.codec, ErrorMessage, nullptr);
    if (!opj_setup_encoder(h.codec, &parameters, h.image))
        Fail("cannot set up the encoder");
    const std::string part = PartName(target);
    h.stream = opj_stream_create_default_file_stream(part.c_str(), OPJ_FALSE);
    if (!h.stream)
        Fail("cannot write " + part);
    const bool encoded = opj_start_compress(h.codec, h.image, h.stream) && opj_encode(h.codec, h.stream)
        && opj_end_compress(h.codec, h.stream);
    opj_stream_destroy(h.stream); // closes the file
    h.stream = nullptr;
    if (!encoded) {
        std::remove(part.c_str());
        Fail("JPEG 2000 encoding failed");
    }
    Commit(part, target);
}

// ---- command line ---------------------------------------------------------

int Usage(const char* message)
{
    std::fprintf(stderr, "pavlora-jp2: %s\nUsage: pavlora-jp2 -i SOURCE -o TARGET (-q QUALITY | -r RATIO)\n", message);
    return 2;
}

bool ParseNumber(const char* text, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

} // namespace

int main(int argc, char* argv[])
{
    std::string source;
    std::string target;
    long quality = -1;
    long ratio = -1;
    bool haveQuality = false;
    bool haveRatio = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return Usage("an option lacks its value");
        const char* value = argv[i + 1];
        if (option == "-i") {
            source = value;
        } else if (option == "-o") {
            target = value;
        } else if (option == "-q") {
            haveQuality = ParseNumber(value, quality);
            if (!haveQuality)
                return Usage("-q needs a number");
        } else if (option == "-r") {
            haveRatio = ParseNumber(value, ratio);
            if (!haveRatio)
                return Usage("-r needs a number");
        } else {
            return Usage("unknown option");
        }
    }
    if (source.empty() || target.empty() || haveQuality == haveRatio)
        return Usage("needs -i, -o and one of -q and -r");

    try {
        if (haveQuality) {
            WriteJpeg(DecodeJp2(source), target, static_cast<int>(std::clamp<long>(quality, 1, 100)));
        } else {
            WriteJp2(ReadBitmap(source), target, static_cast<int>(std::clamp<long>(ratio, 0, 1000)));
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "pavlora-jp2: %s\n", failure.message.c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "pavlora-jp2: out of memory\n");
        return 1;
    }
    return 0;
}
