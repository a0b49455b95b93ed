#pragma once

#include <toolkit.h>

#include <array>

// The about window: the product title over rolling credits. The credits are fourteen controls in a
// clipping viewport that a 100 ms timer moves up, 25 twips a tick, for as long as the window is open;
// their positions are all the state the window has.
class Form3 final : public tk::Form
{
public:
    explicit Form3(tk::FormHost &host);

    void Form_Load() override;
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();

private:
    struct Credit {
        tk::BoxControl *item;
        float start; // where the layout puts it
    };

    tk::Timer &Timer1;
    std::array<Credit, 14> credits_;
};
