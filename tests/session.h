#pragma once

#include <manual_clock.h>
#include <toolkit.h>

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QTimeZone>

// A run of the program on a simulated clock that starts at a given local time in Prague, its forms unseen:
// what metering and scheduling need, on the toolkit's core alone.
class Session
{
public:
    explicit Session(const QDateTime &start);
    // Local time in Prague, e.g. Session::at(2026, 12, 7, 10, 0, 0).
    static QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

    tk::Program &program() { return program_; }
    tk::ManualClock &clock() { return clock_; }

    // Moves the clock on by whole seconds (or milliseconds), delivering every tick on the way.
    void seconds(qint64 count) { clock_.advance(count * 1000); }
    void milliseconds(qint64 count) { clock_.advance(count); }
    // Whether ticks or actions that are due wait for the event loop to run the next slice of a catch-up.
    bool catchingUp();

    // A user's click on the named button or check box, or choice of the named menu item, handed to the
    // control as the view hands it.
    static void click(tk::Form &form, const char *name);

private:
    tk::ManualClock clock_;
    tk::Program program_;
};

// Sets the user's locale for the lifetime of the object.
class LocaleScope
{
public:
    explicit LocaleScope(const QLocale &locale) : previous_(QLocale()) { tk::setUserLocale(locale); }
    explicit LocaleScope(const QString &name) : LocaleScope(QLocale(name)) {}
    ~LocaleScope() { tk::setUserLocale(previous_); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

private:
    QLocale previous_;
};

// A test row run again in a process of its own, its regional settings given as an environment (LANG, LC_ALL,
// LC_NUMERIC, LC_TIME): Qt reads those once a process. Constructed, it runs the row and waits for it.
class OwnProcess
{
public:
    explicit OwnProcess(const QStringList &environment);
    // Whether this is the row's own process, where the user's locale is the system's.
    static bool here();
    bool passed() const { return passed_; }
    const QString &output() const { return output_; }

private:
    bool passed_ = false;
    QString output_;
};

// Runs the current row in its own process, or returns true in it: the row's checks follow where it does.
bool inOwnProcess(const QStringList &environment);
