#pragma once

#include <toolkit.h>

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

// A run of the program on a simulated clock that starts at a given local time in Prague.
class Session
{
public:
    explicit Session(const QDateTime &start);
    // Local time in Prague, e.g. Session::at(2026, 12, 7, 10, 0, 0).
    static QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

    tk::Program &program() { return program_; }

    // Moves the clock on by whole seconds (or milliseconds), delivering every tick on the way.
    void seconds(qint64 count) { clock_.advance(count * 1000); }
    void milliseconds(qint64 count) { clock_.advance(count); }

    // A user's click on the named button or check box, or choice of the named menu item.
    static void click(tk::Form &form, const char *name);

private:
    tk::ManualClock clock_;
    tk::Program program_;
};

// Sets the user's locale for the lifetime of the object.
class LocaleScope
{
public:
    explicit LocaleScope(const QString &name) : previous_(QLocale()) { QLocale::setDefault(QLocale(name)); }
    ~LocaleScope() { QLocale::setDefault(previous_); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

private:
    QLocale previous_;
};
