#include "convert/picture_steps.h"

// PICTURE PLUG-IN POINT: these bodies stand in for the picture functions until the
// picture codec (formats/picture.cpp, formats/png_codec.cpp) is built in. Each real body
// decodes or encodes with formats/picture.h, returns BadInput with its message for a
// picture that cannot be read, and Done otherwise.

namespace tessaly::convert {

namespace {

StepResult notBuilt(std::string& error) {
    error = "picture support (.png, .bmp) is not built yet";
    return StepResult::NotBuilt;
}

} // namespace

StepResult readPictureSet(std::span<const std::uint8_t>, std::optional<Colour>, int, Charset&,
                          std::string&, std::string& error) {
    return notBuilt(error);
}

StepResult writePictureSet(const Charset&, int, int, formats::PictureType, int, Colour, Colour,
                           std::vector<std::uint8_t>&, std::string& error) {
    return notBuilt(error);
}

StepResult writeMapPicture(const formats::CodeMap&, const Charset&, formats::PictureType, int,
                           Colour, Colour, bool, std::vector<std::uint8_t>&, std::string& error) {
    return notBuilt(error);
}

StepResult cutPicture(std::span<const std::uint8_t>, int, std::optional<Colour>, int,
                      formats::CutScreen&, std::string&, std::string& error) {
    return notBuilt(error);
}

} // namespace tessaly::convert
