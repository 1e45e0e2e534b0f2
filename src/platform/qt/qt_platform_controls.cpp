#include "platform/qt/qt_platform.h"

#include "platform/qt/canvas_widget.h"
#include "platform/qt/file_drop_filter.h"
#include "platform/qt/program_window.h"
#include "platform/qt/scroll_area.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextOption>

#include <algorithm>

// The controls of the program's windows.

namespace tessaly {

// Gives a multi-line field its text once the repaints already asked for have been done:
// laying out and painting the text takes longer than the canvases' few changed pixels,
// which so reach the screen first. Only the last of several texts given meanwhile is set.
class LateText : public QObject {
  public:
    explicit LateText(QPlainTextEdit* edit) : QObject(edit), edit_(edit) {}

    void set(const QString& text) {
        text_ = text;
        if (posted_) return;
        posted_ = true;
        // Behind the window's repaint request, which has the same low priority.
        QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::LowEventPriority);
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        posted_ = false;
        const QSignalBlocker blocker(edit_);
        const QTextOption option = edit_->document()->defaultTextOption();
        edit_->setPlainText(text_);
        edit_->document()->setDefaultTextOption(option);
        return true;
    }

  private:
    QPlainTextEdit* edit_;
    QString text_;
    bool posted_ = false;
};

namespace {

// The width of a canvas's sunken border.
constexpr int canvasBorder = 2;

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

void alignRight(QPlainTextEdit* edit) {
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight);
    edit->document()->setDefaultTextOption(option);
}

} // namespace

const QtPlatform::Control* QtPlatform::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

const QtPlatform::Control* QtPlatform::control(int id, ControlKind kind) const {
    const Control* found = control(id);
    return found != nullptr && found->kind == kind ? found : nullptr;
}

QWidget* QtPlatform::controlWidget(int id) const {
    const Control* found = control(id);
    if (found == nullptr) return nullptr;
    return found->canvas != nullptr ? found->canvas : found->widget;
}

QWidget* QtPlatform::controlParent(int window, int id) const {
    const ProgramWindow* widget = this->window(window);
    if (widget == nullptr || controls_.count(id) != 0) return nullptr;
    return widget->controlArea();
}

void QtPlatform::addControl(int id, ControlKind kind, int window, QWidget* widget, Rect r) {
    widget->setGeometry(r.x, r.y, r.w, r.h);
    widget->show();
    controls_.emplace(id, Control{kind, window, widget});
}

bool QtPlatform::createCanvas(int window, int id, Rect r, bool border, bool keyboard) {
    QWidget* parent = controlParent(window, id);
    const int inset = border ? canvasBorder : 0;
    if (parent == nullptr || r.w <= 2 * inset || r.h <= 2 * inset) return false;
    auto* frame = new QFrame(parent);
    if (border) {
        // A WinPanel is two pixels wide, whatever the style.
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    }
    auto* canvas = new CanvasWidget(queue_, window, id, QSize(r.w - 2 * inset, r.h - 2 * inset),
                                    inset, keyboard, frame);
    canvas->move(inset, inset);
    frame->setFocusProxy(canvas);
    addControl(id, ControlKind::Canvas, window, frame, r);
    controls_.at(id).canvas = canvas;
    return true;
}

bool QtPlatform::createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(min, max);
    slider->setPageStep(std::max(1, (max - min) / 16));
    if (ticks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(std::max(1, (max - min) / 16));
    }
    QObject::connect(slider, &QSlider::valueChanged, slider,
                     [this, window, id] { queue_.push(controlEvent(window, id, EventType::Changed)); });
    addControl(id, ControlKind::TrackBar, window, slider, r);
    return true;
}

int QtPlatform::trackBarPosition(int id) {
    const Control* found = control(id, ControlKind::TrackBar);
    return found == nullptr ? 0 : static_cast<QSlider*>(found->widget)->value();
}

void QtPlatform::setTrackBarPosition(int id, int position) {
    const Control* found = control(id, ControlKind::TrackBar);
    if (found == nullptr) return;
    // Only the user's moves are events; the program knows about its own.
    const QSignalBlocker blocker(found->widget);
    static_cast<QSlider*>(found->widget)->setValue(position);
}

