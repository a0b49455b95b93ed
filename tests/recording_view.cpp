#include "recording_view.h"

RecordingView::RecordingView(tk::Form &form) : form_(form)
{
    for (const tk::ControlLayout &row : form.layout().controls)
        tops_.push_back(float(row.box.top));
    ++count_;
}

RecordingView::~RecordingView()
{
    --count_;
}

RecordingView &RecordingView::of(const tk::Form &form)
{
    auto *view = dynamic_cast<RecordingView *>(form.view());
    if (!view)
        qFatal("%s has no recording view", form.layout().name);
    return *view;
}

float RecordingView::top(std::string_view name) const
{
    return tops_[form_.control(name).index()];
}

void RecordingView::controlChanged(const tk::Control &control)
{
    if (const auto *box = dynamic_cast<const tk::BoxControl *>(&control))
        tops_[control.index()] = box->top();
}

void RecordingView::closeWindow()
{
    if (form_.loaded())
        form_.unload();
}

RecordingSession::RecordingSession(const QDateTime &start) : Session(start)
{
    program().setViewMaker([](tk::Form &form) { return std::make_unique<RecordingView>(form); });
}
