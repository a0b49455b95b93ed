#include "form_builder.h"

#include "accessibility.h"
#include "check_box.h"
#include "command_button.h"
#include "form.h"
#include "form_window.h"
#include "image.h"
#include "label.h"
#include "line_widget.h"
#include "menu_item.h"
#include "program.h"
#include "shape_widget.h"
#include "style.h"
#include "timer.h"
#include "units.h"

#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QImageReader>
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

// Pictures are PNG files: named as such, Qt reads them at once instead of first loading every image plugin
// to ask whether it knows the file.
QImage readPng(const QString &file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A picture from its resource path, with its double-size rendition where one lies beside it. Qt 6.4 takes
// a file named @2x for the same size at twice the scale: then it blurs the 1x rendition up at 150 % and
// never hands the window manager a large icon. As a picture of twice the pixels, it serves every scale.
QIcon readPicture(const QString &file)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(readPng(file)));
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    QImage doubled = readPng(file.left(dot) + QLatin1String("@2x") + file.mid(dot));
    if (!doubled.isNull()) {
        doubled.setDevicePixelRatio(1);
        icon.addPixmap(QPixmap::fromImage(doubled));
    }
    return icon;
}

// Each picture is read once and kept while Qt runs. Qt keeps every size that it draws of an icon in its
// pixmap cache, by the icon: a picture read afresh for each window opened would fill that cache, up to its
// 10 MB, with copies of the same sizes.
QIcon picture(const char *path)
{
    static std::map<QString, QIcon> *read = nullptr;
    if (!read) {
        read = new std::map<QString, QIcon>;
        qAddPostRoutine([] {
            delete read;
            read = nullptr;
        });
    }
    const QString file = QString::fromUtf8(path);
    const auto found = read->find(file);
    return found != read->end() ? found->second : read->emplace(file, readPicture(file)).first->second;
}

// What a screen reader says for a label's caption that names another control: without the colon that ends
// it on the screen.
QString spokenName(const QString &caption)
{
    QString spoken = caption.trimmed();
    if (spoken.endsWith(QLatin1Char(':')))
        spoken.chop(1);
    return spoken.trimmed();
}

// Colours and font of a control: what its row names, else the toolkit's standard ones.
void applyLook(QWidget *widget, const ControlLayout &row, bool opaque)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, row.background ? colour(*row.background) : standardFace());
    palette.setColor(QPalette::WindowText, row.foreground ? colour(*row.foreground) : standardText());
    widget->setPalette(palette);
    widget->setAutoFillBackground(opaque);
    widget->setFont(font(row.font));
}

class Builder
{
public:
    Builder(Form &form, const FormLayout &layout, std::vector<std::unique_ptr<Control>> &controls)
        : form_(form), layout_(layout), controls_(controls)
    {
    }

