#pragma once

#include "platform/platform.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The platform in a browser page: the windows are panels, the controls DOM elements, the
// canvases <canvas> elements, all made and kept by the page's script (page.js). The DOM's
// handlers only queue events there; waitEvent and the modal dialogs suspend the program
// (ASYNCIFY) until the page has what they wait for.
//
// Files have no paths in a browser: a file the user opens or drops, or the page's ?file=URL,
// is copied into the in-memory file system under /open, /drop or /url and loads from there;
// a save goes to /save, and whatever appears there is handed to the user (a download, or
// the file chosen through the File System Access API) before the next event is taken.

namespace tessaly {

class WebPlatform : public Platform {
  public:
    WebPlatform();

    bool openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                    const std::string& title, WindowStyle style) override;
    int windowOuterLeft(int window) override;
    int windowOuterTop(int window) override;
    void showWindow(int window) override;
    void hideWindow(int window) override;
    void setWindowTitle(int window, const std::string& title) override;

    bool createCanvas(int window, int id, Rect r, bool border, bool keyboard) override;
    bool createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) override;
    int trackBarPosition(int id) override;
    void setTrackBarPosition(int id, int position) override;
    bool createCheckBox(int window, int id, Rect r, const std::string& caption) override;
    bool isChecked(int id) override;
    bool createButton(int window, int id, Rect r, const std::string& caption) override;
    bool createLabel(int window, int id, Rect r, const std::string& text, bool centred) override;
    bool createTextField(int window, int id, Rect r, bool multiLine, bool rightAligned) override;
    bool createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                          int step) override;
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override;
    void setControlText(int id, const std::string& text) override;
    void setToolTip(int id, const std::string& text) override;
    void setFocus(int id) override;
    void acceptFileDrops(int id) override;

    bool createMenuBar(int menu, int window) override;
    bool createPopupMenu(int menu) override;
    bool menuExists(int menu) override;
    void addMenuTitle(int menu, const std::string& text) override;
    void openSubmenu(int menu, const std::string& text) override;
    void closeSubmenu(int menu) override;
    void addMenuItem(int menu, int command, const std::string& text) override;
    void addMenuSeparator(int menu) override;
    void setMenuChecked(int menu, int command, bool on) override;
    bool isMenuChecked(int menu, int command) override;
    void showPopupMenu(int menu, int window) override;
    void addShortcut(int window, char key, int command) override;

    std::optional<Event> waitEvent() override;
    bool escapeHeld() override;

    Surface* beginCanvasDrawing(int canvas) override;
    void endCanvasDrawing(int canvas) override;
    bool beginImageDrawing(int image) override;
    void endImageDrawing(int image) override;

    void messageBox(const std::string& title, const std::string& text) override;
    std::optional<Colour> chooseColour() override;
    FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                    const std::string& filters, int filterIndex) override;
    FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                    const std::string& filters, int filterIndex) override;

    std::vector<std::string> commandLineArguments() override;
    std::string currentDirectory() override;

    // Replaces the page with a note that the program has ended.
    static void showEnded();

  private:
    struct Canvas {
        Surface surface;
        int border = 0;
    };
    enum class ControlKind { Canvas, TrackBar, CheckBox, Button, Label, TextField, ScrollArea };

    bool hasWindow(int window) const;
    // Whether a control `id` may be made on `window`; records it when so.
    bool addControl(int window, int id, ControlKind kind);
    bool isKind(int id, ControlKind kind) const;

    std::map<int, bool> windows_;
    std::map<int, ControlKind> controls_;
    std::map<int, Canvas> canvases_;
    // Check marks per menu and command; a repeated command keeps its first item's mark.
    std::map<int, std::map<int, bool>> menus_;
    std::set<int> menuBarWindows_;
};

} // namespace tessaly
