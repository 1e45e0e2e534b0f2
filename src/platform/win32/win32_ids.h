#pragma once

// Win32 identifiers of the program's menu items and child windows. Commands are offset so
// that no item carries 0, which a menu loop also uses for "nothing chosen"; control ids
// are offset away from the commands and the system's own dialog ids.

namespace tessaly {

constexpr int CommandItemBase = 100;
constexpr int ControlIdBase = 1000;

} // namespace tessaly
