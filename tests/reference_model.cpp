#include "reference_model.h"

#include <algorithm>
#include <cstring>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

// The tariff: heavy traffic from 06:00 to 18:59 local time, light traffic otherwise, every day alike. A
// unit lasts its interval plus one second, because the unit clock tests its count before counting.
struct Tariff {
    const char *name;
    int perMinute;  // accrued at call second 1 of every minute
    int unitTicks;  // ticks of the unit clock from its start, or its last boundary, to its next boundary
    int supplement; // the price at a boundary is everything accrued plus this
};
constexpr Tariff heavy{"silný", 8, 3 * 60 + 1, 16};
constexpr Tariff light{"slabý", 4, 6 * 60 + 1, 8};
constexpr int unitPrice = 24; // charged at Start

const Tariff &tariff(ReferenceModel::Period period)
{
    return period == ReferenceModel::Period::Heavy ? heavy : light;
}

ReferenceModel::Period periodAt(int hour)
{
    return hour >= 6 && hour <= 18 ? ReferenceModel::Period::Heavy : ReferenceModel::Period::Light;
}

constexpr std::array<double, 14> creditStarts{2040, 2520, 2760, 3000, 3600, 3840, 4080,
                                              4320, 4800, 5640, 5880, 6120, 6360, 5040};

} // namespace

ReferenceModel::ReferenceModel(std::int64_t loadEpochMs, QChar decimalSeparator)
    : loadEpochMs_(loadEpochMs), separator_(decimalSeparator)
{
}

void ReferenceModel::start()
{
    if (!mainOpen)
        return;
    price = std::max(price, unitPrice);
    if (!callStart)
        callStart = now;
    minimized = minimized || check1;
    check1Enabled = false;
}

void ReferenceModel::stop()
{
    if (!mainOpen)
        return;
    if (check2) {
        billOpen = true;
        billAmount = priceText();
        billShownAt = now;
        mainOpen = false;
    } else {
        end();
    }
}

void ReferenceModel::toggleCheck1()
{
    if (mainOpen && check1Enabled)
        check1 = !check1;
}

void ReferenceModel::toggleCheck2()
{
    if (mainOpen)
        check2 = !check2;
}

void ReferenceModel::about()
{
    if (!mainOpen || aboutOpen)
        return;
    aboutOpen = true;
    aboutLoaded_ = aboutRestarted_ = now;
}

void ReferenceModel::aboutRestart()
{
    if (aboutOpen)
        aboutRestarted_ = now;
}

// The main window's own timers tick on the whole seconds since it loaded, the call's timers on the whole
// seconds since the first Start.
void ReferenceModel::advanceTo(Ms moment)
{
    while (mainOpen) {
        Ms next = (done_ / 1000 + 1) * 1000;
        if (callStart)
            next = std::min(next, *callStart + ((done_ - *callStart) / 1000 + 1) * 1000);
        if (next > moment)
            break;
        tick(next);
        done_ = next;
    }
    done_ = now = moment;
}

// Within one moment: the window's timers in the order they were enabled at load (the unit clock chooser,
// the hour, the title), then the call's (elapsed time, period and accrual), then the unit clock.
void ReferenceModel::tick(Ms moment)
{
    const bool windowTick = moment % 1000 == 0;
    const bool callTick = callStart && (moment - *callStart) % 1000 == 0;
    if (windowTick) {
        if (period_ != Period::None && unitClock_ != period_) {
            unitClock_ = period_; // the other clock stops and its count is dropped
            unitClockFrom_ = moment;
            unitCount_ = 0;
        }
        hour_ = localHour(moment);
        title = elapsedText() + u" = "_s + priceText() + u" Kč"_s;
    }
    if (callTick) {
        ++elapsed;
        period_ = periodAt(hour_);
        if (elapsed % 60 == 1)
            accrued_ += tariff(period_).perMinute;
    }
    if (windowTick && unitClock_ != Period::None && unitClockFrom_ < moment &&
        ++unitCount_ == tariff(unitClock_).unitTicks) {
        unitCount_ = 0;
        price = accrued_ + tariff(unitClock_).supplement;
    }
}

QString ReferenceModel::elapsedText() const
{
    return QString::number(elapsed / 3600) + u':' + QString::number(elapsed / 60 % 60) + u':' +
           QString::number(elapsed % 60);
}

QString ReferenceModel::periodText() const
{
    return period_ == Period::None ? u"Klepněte na Start"_s : QString::fromUtf8(tariff(period_).name);
}

QString ReferenceModel::money(int tenths) const
{
    const QString whole = QString::number(tenths / 10);
    return tenths % 10 == 0 ? whole : whole + separator_ + QString::number(tenths % 10);
}

int ReferenceModel::localHour(Ms moment) const
{
    const std::time_t seconds = (loadEpochMs_ + moment) / 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return local.tm_hour;
}

QString ReferenceModel::dateText(Ms moment, const char *pattern) const
{
    const std::time_t seconds = (loadEpochMs_ + moment) / 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    const int day = local.tm_mday, month = local.tm_mon + 1, year = local.tm_year + 1900;
    if (std::strcmp(pattern, "d.m.yyyy") == 0)
        return QString::asprintf("%d.%d.%04d", day, month, year);
    if (std::strcmp(pattern, "dd.mm.yyyy") == 0)
        return QString::asprintf("%02d.%02d.%04d", day, month, year);
    return QString::asprintf("%02d/%04d", month, year);
}

std::array<double, 14> ReferenceModel::creditPositions() const
{
    const Ms ticks = (now - aboutLoaded_) / 100 - (aboutRestarted_ - aboutLoaded_) / 100;
    std::array<double, 14> positions = creditStarts;
    for (double &position : positions)
        position -= 25.0 * double(ticks);
    return positions;
}
