#pragma once

#include <toolkit.h>

// Counts the call's elapsed time in Label3 (hours), Label2 (minutes) and Label1 (seconds) and repeats the
// time and the price (Label4) in the window's title, which stays in view while the window is minimized.
class CallCounters
{
public:
    explicit CallCounters(tk::Form &form);

    void Timer1_Timer();
    void Timer3_Timer();

private:
    tk::Form &form_;
    tk::Label &Label1;
    tk::Label &Label2;
    tk::Label &Label3;
    tk::Label &Label4;
};
