#pragma once

#include <toolkit.h>

// The main window's load and its commands: Start and Stop from the buttons and the menu alike, and About.
// A call runs between Start and Stop; Stop ends the main window's life, either by showing the bill in its
// place (Check2, "Po stopnutí zobrazit vyúčtování :", checked) or by ending the program.
class CallControl
{
public:
    CallControl(tk::Form &form, tk::Program &program);

    void Form_Load();
    void Command1_Click();
    void mnustart_Click();
    void Command3_Click();
    void mnustop_Click();
    void mnuabout_Click();

private:
    void startCommand();
    void stopCommand();
    void showBill();

    tk::Form &form_;
    tk::Program &program_;
    tk::Label &Label4;
    tk::Label &Label10;
    tk::Label &Label11;
    tk::CheckBox &Check1;
    tk::CheckBox &Check2;
    tk::Timer &Timer1;
    tk::Timer &Timer2;
    tk::Timer &Timer3;
    tk::Timer &Timer4;
};
