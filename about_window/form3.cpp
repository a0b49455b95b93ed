#include "form3.h"

#include "about_window_layout.h"

#include <string_view>

namespace {

// The credit items in the order the handlers visit them: the lines from the top down, then the emblem.
constexpr std::array<std::string_view, 14> creditNames{
    "Label2", "Label3",  "Label4",  "Label5",  "Label6",  "Label7",  "Label8",
    "Label9", "Label10", "Label11", "Label12", "Label13", "Label14", "Image2",
};

constexpr float scrollStep = 25;

} // namespace

Form3::Form3(tk::FormHost &host) : tk::Form(host, aboutWindowLayout), Timer1(timer("Timer1"))
{
    for (std::size_t i = 0; i < creditNames.size(); ++i) {
        tk::BoxControl &item = boxControl(creditNames[i]);
        credits_[i] = {&item, item.top()};
    }
    Timer1.onTimer([this] { Timer1_Timer(); });
    commandButton("Command1").onClick([this] { Command1_Click(); });
    commandButton("Command2").onClick([this] { Command2_Click(); });
}

void Form3::Form_Load()
{
    Timer1.setEnabled(true);
}

// No end and no wrap-around: the credits go on rising out of sight until "Znovu". Far enough up, a step
// is lost in the rounding of the position and the credits stop there, still out of sight.
void Form3::Timer1_Timer()
{
    for (const Credit &credit : credits_)
        credit.item->setTop(credit.item->top() - scrollStep);
}

// The timer keeps its rhythm: the next tick moves the credits on from their start.
void Form3::Command1_Click()
{
    for (const Credit &credit : credits_)
        credit.item->setTop(credit.start);
}

void Form3::Command2_Click()
{
    unload();
}
