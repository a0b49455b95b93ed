#pragma once

#include <toolkit.h>

// The price of one charge unit, charged when the call connects.
constexpr double unitPrice = 2.4;

// Decides the tariff period by the hour of the local clock, accrues the call's cost minute by minute at the
// period's rate, and runs the period's unit clock, which raises the price at the end of every unit interval.
// All of its state lives in captions: the hour (Label13, hidden), the period's name (Label14), the accrued
// amount (Label16, hidden) and the counts of the heavy and light unit clocks (Label20 and Label18, hidden).
class TariffClock
{
public:
    explicit TariffClock(tk::Form &form);

    void Timer4_Timer();
    void Timer2_Timer();
    void Timer8_Timer();
    void Timer6_Timer();
    void Timer7_Timer();

private:
    void countUnit(tk::Label &count, double boundary, double supplement);

    tk::Form &form_;
    tk::Label &Label1;
    tk::Label &Label4;
    tk::Label &Label13;
    tk::Label &Label14;
    tk::Label &Label16;
    tk::Label &Label18;
    tk::Label &Label20;
    tk::Timer &Timer6;
    tk::Timer &Timer7;
};
