#include "form1.h"

#include "main_window_layout.h"

Form1::Form1(tk::Program &program)
    : tk::Form(program, mainWindowLayout), control_(*this, program), tariff_(*this), counters_(*this)
{
}

void Form1::Form_Load()
{
    control_.Form_Load();
}
