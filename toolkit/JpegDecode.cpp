// JPEG decoding through libjpeg: errors jump back here and become a false result.
#include "toolkit/JpegDecode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tk::detail {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
    // libjpeg's default ends the process; return to DecodeJpeg instead.
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}  // warnings and traces are not printed

// The decoder proper. Only plain data lives in this frame, so the jump skips no destructor.
bool Decode(jpeg_decompress_struct* cinfo, ErrorManager* err, const uint8_t* data, size_t size,
            JpegSink& sink, bool* sinkFailed) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
    cinfo->out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) return false;
    // Begin may throw (no memory): it is called outside libjpeg, and the caller cleans up.
    if (!sink.Begin(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height))) {
        *sinkFailed = true;
        return false;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = sink.Row(static_cast<int>(cinfo->output_scanline));
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, JpegSink& sink) {
    if (data == nullptr || size < 4 || size > 0x7FFFFFFF) return false;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    bool sinkFailed = false;
    bool ok = false;
    try {
        ok = Decode(&cinfo, &err, data, size, sink, &sinkFailed);
    } catch (...) {
        ok = false;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

}  // namespace tk::detail
