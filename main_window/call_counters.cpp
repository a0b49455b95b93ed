#include "call_counters.h"

#include <QStringBuilder>

using namespace Qt::StringLiterals;

CallCounters::CallCounters(tk::Form &form)
    : form_(form), Label1(form.label("Label1")), Label2(form.label("Label2")), Label3(form.label("Label3")),
      Label4(form.label("Label4"))
{
    form.timer("Timer1").onTimer([this] { Timer1_Timer(); });
    form.timer("Timer3").onTimer([this] { Timer3_Timer(); });
}

// The hours count on past 24: a call of a day or more shows its true length.
void CallCounters::Timer1_Timer()
{
    const double seconds = tk::numberValue(Label1.caption()) + 1;
    Label1.setCaption(tk::numberText(seconds));
    if (seconds != 60)
        return;
    Label1.setCaption(u"0"_s);
    const double minutes = tk::numberValue(Label2.caption()) + 1;
    Label2.setCaption(tk::numberText(minutes));
    if (minutes != 60)
        return;
    Label2.setCaption(u"0"_s);
    Label3.setCaption(tk::numberText(tk::numberValue(Label3.caption()) + 1));
}

void CallCounters::Timer3_Timer()
{
    form_.setCaption(Label3.caption() % u':' % Label2.caption() % u':' % Label1.caption() % u" = "_s %
                     Label4.caption() % u" Kč"_s);
}
