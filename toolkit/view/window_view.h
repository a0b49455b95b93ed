#pragma once

#include "form_view.h"
#include "title_bars.h"

#include <QMargins>

#include <vector>

class QWidget;

namespace tk {

class Form;
class FormWindow;

// A form on the screen: its window and a widget for each control that shows, made from its layout, kept up
// to date with the form's properties as the form tells of changes, and handing the user's input to the
// controls.
class WindowView final : public FormView
{
public:
    WindowView(Form &form, TitleBars titleBars);
    ~WindowView() override;
    WindowView(const WindowView &) = delete;
    WindowView &operator=(const WindowView &) = delete;

    QWidget *window() const;
    // The widget of the control of the layout's `index`th row; none for timers and menu items.
    QWidget *widget(std::size_t index) const { return widgets_[index]; }

    void captionChanged() override;
    void controlChanged(const Control &control) override;
    void enabledChanged(const CheckBox &box) override;
    void show() override;
    void minimize() override;
    bool minimized() const override;
    void close() override;

private:
    void place(QMargins frameExtents);
    // The window system minimized or restored the window.
    void windowStateChanged();
    // The window was closed through its frame, or destroyed by another client of the window system.
    void windowClosed();

    Form &form_;
    const TitleBars titleBars_;
    std::vector<QWidget *> widgets_;
    FormWindow *window_;
    bool shown_ = false;
};

} // namespace tk
