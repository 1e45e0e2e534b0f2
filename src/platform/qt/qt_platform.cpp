#include "platform/qt/qt_platform.h"

#include "platform/qt/canvas_widget.h"
#include "platform/qt/program_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <cctype>
#include <utility>

// Windows, menus, events and drawing; the controls and the dialogs have files of their own.

namespace tessaly {

namespace {

// Long enough for a window manager to map and frame a new window.
constexpr int exposeTimeoutMs = 1000;

// Moves a top-level widget so that its outer frame is centred on the primary screen; a
// window larger than the screen goes to the screen's left or top edge.
void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    const int left = area.x() + (area.width() - std::min(area.width(), outer.width())) / 2;
    const int top = area.y() + (area.height() - std::min(area.height(), outer.height())) / 2;
    window->move(left, top);
}

// Processes events until the window is exposed on the screen, for at most `timeoutMs`.
// Only then does a window manager's frame show in its frame geometry.
void waitUntilExposed(QWidget* window, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const QWindow* handle = window->windowHandle();
        if ((handle != nullptr && handle->isExposed()) || deadline.hasExpired()) return;
        QThread::msleep(5);
    }
}

} // namespace

QtPlatform::QtPlatform(std::vector<std::string> arguments, std::string currentDirectory)
    : arguments_(std::move(arguments)), currentDirectory_(std::move(currentDirectory)),
      filter_(queue_) {}

QtPlatform::~QtPlatform() = default;

// --- Windows

ProgramWindow* QtPlatform::window(int id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.get();
}

bool QtPlatform::openWindow(const WindowSpec& spec) {
    if (windows_.count(spec.id) != 0 || spec.clientWidth <= 0 || spec.clientHeight <= 0)
        return false;
    auto created = std::make_unique<ProgramWindow>(queue_, spec.id,
                                                   QSize(spec.clientWidth, spec.clientHeight));
    ProgramWindow* widget = created.get();
    widget->setObjectName(QString::fromStdString(spec.name));
    widget->setWindowTitle(QString::fromStdString(spec.title));
    windows_.emplace(spec.id, std::move(created));

    if (spec.centred) {
        // Centred on the client size first, so that the window appears close to its place.
        centreOnScreen(widget);
    } else {
        widget->move(spec.x, spec.y);
    }
    if (spec.hidden) return true;
    widget->show();
    if (spec.centred) {
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
    if (ProgramWindow* widget = this->window(window))
        widget->setWindowTitle(QString::fromStdString(title));
}

// --- Menus

bool QtPlatform::createMenu(const MenuSpec& spec) {
    if (menus_.count(spec.id) != 0) return false;
    Menu menu;
    if (spec.window == -1) {
        menu.popup = std::make_unique<QMenu>();
        addEntries(menu.popup.get(), spec.entries, menu);
    } else {
        ProgramWindow* owner = window(spec.window);
        if (owner == nullptr || owner->menuBar() != nullptr) return false;
        auto* bar = new QMenuBar(owner);
        addEntries(bar, spec.entries, menu);
        owner->setMenuBar(bar);
    }
    menus_.emplace(spec.id, std::move(menu));
    return true;
}

// Submenus (a menu bar's titles among them) are QMenus holding their own entries. The text
// after a tab in an item shows as its shortcut label; the binding itself is a shortcut
// added separately, so the action gets none. Only a marked item is checkable at first.
void QtPlatform::addEntries(QWidget* parent, const std::vector<MenuEntry>& entries, Menu& menu) {
    for (const MenuEntry& entry : entries) {
        const QString text = QString::fromStdString(entry.text);
        if (entry.kind == MenuEntry::Kind::Submenu) {
            auto* submenu = new QMenu(text, parent);
            parent->addAction(submenu->menuAction());
            addEntries(submenu, entry.entries, menu);
            continue;
        }
        auto* action = new QAction(text, parent);
        parent->addAction(action);
        if (entry.kind == MenuEntry::Kind::Separator) {
            action->setSeparator(true);
            continue;
        }
        menu.items.emplace(entry.command, action);
        action->setCheckable(entry.checked);
        action->setChecked(entry.checked);
        QObject::connect(action, &QAction::triggered, action,
                         [this, action, command = entry.command](bool checked) {
                             // Qt flips a checkable action when it is chosen; the program
                             // sets the marks itself.
                             if (action->isCheckable()) action->setChecked(!checked);
                             pushCommand(command);
                         });
    }
}

void QtPlatform::setMenuChecked(int menu, int command, bool on) {
    const auto found = menus_.find(menu);
    if (found == menus_.end()) return;
    const auto item = found->second.items.find(command);
    if (item == found->second.items.end()) return;
    item->second->setCheckable(true);
    item->second->setChecked(on);
}

void QtPlatform::showPopupMenu(int menu, int window) {
    const auto found = menus_.find(menu);
    if (found == menus_.end() || found->second.popup == nullptr) return;
    if (ProgramWindow* owner = this->window(window)) {
        owner->raise();
        owner->activateWindow();
    }
    // A pick raises its command through the action's signal.
    found->second.popup->exec(QCursor::pos() - QPoint(1, 1));
}

void QtPlatform::addShortcut(int window, char key, int command) {
    ProgramWindow* widget = this->window(window);
    if (widget == nullptr) return;
    const int qtKey = std::toupper(static_cast<unsigned char>(key));
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(qtKey)), widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, shortcut,
                     [this, command] { pushCommand(command); });
}

// --- Events

void QtPlatform::pushCommand(int command) {
    Event event = eventOf(EventKind::Command);
    event.command = command;
    push(event);
}

// No Qt event loop runs above the program's own, so objects Qt deletes later (parts of
// closed dialogs and menus) are deleted here, or they would wait until the end.
void QtPlatform::processQtEvents(bool wait) {
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::optional<Event> QtPlatform::take() {
    if (queue_.empty()) return std::nullopt;
    Event event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

std::optional<Event> QtPlatform::waitEvent() {
    for (;;) {
        if (filter_.quitRequested || QCoreApplication::closingDown()) return std::nullopt;
        if (!queue_.empty()) return take();
        processQtEvents(true);
    }
}

std::optional<Event> QtPlatform::pollEvent() {
    processQtEvents(false);
    return take();
}

// --- Drawing

Surface* QtPlatform::beginCanvasDrawing(int canvas) {
    const Control* found = control(canvas);
    return found == nullptr || found->canvas == nullptr ? nullptr : &found->canvas->surface();
}

void QtPlatform::endCanvasDrawing(int canvas) {
    const Control* found = control(canvas);
    if (found != nullptr && found->canvas != nullptr) found->canvas->showChanges();
}

} // namespace tessaly
