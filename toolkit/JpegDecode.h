// JPEG decoding through libjpeg, kept apart from the toolkit's other headers (libjpeg's
// `boolean` clashes with the one the shell headers bring in).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tk::detail {

// Receives the decoded picture: Begin gets the size (return false to refuse it), Row gives the
// memory for a row of width × 3 bytes in blue, green, red order.
class JpegSink {
public:
    virtual bool Begin(int width, int height) = 0;
    virtual uint8_t* Row(int y) = 0;

protected:
    ~JpegSink() = default;
};

// False for damaged or unsupported data; never ends the process.
bool DecodeJpeg(const uint8_t* data, size_t size, JpegSink& sink);

}  // namespace tk::detail
