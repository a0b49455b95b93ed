#include "call_control.h"

#include "tariff_clock.h"

#include <form2.h>
#include <form3.h>

CallControl::CallControl(tk::Form &form, tk::Program &program)
    : form_(form), program_(program), Label4(form.label("Label4")), Label10(form.label("Label10")),
      Label11(form.label("Label11")), Check1(form.checkBox("Check1")), Check2(form.checkBox("Check2")),
      Timer1(form.timer("Timer1")), Timer2(form.timer("Timer2")), Timer3(form.timer("Timer3")),
      Timer4(form.timer("Timer4"))
{
    form.commandButton("Command1").onClick([this] { Command1_Click(); });
    form.menuItem("mnustart").onClick([this] { mnustart_Click(); });
    form.commandButton("Command3").onClick([this] { Command3_Click(); });
    form.menuItem("mnustop").onClick([this] { mnustop_Click(); });
    form.menuItem("mnuabout").onClick([this] { mnuabout_Click(); });
}

void CallControl::Form_Load()
{
    const tk::LocalMoment today = form_.now();
    Label10.setCaption(tk::dateText(today, u"d.m.yyyy"));
    Label11.setCaption(tk::dateText(today, u"dddd"));
}

void CallControl::Command1_Click()
{
    startCommand();
}

void CallControl::mnustart_Click()
{
    startCommand();
}

void CallControl::Command3_Click()
{
    stopCommand();
}

void CallControl::mnustop_Click()
{
    stopCommand();
}

void CallControl::mnuabout_Click()
{
    program_.show<Form3>();
}

// The first unit is charged at connection. A repeated Start keeps a price that is already higher: the
// price of a call never goes down.
void CallControl::startCommand()
{
    if (tk::numberValue(Label4.caption()) < unitPrice)
        Label4.setCaption(tk::numberText(unitPrice));
    Timer1.setEnabled(true);
    Timer2.setEnabled(true);
    if (Check1.value() == 1)
        form_.minimize();
    Check1.setEnabled(false);
}

void CallControl::stopCommand()
{
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    Timer3.setEnabled(false);
    Timer4.setEnabled(false);
    if (Check2.value() == 1)
        showBill();
    else
        program_.end();
}

// The bill dates itself as it loads; the price goes in as the main window shows it, as text.
void CallControl::showBill()
{
    const QString price = Label4.caption();
    Form2 &bill = program_.show<Form2>();
    bill.label("Label16").setCaption(price);
    bill.label("Label19").setCaption(price);
    form_.unload();
}
