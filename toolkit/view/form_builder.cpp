#include "form_builder.h"

#include "announcements.h"
#include "check_box.h"
#include "command_button.h"
#include "form.h"
#include "form_window.h"
#include "key_presses.h"
#include "line_widget.h"
#include "menu_item.h"
#include "pictures.h"
#include "screen_reader.h"
#include "shape_widget.h"
#include "style.h"
#include "units.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>
#include <map>
#include <string_view>

namespace tk {

namespace {

QRect pixelBox(const Box &box)
{
    return {pixels(box.left), pixels(box.top), pixels(box.width), pixels(box.height)};
}

Qt::Alignment alignment(Align align)
{
    switch (align) {
    case Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

Qt::WindowFlags windowFlags(const FormLayout &layout)
{
    Qt::WindowFlags flags =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    flags |= layout.frame == Frame::FixedDialog ? Qt::Dialog : Qt::Window;
    if (layout.minimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

// Labels and picture boxes fill their box with their ground; check boxes where their row names one.
bool opaque(const ControlLayout &row)
{
    return row.kind == Kind::Label || row.kind == Kind::PictureBox ||
           (row.kind == Kind::CheckBox && row.background);
}

// What lies behind a control's ink: its own ground where it fills its box, else that of its picture box or
// its window.
QColor behind(const FormLayout &layout, const ControlLayout &row)
{
    if (opaque(row))
        return ground(row.background);
    if (row.container) {
        const auto box =
            std::find_if(layout.controls.begin(), layout.controls.end(), [&](const ControlLayout &other) {
                return other.name == std::string_view(row.container);
            });
        return ground(box->background);
    }
    return ground(layout.background);
}

// Only these two: the widget takes every other colour from the application's palette, and follows it.
void setColours(QWidget &widget, const QColor &ground, const QColor &ink)
{
    QPalette palette;
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, ink);
    widget.setPalette(palette);
}

class Builder
{
public:
    Builder(Form &form, std::vector<QWidget *> &widgets)
        : form_(form), layout_(form.layout()), widgets_(widgets)
    {
    }

    FormWindow *build()
    {
        window_ = new FormWindow(windowFlags(layout_));
        window_->setObjectName(QString::fromLatin1(layout_.name));
        window_->setWindowTitle(QString::fromUtf8(layout_.caption));
        nameWindow(window_, QString::fromUtf8(layout_.accessibleName));
        if (layout_.icon)
            window_->setWindowIcon(picture(layout_.icon));
        window_->setFont(font(std::nullopt));

        client_ = new QWidget(window_);
        client_->setAutoFillBackground(true);
        window_->setClient(client_);

        for (const ControlLayout &row : layout_.controls) {
            widgets_.push_back(create(row));
            if (row.kind == Kind::Line || row.kind == Kind::Shape || row.decorative)
                setDecorative(widgets_.back());
        }
        stack();
        linkLabels(layout_, widgets_);

        const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
        const QSize client(pixels(layout_.clientWidth), pixels(layout_.clientHeight));
        if (menuBar_)
            menuBar_->setGeometry(0, 0, client.width(), menuHeight);
        client_->setGeometry(0, menuHeight, client.width(), client.height());
        window_->setFixedSize(client.width(), menuHeight + client.height());
        chainTabOrder();
        colourForm(*window_, layout_, widgets_);
        return window_;
    }

private:
    QWidget *create(const ControlLayout &row)
    {
        switch (row.kind) {
        case Kind::Label:
            return caption(place(new QLabel, row), row);
        case Kind::Image:
            return place(image(row), row);
        case Kind::CommandButton:
            return addTabStop(place(button(row), row), row);
        case Kind::CheckBox:
            return checkBox(addTabStop(place(new QCheckBox, row), row), row);
        case Kind::Line:
            return line(row);
        case Kind::Shape:
            return place(new ShapeWidget(row.lineWidth, row.lineStyle), row);
        case Kind::PictureBox:
            return pictureBox(row);
        case Kind::Timer:
            return nullptr;
        case Kind::MenuItem:
            menuAction(row);
            return nullptr;
        }
        qFatal("unknown kind of control");
    }

    // Labels and pictures overlap in stored order, later rows above earlier ones; lines and outlines lie
    // above them, so a rule is never cut by a label's box; buttons, check boxes and picture boxes lie above
    // everything drawn.
    void stack()
    {
        for (const Kind layer :
             {Kind::Line, Kind::Shape, Kind::CommandButton, Kind::CheckBox, Kind::PictureBox}) {
            for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
                if (layout_.controls[i].kind == layer)
                    widgets_[i]->raise();
            }
        }
    }

    QWidget *container(const ControlLayout &row) const
    {
        if (!row.container)
            return client_;
        const auto found = containers_.find(row.container);
        if (found == containers_.end())
            qFatal("%s is placed in %s, which is not a picture box before it", row.name, row.container);
        return found->second;
    }

    template <class W> W *place(W *widget, const ControlLayout &row)
    {
        widget->setParent(container(row));
        widget->setObjectName(QString::fromLatin1(row.name));
        if (row.kind == Kind::Label)
            widget->setAccessibleDescription(QString::fromUtf8(row.description));
        else if (const QString name = accessibleName(layout_, row); !name.isEmpty())
            widget->setAccessibleName(name);
        widget->setAutoFillBackground(opaque(row));
        widget->setFont(font(row.font));
        widget->setGeometry(pixelBox(row.box));
        setReadingPlace(widget, widget->geometry());
        widget->setHidden(!row.visible);
        widget->setEnabled(row.enabled);
        if (auto *label = qobject_cast<QLabel *>(widget); label && row.kind == Kind::Label) {
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(alignment(row.align));
        }
        return widget;
    }

    // Records the widget's place in the tab order, which chainTabOrder() makes once every widget exists.
    template <class W> W *addTabStop(W *widget, const ControlLayout &row)
    {
        tabStops_.emplace_back(row.tabIndex, widget);
        return widget;
    }

    // Once the label is in its window: Qt settles how a screen reader sees a widget when it first reports a
    // change of it.
    static QLabel *caption(QLabel *label, const ControlLayout &row)
    {
        const QString caption = QString::fromUtf8(row.caption);
        label->setText(caption);
        fitFont(*label, caption);
        return label;
    }

    QPushButton *button(const ControlLayout &row) const
    {
        auto *button = new QPushButton(QString::fromUtf8(row.caption));
        button->setAutoDefault(false);
        CommandButton &control = form_.commandButton(row.name);
        QObject::connect(button, &QAbstractButton::clicked, button, [&control] { control.click(); });
        new KeyPresses(button, KeyPresses::Enter::Clicks);
        return button;
    }

    // The box and its control toggle together, whatever toggles the box.
    QCheckBox *checkBox(QCheckBox *box, const ControlLayout &row) const
    {
        box->setChecked(row.value == 1);
        CheckBox &control = form_.checkBox(row.name);
        QObject::connect(box, &QCheckBox::toggled, box, [&control](bool checked) {
            if (checked != (control.value() == 1))
                control.click();
        });
        new KeyPresses(box, KeyPresses::Enter::Passes);
        return box;
    }

    static QLabel *image(const ControlLayout &row)
    {
        auto *label = new QLabel;
        label->setPixmap(picture(row.picture).pixmap(pixelBox(row.box).size()));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }

    QWidget *line(const ControlLayout &row)
    {
        const QPoint from(pixels(row.line.x1), pixels(row.line.y1));
        const QPoint to(pixels(row.line.x2), pixels(row.line.y2));
        auto *widget = new LineWidget(container(row), from, to, row.lineWidth);
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        return widget;
    }

    // A sunken frame around an inner area that holds, and clips, the controls placed in it.
    QWidget *pictureBox(const ControlLayout &row)
    {
        auto *frame = place(new QFrame, row);
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        auto *inner = new QWidget(frame);
        inner->setObjectName(frame->objectName() + QLatin1String("Inside"));
        inner->setGeometry(frame->contentsRect());
        inner->setAutoFillBackground(true);
        containers_[row.name] = inner;
        return frame;
    }

    void menuAction(const ControlLayout &row)
    {
        if (!menuBar_) {
            menuBar_ = new QMenuBar(window_);
            menuBar_->setNativeMenuBar(false);
            returnFocusAfterCommands(menuBar_);
        }
        QAction *action = menuBar_->addAction(QString::fromUtf8(row.caption));
        action->setObjectName(QString::fromLatin1(row.name));
        action->setEnabled(row.enabled);
        action->setVisible(row.visible);
        MenuItem &item = form_.menuItem(row.name);
        QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
    }

    // Tab walks the controls that take the focus in their tab order, and the window opens with the focus on
    // the first of them: Qt's chain, a ring, would otherwise start wherever the last one moved to.
    void chainTabOrder()
    {
        std::stable_sort(tabStops_.begin(), tabStops_.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (std::size_t i = 1; i < tabStops_.size(); ++i)
            QWidget::setTabOrder(tabStops_[i - 1].second, tabStops_[i].second);
        if (!tabStops_.empty()) {
            tabStops_.front().second->setFocus();
            window_->setFirstTabStop(tabStops_.front().second);
        }
    }

    Form &form_;
    const FormLayout &layout_;
    std::vector<QWidget *> &widgets_;
    FormWindow *window_ = nullptr;
    QWidget *client_ = nullptr;
    QMenuBar *menuBar_ = nullptr;
    std::map<std::string_view, QWidget *> containers_;
    std::vector<std::pair<int, QWidget *>> tabStops_;
};

} // namespace

FormWindow *buildForm(Form &form, std::vector<QWidget *> &widgets)
{
    return Builder(form, widgets).build();
}

void colourForm(FormWindow &window, const FormLayout &layout, const std::vector<QWidget *> &widgets)
{
    QPalette palette;
    palette.setColor(QPalette::Window, ground(layout.background));
    window.client()->setPalette(palette);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        if (!widgets[i])
            continue;
        const ControlLayout &row = layout.controls[i];
        setColours(*widgets[i], ground(row.background), ink(row.foreground, behind(layout, row)));
    }
}

} // namespace tk
