#include "platform/qt/qt_platform.h"

#include "platform/qt/canvas_widget.h"
#include "platform/qt/program_window.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <cctype>
#include <utility>

// Windows, menus, events and drawing; the controls and the dialogs have files of their own.

namespace tessaly {

namespace {

// Long enough for a window manager to map and frame a new window.
constexpr int exposeTimeoutMs = 1000;

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QtPlatform::QtPlatform(std::vector<std::string> arguments, std::string currentDirectory)
    : arguments_(std::move(arguments)), currentDirectory_(std::move(currentDirectory)),
      escape_(queue_), menus_(queue_) {}

QtPlatform::~QtPlatform() = default;

// --- Windows

ProgramWindow* QtPlatform::window(int id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.get();
}

QWidget* QtPlatform::windowWidget(int window) const {
    return this->window(window);
}

bool QtPlatform::openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                            const std::string& title, WindowStyle style) {
    if (windows_.count(window) != 0 || clientWidth <= 0 || clientHeight <= 0) return false;
    auto created =
        std::make_unique<ProgramWindow>(queue_, window, QSize(clientWidth, clientHeight));
    ProgramWindow* widget = created.get();
    widget->setWindowTitle(qtText(title));
    escape_.watchWindow(widget);
    windows_.emplace(window, std::move(created));

    if (style.centred) {
        // Centred on the client size first, so that the window appears close to its place.
        centreOnScreen(widget);
    } else {
        widget->move(x, y);
    }
    if (style.hidden) return true;
    widget->show();
    if (style.centred) {
        // The frame is known only once the window manager has mapped the window.
        waitUntilExposed(widget, exposeTimeoutMs);
        centreOnScreen(widget);
    }
    return true;
}

int QtPlatform::windowOuterLeft(int window) {
    const ProgramWindow* widget = this->window(window);
    return widget == nullptr ? 0 : widget->frameGeometry().x();
}

int QtPlatform::windowOuterTop(int window) {
    const ProgramWindow* widget = this->window(window);
    return widget == nullptr ? 0 : widget->frameGeometry().y();
}

void QtPlatform::showWindow(int window) {
    ProgramWindow* widget = this->window(window);
    if (widget == nullptr) return;
    // A minimised window comes back to its normal place; a maximised one stays so.
    widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void QtPlatform::hideWindow(int window) {
    if (ProgramWindow* widget = this->window(window)) widget->hide();
}

void QtPlatform::setWindowTitle(int window, const std::string& title) {
    if (ProgramWindow* widget = this->window(window)) widget->setWindowTitle(qtText(title));
}

// --- Menus

bool QtPlatform::createMenuBar(int menu, int window) {
    ProgramWindow* widget = this->window(window);
    if (widget == nullptr || widget->menuBar() != nullptr || menus_.exists(menu)) return false;
    auto* bar = new QMenuBar(widget);
    widget->setMenuBar(bar);
    return menus_.addMenuBar(menu, bar);
}

bool QtPlatform::createPopupMenu(int menu) {
    return menus_.createPopup(menu);
}

bool QtPlatform::menuExists(int menu) {
    return menus_.exists(menu);
}

void QtPlatform::addMenuTitle(int menu, const std::string& text) {
    menus_.addTitle(menu, qtText(text));
}

void QtPlatform::openSubmenu(int menu, const std::string& text) {
    menus_.openSubmenu(menu, qtText(text));
}

void QtPlatform::closeSubmenu(int menu) {
    menus_.closeSubmenu(menu);
}

void QtPlatform::addMenuItem(int menu, int command, const std::string& text) {
    menus_.addItem(menu, command, qtText(text));
}

void QtPlatform::addMenuSeparator(int menu) {
    menus_.addSeparator(menu);
}

void QtPlatform::setMenuChecked(int menu, int command, bool on) {
    menus_.setChecked(menu, command, on);
}

bool QtPlatform::isMenuChecked(int menu, int command) {
    return menus_.isChecked(menu, command);
}

QMenu* QtPlatform::popupMenu(int menu) const {
    return menus_.popup(menu);
}

void QtPlatform::showPopupMenu(int menu, int window) {
    QMenu* popup = menus_.popup(menu);
    if (popup == nullptr) return;
    if (ProgramWindow* owner = this->window(window)) {
        owner->raise();
        owner->activateWindow();
    }
    // A pick raises its command through the action's signal.
    popup->exec(QCursor::pos() - QPoint(1, 1));
}

void QtPlatform::addShortcut(int window, char key, int command) {
    ProgramWindow* widget = this->window(window);
    if (widget == nullptr) return;
    const int qtKey = std::toupper(static_cast<unsigned char>(key));
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(qtKey)), widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, [this, command] {
        Event event;
        event.kind = EventKind::Command;
        event.command = command;
        queue_.push(event);
    });
}

// --- Events

void QtPlatform::takeDeferredDeletes() {
    // No Qt event loop runs above the program's own, so objects Qt deletes later (parts
    // of closed dialogs and menus) would otherwise wait until the end.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::optional<Event> QtPlatform::waitEvent() {
    for (;;) {
        if (quit_.quitRequested() || QCoreApplication::closingDown()) return std::nullopt;
        if (!queue_.empty()) break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        takeDeferredDeletes();
    }
    return queue_.pop();
}

std::optional<Event> QtPlatform::pollEvent() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    takeDeferredDeletes();
    return queue_.pop();
}

bool QtPlatform::escapeHeld() {
    return escape_.held();
}

// --- Drawing

Surface* QtPlatform::beginCanvasDrawing(int canvas) {
    const Control* found = control(canvas, ControlKind::Canvas);
    return found == nullptr ? nullptr : &found->canvas->surface();
}

void QtPlatform::endCanvasDrawing(int canvas) {
    if (const Control* found = control(canvas, ControlKind::Canvas)) found->canvas->showChanges();
}

// Images are Surfaces the program owns; there is nothing to prepare or release.
bool QtPlatform::beginImageDrawing(int) {
    return true;
}

void QtPlatform::endImageDrawing(int) {}

// --- Process

std::vector<std::string> QtPlatform::commandLineArguments() {
    return arguments_;
}

std::string QtPlatform::currentDirectory() {
    return currentDirectory_;
}

} // namespace tessaly
