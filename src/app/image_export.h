#pragma once

namespace tessaly {

struct App;

// Saves the overview picture, without cursor marker or hover frame, as a BMP file the
// user chooses.
void saveCharsetImage(App& app);

} // namespace tessaly
