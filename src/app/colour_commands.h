#pragma once

namespace tessaly {

struct App;

enum class ColourTarget { Ink, Paper };

// Asks for a colour (the dialog opens at black) and, unless cancelled, stores it as the
// ink or paper colour and redraws every view.
void chooseColourCommand(App& app, ColourTarget target);

} // namespace tessaly
