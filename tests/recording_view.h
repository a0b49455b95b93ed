#pragma once

#include "session.h"

#include <QString>

#include <string_view>
#include <vector>

// A form's view that shows nothing and records what it is told, as a window would show it: the title and
// the boxes' positions as last brought up to date, whether it is shown and whether minimized. It also plays
// the user who closes the window through its frame.
class RecordingView final : public tk::FormView
{
public:
    explicit RecordingView(tk::Form &form);
    ~RecordingView() override;
    RecordingView(const RecordingView &) = delete;
    RecordingView &operator=(const RecordingView &) = delete;

    // The view of a form of a RecordingSession.
    static RecordingView &of(const tk::Form &form);
    // How many views there are: each goes with its form.
    static int count() { return count_; }

    const QString &title() const { return title_; }
    // Where the named box stands, in twips, as the view was last told: where its layout puts it until then.
    float top(std::string_view name) const;
    bool shown() const { return shown_; }

    // The user closes the window through its frame: the form unloads without running any handler.
    void closeWindow();

    void captionChanged() override { title_ = form_.caption(); }
    void controlChanged(const tk::Control &control) override;
    // The box holds its enabled state itself; a window shows it at once, and so there is nothing to record.
    void enabledChanged(const tk::CheckBox &) override {}
    void show() override { shown_ = true; }
    void minimize() override { minimized_ = true; }
    bool minimized() const override { return minimized_; }
    void close() override { shown_ = false; }

private:
    static inline int count_ = 0;
    tk::Form &form_;
    QString title_;
    std::vector<float> tops_;
    bool shown_ = false;
    bool minimized_ = false;
};

// A session whose forms have recording views.
class RecordingSession : public Session
{
public:
    explicit RecordingSession(const QDateTime &start);
};
