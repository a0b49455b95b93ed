#include "form2.h"

#include "bill_window_layout.h"

using namespace Qt::StringLiterals;

Form2::Form2(tk::Program &program)
    : tk::Form(program, billWindowLayout), program_(program), Label12(label("Label12")),
      Label13(label("Label13")), Label21(label("Label21"))
{
    commandButton("Command1").onClick([this] { Command1_Click(); });
}

// The bill is dated by the day it is shown, not by the day the call began.
void Form2::Form_Load()
{
    const tk::LocalMoment today = now();
    const QString month = tk::dateText(today, u"mm");
    const QString year = tk::dateText(today, u"yyyy");
    const QString issued = tk::dateText(today, u"dd.mm.yyyy");
    Label13.setCaption(issued);
    Label21.setCaption(issued);
    Label12.setCaption(month + u'/' + year);
}

void Form2::Command1_Click()
{
    program_.end();
}