    QWidget *build()
    {
        window_ = new FormWindow(form_, windowFlags(layout_));
        window_->setObjectName(QString::fromLatin1(layout_.name));
        window_->setWindowTitle(QString::fromUtf8(layout_.caption));
        nameWindow(window_, QString::fromUtf8(layout_.accessibleName));
        if (layout_.icon)
            window_->setWindowIcon(picture(layout_.icon));
        window_->setFont(font(std::nullopt));

        client_ = new QWidget(window_);
        QPalette palette = client_->palette();
        palette.setColor(QPalette::Window, layout_.background ? colour(*layout_.background) : standardFace());
        client_->setPalette(palette);
        client_->setAutoFillBackground(true);

        for (const ControlLayout &row : layout_.controls) {
            controls_.push_back(create(row));
            if (row.kind == Kind::Line || row.kind == Kind::Shape || row.decorative)
                setDecorative(controls_.back()->widget());
        }
        stack();
        linkLabels();

        const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
        const QSize client(pixels(layout_.clientWidth), pixels(layout_.clientHeight));
        if (menuBar_)
            menuBar_->setGeometry(0, 0, client.width(), menuHeight);
        client_->setGeometry(0, menuHeight, client.width(), client.height());
        window_->setFixedSize(client.width(), menuHeight + client.height());
        chainTabOrder();
        return window_;
    }

private:
    std::unique_ptr<Control> create(const ControlLayout &row)
    {
        switch (row.kind) {
        case Kind::Label:
            return std::make_unique<Label>(form_, row, place(new QLabel, row, true));
        case Kind::Image:
            return std::make_unique<Image>(form_, row, place(image(row), row, false));
        case Kind::CommandButton:
            return std::make_unique<CommandButton>(form_, row,
                                                   focusable(place(button(row), row, false), row));
        case Kind::CheckBox:
            return std::make_unique<CheckBox>(
                form_, row, focusable(place(new QCheckBox, row, bool(row.background)), row));
        case Kind::Line:
            return std::make_unique<Control>(form_, row, line(row));
        case Kind::Shape:
            return std::make_unique<Control>(
                form_, row, place(new ShapeWidget(row.lineWidth, row.lineStyle), row, false));
        case Kind::PictureBox:
            return std::make_unique<Control>(form_, row, pictureBox(row));
        case Kind::Timer:
            return std::make_unique<Timer>(form_, row, form_.program().scheduler());
        case Kind::MenuItem:
            return std::make_unique<MenuItem>(form_, row, menuAction(row));
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
                    controls_[i]->widget()->raise();
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

    template <class W> W *place(W *widget, const ControlLayout &row, bool opaque)
    {
        widget->setParent(container(row));
        widget->setObjectName(QString::fromLatin1(row.name));
        if (row.kind == Kind::Label)
            widget->setAccessibleDescription(QString::fromUtf8(row.description));
        else if (const QString name = accessibleName(row); !name.isEmpty())
            widget->setAccessibleName(name);
        applyLook(widget, row, opaque);
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

    template <class W> W *focusable(W *widget, const ControlLayout &row)
    {
        tabStops_.emplace_back(row.tabIndex, widget);
        return widget;
    }

    static QPushButton *button(const ControlLayout &row)
    {
        auto *button = new QPushButton(QString::fromUtf8(row.caption));
        button->setAutoDefault(false);
        return button;
    }

    static QLabel *image(const ControlLayout &row)
    {
        auto *label = new QLabel;
        label->setPixmap(picture(row.picture).pixmap(pixelBox(row.box).size()));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }

    const ControlLayout &labellingRow(const ControlLayout &row) const
    {
        const auto found =
            std::find_if(layout_.controls.begin(), layout_.controls.end(), [&](const ControlLayout &other) {
                return other.name == std::string_view(row.labelledBy);
            });
        if (found == layout_.controls.end() || found->kind != Kind::Label)
            qFatal("%s is labelled by %s, which is not a label of its window", row.name, row.labelledBy);
        return *found;
    }

    // Set before the widget shows any text: Qt settles how a screen reader sees a widget when it first
    // reports a change of it.
    QString accessibleName(const ControlLayout &row) const
    {
        if (row.accessibleName)
            return QString::fromUtf8(row.accessibleName);
        if (row.labelledBy)
            return spokenName(QString::fromUtf8(labellingRow(row).caption));
        return {};
    }

    // Runs once every control exists, as a label may come before or after the control it labels.
    void linkLabels()
    {
        for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
            const ControlLayout &row = layout_.controls[i];
            if (!row.labelledBy)
                continue;
            const auto at = std::size_t(&labellingRow(row) - layout_.controls.data());
            setLabelledBy(controls_[i]->widget(), static_cast<QLabel *>(controls_[at]->widget()));
        }
    }

    QWidget *line(const ControlLayout &row)
    {
        const QPoint from(pixels(row.line.x1), pixels(row.line.y1));
        const QPoint to(pixels(row.line.x2), pixels(row.line.y2));
        auto *widget = new LineWidget(container(row), from, to, row.lineWidth);
        widget->setObjectName(QString::fromLatin1(row.name));
        applyLook(widget, row, false);
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        return widget;
    }

    // A sunken frame around an inner area that holds, and clips, the controls placed in it.
    QWidget *pictureBox(const ControlLayout &row)
    {
        auto *frame = place(new QFrame, row, true);
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        auto *inner = new QWidget(frame);
        inner->setObjectName(frame->objectName() + QLatin1String("Inside"));
        inner->setGeometry(frame->contentsRect());
        inner->setPalette(frame->palette());
        inner->setAutoFillBackground(true);
        containers_[row.name] = inner;
        return frame;
    }

    QAction *menuAction(const ControlLayout &row)
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
        return action;
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
    std::vector<std::unique_ptr<Control>> &controls_;
    FormWindow *window_ = nullptr;
    QWidget *client_ = nullptr;
    QMenuBar *menuBar_ = nullptr;
    std::map<std::string_view, QWidget *> containers_;
    std::vector<std::pair<int, QWidget *>> tabStops_;
};

} // namespace

QWidget *buildForm(Form &form, const FormLayout &layout, std::vector<std::unique_ptr<Control>> &controls)
{
    return Builder(form, layout, controls).build();
}

} // namespace tk
