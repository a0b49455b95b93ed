#include "desktop.h"

#include "form.h"
#include "native_window.h"
#include "program.h"
#include "screen_reader.h"
#include "style.h"
#include "window_view.h"

#include <QApplication>

namespace tk {

namespace {

const WindowView *viewOf(const Form &form)
{
    return dynamic_cast<const WindowView *>(form.view());
}

} // namespace

Desktop::Desktop(Program &program, TitleBars titleBars)
    : destroyedWindows_(std::make_unique<DestroyedWindowWatch>())
{
    applyStandardLook();
    installScreenReaderSupport();
    // The program ends with its last form, not with its last window shown.
    QApplication::setQuitOnLastWindowClosed(false);
    keepFocusMovesFromActivating();
    program.setViewMaker([titleBars](Form &form) { return std::make_unique<WindowView>(form, titleBars); });
}

Desktop::~Desktop() = default;

QWidget *windowOf(const Form &form)
{
    const WindowView *view = viewOf(form);
    return view ? view->window() : nullptr;
}

QWidget *widgetOf(const Control &control)
{
    const WindowView *view = viewOf(control.form());
    return view ? view->widget(control.index()) : nullptr;
}

} // namespace tk
