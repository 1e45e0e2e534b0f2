#include "formats/fonts/gzip.h"

#include <zlib.h>

#include <algorithm>

namespace tessaly::formats {

namespace {

constexpr int GzipWindow = 15 + 16; // zlib's way of asking for a gzip wrapper

std::string megabytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

} // namespace

bool isGzip(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

bool gunzip(std::span<const std::uint8_t> bytes, std::size_t limit, std::vector<std::uint8_t>& out,
            std::string& error) {
    out.clear();
    if (!isGzip(bytes)) {
        error = "not gzip data: it does not start with the bytes 1F 8B";
        return false;
    }
    z_stream z{};
    if (inflateInit2(&z, GzipWindow) != Z_OK) {
        error = "the gzip decoder could not start";
        return false;
    }
    std::size_t done = 0; // input bytes consumed by finished members
    std::uint8_t chunk[16384];
    bool ok = true;
    while (ok) {
        // zlib counts in uInt: feed at most 1 GiB at a time.
        const std::size_t left = bytes.size() - done;
        z.next_in = const_cast<Bytef*>(bytes.data() + done);
        z.avail_in = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        const uInt fed = z.avail_in;
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = chunk;
            z.avail_out = sizeof chunk;
            status = inflate(&z, Z_NO_FLUSH);
            const std::size_t produced = sizeof chunk - z.avail_out;
            if (out.size() + produced > limit) {
                error = "the gzip data unpacks to more than " + megabytes(limit);
                ok = false;
                break;
            }
            out.insert(out.end(), chunk, chunk + produced);
            if (status == Z_BUF_ERROR && z.avail_in == 0) break; // input used up
        }
        if (!ok) break;
        done += fed - z.avail_in;
        if (status == Z_STREAM_END) {
            // Another member may follow; trailing zero padding is allowed, as gzip does.
            const bool rest = std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(done),
                                          bytes.end(), [](std::uint8_t b) { return b != 0; });
            if (!rest) break;
            if (!isGzip(bytes.subspan(done))) {
                error = "unexpected bytes after the gzip data at byte " + std::to_string(done);
                ok = false;
                break;
            }
            inflateReset(&z);
            continue;
        }
        if (status == Z_BUF_ERROR || status == Z_OK) {
            error = "the gzip data is cut short at byte " + std::to_string(bytes.size());
        } else {
            error = "damaged gzip data near byte " + std::to_string(done) +
                    (z.msg ? std::string(" (") + z.msg + ")" : std::string());
        }
        ok = false;
    }
    inflateEnd(&z);
    if (!ok) out.clear();
    return ok;
}

std::vector<std::uint8_t> gzip(std::span<const std::uint8_t> bytes) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, GzipWindow, 8, Z_DEFAULT_STRATEGY);
    // zlib names the system it runs on in the header; naming Unix everywhere makes the same
    // bytes on Windows as on Linux.
    gz_header header{};
    header.os = 3;
    deflateSetHeader(&z, &header);
    std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(bytes.size())));
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace tessaly::formats
