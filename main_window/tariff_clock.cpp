#include "tariff_clock.h"

using namespace Qt::StringLiterals;

namespace {

struct Period {
    QString name;
    double unitMinutes;
};

const Period heavy{u"silný"_s, 3};
const Period light{u"slabý"_s, 6};

// Every day of the week alike: heavy traffic from 06:00 to 18:59, light traffic otherwise.
const Period &periodAt(int hour)
{
    return hour >= 6 && hour <= 18 ? heavy : light;
}

} // namespace

TariffClock::TariffClock(tk::Form &form)
    : form_(form), Label1(form.label("Label1")), Label4(form.label("Label4")), Label13(form.label("Label13")),
      Label14(form.label("Label14")), Label16(form.label("Label16")), Label18(form.label("Label18")),
      Label20(form.label("Label20")), Timer6(form.timer("Timer6")), Timer7(form.timer("Timer7"))
{
    form.timer("Timer4").onTimer([this] { Timer4_Timer(); });
    form.timer("Timer2").onTimer([this] { Timer2_Timer(); });
    form.timer("Timer8").onTimer([this] { Timer8_Timer(); });
    Timer6.onTimer([this] { Timer6_Timer(); });
    Timer7.onTimer([this] { Timer7_Timer(); });
}

void TariffClock::Timer4_Timer()
{
    Label13.setCaption(tk::dateText(form_.now(), u"h"));
}

void TariffClock::Timer2_Timer()
{
    const Period &period = periodAt(int(tk::numberValue(Label13.caption())));
    Label14.setCaption(period.name);
    if (tk::numberValue(Label1.caption()) == 1)
        Label16.setCaption(
            tk::numberText(tk::numberValue(Label16.caption()) + unitPrice / period.unitMinutes));
}

void TariffClock::Timer8_Timer()
{
    if (Label14.caption() == heavy.name) {
        Timer6.setEnabled(true);
        Timer7.setEnabled(false);
        Label18.setCaption(u"0"_s);
    }
    if (Label14.caption() == light.name) {
        Timer6.setEnabled(false);
        Timer7.setEnabled(true);
        Label20.setCaption(u"0"_s);
    }
}

void TariffClock::Timer6_Timer()
{
    countUnit(Label20, 180, 1.6);
}

void TariffClock::Timer7_Timer()
{
    countUnit(Label18, 360, 0.8);
}

// The boundary is tested on the count before it is incremented, so a unit lasts boundary + 1 ticks; at
// the boundary the price becomes the accrued amount plus the period's supplement.
void TariffClock::countUnit(tk::Label &count, double boundary, double supplement)
{
    const double old = tk::numberValue(count.caption());
    count.setCaption(tk::numberText(old + 1));
    if (old == boundary) {
        count.setCaption(u"0"_s);
        Label4.setCaption(tk::numberText(tk::numberValue(Label16.caption()) + supplement));
    }
}
