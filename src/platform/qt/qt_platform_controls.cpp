#include "platform/qt/qt_platform.h"

#include "platform/qt/canvas_widget.h"
#include "platform/qt/program_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextOption>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

// The controls of the program's windows.

namespace tessaly {

namespace {

// The width of a canvas's sunken border.
constexpr int canvasBorder = 2;

// A scroll area whose wheel, over the canvas in it too, is reported for the program to
// scroll it.
class ScrollArea : public QScrollArea {
  public:
    ScrollArea(EventQueue& queue, int id, QWidget* parent)
        : QScrollArea(parent), queue_(queue), id_(id) {}

  protected:
    // Qt counts a turn up or left as positive.
    void wheelEvent(QWheelEvent* event) override {
        Event wheel = eventOf(EventKind::Wheel, -1, id_);
        wheel.x = -event->angleDelta().x();
        wheel.y = -event->angleDelta().y();
        wheel.value = (event->modifiers() & Qt::ShiftModifier) ? 1 : 0;
        queue_.push_back(wheel);
    }

  private:
    EventQueue& queue_;
    int id_;
};

// Lets a widget take files dropped from the desktop (as a copy) and reports each drop as
// one event with the local paths joined by line feeds. Drops of anything else are refused.
class FileDropFilter : public QObject {
  public:
    // Installs itself on `target` and becomes its child.
    FileDropFilter(EventQueue& queue, int control, QWidget* target)
        : QObject(target), queue_(queue), control_(control) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        const QMimeData* data = drop->mimeData();
        for (const QUrl& url : data != nullptr ? data->urls() : QList<QUrl>()) {
            if (url.isLocalFile()) paths << url.toLocalFile();
        }
        if (paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (type == QEvent::Drop) {
            Event dropped = eventOf(EventKind::FilesDropped, -1, control_);
            dropped.paths = paths.join(QLatin1Char('\n')).toStdString();
            queue_.push_back(std::move(dropped));
        }
        return true;
    }

