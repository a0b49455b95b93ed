#include "about_window_layout.h"

#include <array>

using namespace tk;

namespace {

constexpr Font title{"Verdana", 24, true};
constexpr Font credit{"MS Serif", 9.75};

constexpr Rgb navy = 0x000080;
constexpr Rgb darkRed = 0xC00000;
constexpr Rgb green = 0x00C000;

// A credit line: green on navy, centred, one line of text in the credits viewport.
constexpr ControlLayout creditLine(const char *name, Box box, const char *caption, int tabIndex)
{
    return {.kind = Kind::Label,
            .name = name,
            .box = box,
            .caption = caption,
            .font = credit,
            .foreground = green,
            .background = navy,
            .align = Align::Centre,
            .tabIndex = tabIndex,
            .container = "Picture1"};
}

// In stored order; the panels come before what they hold. The people, firms and addresses are made up.
const std::array controls{
    ControlLayout{.kind = Kind::PictureBox,
                  .name = "Picture2",
                  .box = {120, 120, 4215, 615},
                  .background = navy,
                  .tabIndex = 16},
    ControlLayout{.kind = Kind::Label,
                  .name = "Label1",
                  .box = {600, 0, 3015, 615},
                  .caption = "ZELVOR",
                  .font = title,
                  .foreground = darkRed,
                  .background = navy,
                  .align = Align::Centre,
                  .tabIndex = 17,
                  .container = "Picture2"},
    ControlLayout{.kind = Kind::Timer, .name = "Timer1", .enabled = false, .interval = 100},
    ControlLayout{.kind = Kind::CommandButton,
                  .name = "Command2",
                  .box = {2280, 2520, 1095, 375},
                  .caption = "&Konec",
                  .tabIndex = 10},
    ControlLayout{.kind = Kind::CommandButton,
                  .name = "Command1",
                  .box = {960, 2520, 1215, 375},
                  .caption = "&Znovu",
                  .tabIndex = 9},
    ControlLayout{.kind = Kind::PictureBox,
                  .name = "Picture1",
                  .box = {120, 840, 4215, 1575},
                  .background = navy,
                  .tabIndex = 0},
    creditLine("Label14", {120, 6360, 3855, 255}, "PSČ 417 63", 15),
    creditLine("Label13", {120, 6120, 3855, 255}, "Dolní Kamenice", 14),
    creditLine("Label12", {120, 5880, 3855, 255}, "Na Vyhlídce 1432/8", 13),
    creditLine("Label11", {120, 5640, 3855, 255}, "DALKO distribuce a.s.", 12),
    creditLine("Label10", {120, 4800, 3855, 255}, "Distribuce", 11),
    ControlLayout{.kind = Kind::Image,
                  .name = "Image2",
                  .box = {1320, 5040, 1650, 525},
                  .container = "Picture1",
                  .picture = ":/about_window/pictures/emblem.png",
                  .accessibleName = "Znak DALKO"},
    creditLine("Label9", {480, 4320, 3135, 255}, "PSČ 591 07", 8),
    creditLine("Label8", {480, 4080, 3135, 255}, "Nové Zahrádky", 7),
    creditLine("Label7", {480, 3840, 3135, 255}, "Lipová 27", 6),
    creditLine("Label6", {480, 3600, 3135, 255}, "Kvadrant® Software s.r.o.", 5),
    creditLine("Label5", {240, 3000, 3615, 255}, "Radim Štěpánek", 4),
    creditLine("Label4", {240, 2760, 3615, 255}, "Marta Hrubešová", 3),
    creditLine("Label3", {240, 2520, 3615, 255}, "Napsal Ondřej Kalousek", 2),
    creditLine("Label2", {240, 2040, 3615, 255}, "Copyright © 1998 Ondřej Kalousek", 1),
};

} // namespace

const FormLayout aboutWindowLayout{
    .name = "Form3",
    .caption = "Něco o...",
    .clientWidth = 4455,
    .clientHeight = 2985,
    .frame = Frame::FixedDialog,
    .inTaskBar = false,
    .controls = controls,
};