bool QtPlatform::createCheckBox(int window, int id, Rect r, const std::string& caption) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto* box = new QCheckBox(qtText(caption), parent);
    QObject::connect(box, &QCheckBox::toggled, box,
                     [this, window, id] { queue_.push(controlEvent(window, id, EventType::Changed)); });
    addControl(id, ControlKind::CheckBox, window, box, r);
    return true;
}

bool QtPlatform::isChecked(int id) {
    const Control* found = control(id, ControlKind::CheckBox);
    return found != nullptr && static_cast<QCheckBox*>(found->widget)->isChecked();
}

bool QtPlatform::createButton(int window, int id, Rect r, const std::string& caption) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto* button = new QPushButton(qtText(caption), parent);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, window, id] { queue_.push(controlEvent(window, id, EventType::Changed)); });
    addControl(id, ControlKind::Button, window, button, r);
    return true;
}

bool QtPlatform::createLabel(int window, int id, Rect r, const std::string& text, bool centred) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setText(qtText(text));
    addControl(id, ControlKind::Label, window, label, r);
    return true;
}

bool QtPlatform::createTextField(int window, int id, Rect r, bool multiLine, bool rightAligned) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    QWidget* field = nullptr;
    LateText* lateText = nullptr;
    if (multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        // A compact field like a native multi-line edit: no scroll bars, lines wrapped
        // wherever needed (the eight values of a glyph have no spaces) in a small font, so
        // the longest text, eight times 255, fits in two lines.
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->document()->setDocumentMargin(2);
        QFont font = edit->font();
        font.setPixelSize(11);
        edit->setFont(font);
        if (rightAligned) alignRight(edit);
        lateText = new LateText(edit);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [this, window, id] { queue_.push(controlEvent(window, id, EventType::Changed)); });
        field = edit;
    } else {
        auto* edit = new QLineEdit(parent);
        if (rightAligned) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [this, window, id] { queue_.push(controlEvent(window, id, EventType::Changed)); });
        field = edit;
    }
    addControl(id, ControlKind::TextField, window, field, r);
    controls_.at(id).lateText = lateText;
    return true;
}

bool QtPlatform::createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                                  int step) {
    QWidget* parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto* area = new ScrollArea(parent);
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    area->setWidgetResizable(false);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->horizontalScrollBar()->setSingleStep(step);
    area->verticalScrollBar()->setSingleStep(step);
    auto* inner = new QWidget;
    inner->setFixedSize(std::max(innerWidth, 0), std::max(innerHeight, 0));
    area->setWidget(inner);
    addControl(id, ControlKind::ScrollArea, window, area, r);
    controls_.at(id).inner = inner;
    this->window(window)->setControlArea(inner);
    return true;
}

void QtPlatform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    const Control* found = control(id, ControlKind::ScrollArea);
    if (found == nullptr) return;
    found->inner->setFixedSize(std::max(innerWidth, 0), std::max(innerHeight, 0));
}

void QtPlatform::setControlText(int id, const std::string& text) {
    const Control* found = control(id);
    if (found == nullptr) return;
    const QString qtext = qtText(text);
    // Only the user's edits are events.
    const QSignalBlocker blocker(found->widget);
    switch (found->kind) {
    case ControlKind::Label:
        static_cast<QLabel*>(found->widget)->setText(qtext);
        break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
        static_cast<QAbstractButton*>(found->widget)->setText(qtext);
        break;
    case ControlKind::TextField:
        if (found->lateText != nullptr) {
            found->lateText->set(qtext);
        } else if (auto* line = qobject_cast<QLineEdit*>(found->widget)) {
            line->setText(qtext);
        }
        break;
    default:
        break;
    }
}

void QtPlatform::setToolTip(int id, const std::string& text) {
    if (const Control* found = control(id)) found->widget->setToolTip(qtText(text));
}

void QtPlatform::setFocus(int id) {
    if (const Control* found = control(id)) found->widget->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::acceptFileDrops(int id) {
    const Control* found = control(id);
    if (found == nullptr) return;
    new FileDropFilter(queue_, found->window, id, found->widget);
    // Drops land on the drawing area rather than on the frame around it.
    if (found->canvas != nullptr) new FileDropFilter(queue_, found->window, id, found->canvas);
}

} // namespace tessaly
