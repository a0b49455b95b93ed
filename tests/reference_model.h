#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// What the windows should show, worked out from the tariff rules alone and kept apart from the program's
// code, so that the two can be compared at every moment of a run. Times are milliseconds since the main
// window loaded; money is counted in tenths of a crown, so every sum is exact. The local time comes from
// the C library (TZ), not from Qt.
class ReferenceModel
{
public:
    using Ms = std::int64_t;
    enum class Period { None, Heavy, Light };

    ReferenceModel(std::int64_t loadEpochMs, QChar decimalSeparator);

    // The user's actions, at the current moment. Each does nothing where the user could not do it.
    void start();
    void stop();
    void toggleCheck1();
    void toggleCheck2();
    void about();
    void aboutRestart(); // "&Znovu"
    void closeMain() { mainOpen = false; }
    void closeBill() { billOpen = false; }
    void closeAbout() { aboutOpen = false; }
    void end() { mainOpen = billOpen = aboutOpen = false; }

    // Time moves on to `moment`; every tick on the way takes effect, in order.
    void advanceTo(Ms moment);

    // What the user sees.
    QString elapsedText() const;
    QString periodText() const;
    QString priceText() const { return money(price); }
    QString money(int tenths) const;
    QString dateText(Ms moment, const char *pattern) const; // "d.m.yyyy", "dd.mm.yyyy" or "mm/yyyy"
    std::array<double, 14> creditPositions() const;         // Label2 ... Label14, Image2

    bool ended() const { return !mainOpen && !billOpen && !aboutOpen; }
    bool mainOpen = true, billOpen = false, aboutOpen = false;
    bool check1 = false, check1Enabled = true, check2 = true, minimized = false;
    QString title;
    QString billAmount;
    Ms billShownAt = 0;
    Ms now = 0;
    std::optional<Ms> callStart;
    int elapsed = 0; // seconds
    int price = 0;   // tenths of a crown

private:
    void tick(Ms moment);
    int localHour(Ms moment) const;

    std::int64_t loadEpochMs_;
    QChar separator_;
    Ms done_ = 0; // every tick up to here has taken effect
    int hour_ = 0;
    Period period_ = Period::None;
    int accrued_ = 0;
    Period unitClock_ = Period::None;
    Ms unitClockFrom_ = 0;
    int unitCount_ = 0;
    Ms aboutLoaded_ = 0, aboutRestarted_ = 0;
};