  private:
    EventQueue& queue_;
    int control_;
};

QSlider* newSlider(const ControlSpec& spec, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(spec.min, spec.max);
    slider->setPageStep(spec.step);
    if (spec.ticks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(spec.step);
    }
    return slider;
}

// A compact multi-line field like a native multi-line edit: no scroll bars, lines wrapped
// wherever needed (inside a word too: a list of numbers has no spaces), in a small font.
QPlainTextEdit* newMultiLineField(const ControlSpec& spec, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->document()->setDocumentMargin(2);
    QFont font = edit->font();
    font.setPixelSize(11);
    edit->setFont(font);
    if (spec.rightAligned) {
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(Qt::AlignRight);
        edit->document()->setDefaultTextOption(option);
    }
    return edit;
}

QScrollArea* newScrollArea(EventQueue& queue, const ControlSpec& spec, QWidget* parent) {
    auto* area = new ScrollArea(queue, spec.id, parent);
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    area->setWidgetResizable(false);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->horizontalScrollBar()->setSingleStep(spec.step);
    area->verticalScrollBar()->setSingleStep(spec.step);
    auto* inner = new QWidget;
    inner->setFixedSize(std::max(spec.innerWidth, 0), std::max(spec.innerHeight, 0));
    area->setWidget(inner);
    return area;
}

} // namespace

const QtPlatform::Control* QtPlatform::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

bool QtPlatform::createControl(const ControlSpec& spec) {
    ProgramWindow* owner = window(spec.window);
    if (owner == nullptr || controls_.count(spec.id) != 0) return false;
    Control made;
    made.widget = newControl(spec, owner->controlArea(), made);
    if (made.widget == nullptr) return false;
    if (made.canvas == nullptr) made.widget->setObjectName(QString::fromStdString(spec.name));
    made.widget->setGeometry(spec.rect.x, spec.rect.y, spec.rect.w, spec.rect.h);
    made.widget->show();
    controls_.emplace(spec.id, made);
    if (auto* area = qobject_cast<QScrollArea*>(made.widget)) owner->setControlArea(area->widget());
    return true;
}

// The user's changes of a slider, the check box and a button are reported; the program's
// own, through setControlValue, are not.
QWidget* QtPlatform::newControl(const ControlSpec& spec, QWidget* parent, Control& made) {
    const QString text = QString::fromStdString(spec.text);
    const auto changed = [this, window = spec.window, id = spec.id](int value) {
        Event event = eventOf(EventKind::ControlChanged, window, id);
        event.value = value;
        push(event);
    };
    switch (spec.kind) {
    case ControlKind::Canvas: {
        const int inset = spec.border ? canvasBorder : 0;
        if (spec.rect.w <= 2 * inset || spec.rect.h <= 2 * inset) return nullptr;
        auto* frame = new QFrame(parent);
        // A WinPanel is two pixels wide, whatever the style.
        if (spec.border) frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        const QSize area(spec.rect.w - 2 * inset, spec.rect.h - 2 * inset);
        made.canvas = new CanvasWidget(queue_, spec.window, spec.id, area, spec.keyboard, frame);
        made.canvas->setObjectName(QString::fromStdString(spec.name));
        made.canvas->setAccessibleName(QString::fromStdString(spec.text));
        made.canvas->move(inset, inset);
        frame->setFocusProxy(made.canvas);
        return frame;
    }
    case ControlKind::Slider: {
        QSlider* slider = newSlider(spec, parent);
        // Every move: dragged, by the keyboard, by a click beside the handle, by the wheel.
        QObject::connect(slider, &QSlider::valueChanged, slider, changed);
        return slider;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, parent);
        QObject::connect(box, &QCheckBox::toggled, box, changed);
        return box;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(text, parent);
        QObject::connect(button, &QPushButton::clicked, button, [changed] { changed(0); });
        return button;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment((spec.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        label->setText(text);
        return label;
    }
    case ControlKind::TextField: {
        if (spec.multiLine) {
            return newMultiLineField(spec, parent);
        }
        auto* edit = new QLineEdit(parent);
        if (spec.rightAligned) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    }
    case ControlKind::ScrollArea: return newScrollArea(queue_, spec, parent);
    }
    return nullptr;
}

void QtPlatform::setControlValue(int id, int value) {
    const Control* found = control(id);
    if (found == nullptr) return;
    const QSignalBlocker blocker(found->widget);
    if (auto* slider = qobject_cast<QSlider*>(found->widget)) slider->setValue(value);
    if (auto* box = qobject_cast<QCheckBox*>(found->widget)) box->setChecked(value != 0);
}

void QtPlatform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    const Control* found = control(id);
    if (auto* area = qobject_cast<QScrollArea*>(found ? found->widget : nullptr))
        area->widget()->setFixedSize(std::max(innerWidth, 0), std::max(innerHeight, 0));
}

void QtPlatform::scrollBy(int id, int dx, int dy) {
    const Control* found = control(id);
    if (auto* area = qobject_cast<QScrollArea*>(found ? found->widget : nullptr)) {
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() + dx);
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() + dy);
    }
}

void QtPlatform::setControlText(int id, const std::string& text) {
    const Control* found = control(id);
    if (found == nullptr) return;
    const QString qtext = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(found->widget)) edit->setPlainText(qtext);
    if (auto* label = qobject_cast<QLabel*>(found->widget)) label->setText(qtext);
    if (auto* button = qobject_cast<QAbstractButton*>(found->widget)) button->setText(qtext);
    if (auto* line = qobject_cast<QLineEdit*>(found->widget)) line->setText(qtext);
}

void QtPlatform::setToolTip(int id, const std::string& text) {
    if (const Control* found = control(id)) found->widget->setToolTip(QString::fromStdString(text));
}

void QtPlatform::setFocus(int id) {
    if (const Control* found = control(id)) found->widget->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::acceptFileDrops(int id) {
    const Control* found = control(id);
    if (found == nullptr) return;
    new FileDropFilter(queue_, id, found->widget);
    // Drops land on the drawing area rather than on the frame around it.
    if (found->canvas != nullptr) new FileDropFilter(queue_, id, found->canvas);
}

} // namespace tessaly
