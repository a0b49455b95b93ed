#pragma once

#include "session.h"

#include <desktop.h>

// A session whose forms show as windows, as the program's do, with title bars of their own where asked; the
// user's clicks reach them through their widgets.
class WindowSession : public Session
{
public:
    explicit WindowSession(const QDateTime &start, tk::TitleBars titleBars = tk::TitleBars::WhereNeeded)
        : Session(start), desktop_(program(), titleBars)
    {
    }

    // A mouse click on the named button or check box, or the choice of the named menu item.
    static void click(tk::Form &form, const char *name);
    // The widgets that exist once every deferred deletion has run.
    static qsizetype widgets();

private:
    tk::Desktop desktop_;
};
