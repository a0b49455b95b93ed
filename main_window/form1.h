#pragma once

#include "call_control.h"
#include "call_counters.h"
#include "tariff_clock.h"

#include <toolkit.h>

// The main window, the program's startup window: the call meter. Its handlers come in three groups:
// CallControl (load, Start, Stop, About), TariffClock (period, accrual and unit clocks) and CallCounters
// (elapsed time and title). They pass their results to one another through the captions of labels.
class Form1 final : public tk::Form
{
public:
    explicit Form1(tk::Program &program);

    void Form_Load() override;

private:
    CallControl control_;
    TariffClock tariff_;
    CallCounters counters_;
};
