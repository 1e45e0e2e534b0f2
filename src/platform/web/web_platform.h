#pragma once

#include "platform/platform.h"

#include <memory>

// The platform in a browser page: the windows are panels, the controls DOM elements, the
// canvases <canvas> elements, all made and kept by the page's script (page.js). The DOM's
// handlers only queue raw events there; waitEvent and the modal dialogs suspend the program
// (ASYNCIFY) until the page has what they wait for.
//
// Files have no paths in a browser: a file the user opens or drops, or the page's ?file=URL,
// is copied into the in-memory file system under /open, /drop or /url and loads from there;
// a save goes to /save, and whatever appears there is handed to the user (a download, or
// the file chosen through the File System Access API) before the next event is taken.

namespace tessaly {

// The page's WebPlatform; the page gets the numbers of the event records from it.
std::unique_ptr<Platform> makeWebPlatform();

// Replaces the page with a note that the program has ended.
void showEnded();

} // namespace tessaly
