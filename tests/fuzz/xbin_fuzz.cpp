// The XBin reader: a file it takes as a map has the size its header gives, within the
// converter's limit, and comes back the same through the XBin writer; reading only the set
// takes every file the map reading takes, with a font of 1 to 32 rows or none; a file it
// refuses gets one line saying why.

#include "formats/machines/xbin.h"

#include "fuzz_check.h"

#include <algorithm>

using namespace tessaly;
using namespace tessaly::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    XBinContent set, map;
    std::string setError, mapError;
    const bool setRead = readXBin(bytes, false, set, setError);
    if (!setRead) FUZZ_CHECK(oneLine(setError));
    // A font of 1 to 32 rows, or none; one of 8 rows is the set.
    FUZZ_CHECK(!setRead || (set.fontRows >= 0 && set.fontRows <= 32 &&
                            set.glyphRows.size() == static_cast<std::size_t>(256 * set.fontRows)));
    if (setRead && set.fontRows == 8)
        FUZZ_CHECK(std::equal(set.glyphRows.begin(), set.glyphRows.end(), set.font.bytes.begin()));
    if (!readXBin(bytes, true, map, mapError)) {
        FUZZ_CHECK(oneLine(mapError));
        return 0;
    }
    FUZZ_CHECK(setRead && set.font.bytes == map.font.bytes);
    FUZZ_CHECK(map.map.width == map.width && map.map.height == map.height);
    FUZZ_CHECK(map.width >= 1 && map.width <= XBinMapLimit && map.height >= 1 &&
               map.height <= XBinMapLimit);
    FUZZ_CHECK(map.map.codes.size() == static_cast<std::size_t>(map.width * map.height));

    XBinContent back;
    FUZZ_CHECK(readXBin(writeXBin(map.map, map.font, rgb(255, 255, 255), 0), true, back, mapError));
    FUZZ_CHECK(back.map.codes == map.map.codes && back.font.bytes == map.font.bytes);
    return 0;
}
