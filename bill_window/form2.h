#pragma once

#include <toolkit.h>

// The bill shown in place of the main window after a call: a mock of the operator's printed bill. It is
// dated when it loads; the main window's Stop command then writes the call's price text into its two
// amounts, Label16 (the calls line) and Label19 (the total). Its only button ends the program.
class Form2 final : public tk::Form
{
public:
    explicit Form2(tk::Program &program);

    void Form_Load() override;
    void Command1_Click();

private:
    tk::Program &program_;
    tk::Label &Label12;
    tk::Label &Label13;
    tk::Label &Label21;
};
