#pragma once

namespace tessaly {

struct App;

// Builds the menu bar of the main window, the two popup menus and the Ctrl+I / Ctrl+O
// shortcuts. Each of the three menus that cannot be created is reported once and the
// program goes on without it.
void buildMenus(App& app);

// Shows a popup menu at the pointer, its keys walked by app.menuWalk where the platform
// reports them.
void showPopupMenu(App& app, int menu, int window);

} // namespace tessaly
