#include "reference_model.h"
#include "window_session.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <random>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace Qt::StringLiterals;
using Ms = ReferenceModel::Ms;

namespace {

// One thing that happens in a session: the user acts, or time passes.
enum class Act {
    Wait,
    Start,
    Stop,
    Check1,
    Check2,
    About,
    Again,
    Close,
    CloseMain,
    CloseBill,
    CloseAbout,
    BillOk,
    Flush
};

struct Step {
    Act act;
    int how = 0; // for Start, Stop and About: 0 the button, 1 the menu, 2 the menu's access key
    Ms ms = 0;   // for Wait
};

// The user's regional settings, and the decimal point that goes with them.
struct Regional {
    const char *locale;
    char16_t point;
};
constexpr Regional regionals[] = {
    {"cs_CZ", u','}, {"en_US", u'.'}, {"de_DE", u','}, {"en_GB", u'.'}, {"pl_PL", u','}};

struct Scenario {
    quint64 seed = 0;
    QDateTime start; // when the main window loads, in Prague
    Regional regional = regionals[0];
    std::vector<Step> steps;
};

QString describe(const Step &step)
{
    static const char *const ways[] = {"button", "menu", "access key"};
    switch (step.act) {
    case Act::Wait:
        return u"wait %1 ms"_s.arg(step.ms);
    case Act::Start:
        return u"Start (%1)"_s.arg(QLatin1StringView(ways[step.how]));
    case Act::Stop:
        return u"Stop (%1)"_s.arg(QLatin1StringView(ways[step.how]));
    case Act::Check1:
        return u"click Check1 (minimize after Start)"_s;
    case Act::Check2:
        return u"click Check2 (bill after Stop)"_s;
    case Act::About:
        return u"About (%1)"_s.arg(QLatin1StringView(ways[step.how]));
    case Act::Again:
        return u"click \"&Znovu\""_s;
    case Act::Close:
        return u"click \"&Konec\""_s;
    case Act::CloseAbout:
        return u"close the about window by its frame"_s;
    case Act::CloseMain:
        return u"close the main window by its frame"_s;
    case Act::CloseBill:
        return u"close the bill by its frame"_s;
    case Act::BillOk:
        return u"click \"Tak dobře ...\""_s;
    case Act::Flush:
        return u"let the event loop run"_s;
    }
    return {};
}

QString describe(const Scenario &scenario)
{
    QString text = u"  load at %1 (Europe/Prague), %2\n"_s.arg(
        scenario.start.toString(u"yyyy-MM-dd HH:mm:ss.zzz t"), QLatin1StringView(scenario.regional.locale));
    for (std::size_t i = 0; i < scenario.steps.size(); ++i)
        text += u"  %1. %2\n"_s.arg(i + 1).arg(describe(scenario.steps[i]));
    return text;
}

class Random
{
public:
    explicit Random(quint64 seed) : engine_(seed) {}
    Ms between(Ms low, Ms high) { return low + Ms(engine_() % quint64(high - low + 1)); }
    int below(int count) { return int(engine_() % quint64(count)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937_64 engine_;
};

// Starts at every hour of the day, and often just before the moments where things change: 06:00 and
// 19:00, midnight at a month's end, and the nights on which Prague changes to and from summer time.
QDateTime startMoment(Random &random)
{
    const int year = int(random.between(1998, 2035));
    QDate date = QDate(year, 1, 1).addDays(random.below(QDate(year, 1, 1).daysInYear()));
    QTime time(random.below(24), random.below(60), random.below(60));
    switch (random.below(4)) {
    case 0:
        time = QTime(random.chance(50) ? 5 : 18, int(random.between(40, 59)), random.below(60));
        break;
    case 1:
        date = QDate(year, int(random.between(1, 12)), 1).addMonths(1).addDays(-1);
        time = QTime(23, int(random.between(30, 59)), random.below(60));
        break;
    case 2:
        date = QDate(year, random.chance(50) ? 3 : 10, 31);
        while (date.dayOfWeek() != Qt::Sunday)
            date = date.addDays(-1);
        time = QTime(int(random.between(0, 3)), random.below(60), random.below(60));
        break;
    default:
        break;
    }
    return QDateTime(date, time.addMSecs(random.below(1000)), QTimeZone("Europe/Prague"));
}

Step randomClick(Random &random)
{
    const int roll = random.below(100);
    if (roll < 25)
        return {Act::Start, random.below(3)};
    if (roll < 33)
        return {Act::Stop, random.below(3)};
    if (roll < 45)
        return {Act::Check1};
    if (roll < 57)
        return {Act::Check2};
    if (roll < 69)
        return {Act::About, 1 + random.below(2)};
    if (roll < 79)
        return {Act::Again};
    if (roll < 85)
        return {Act::Close};
    if (roll < 88)
        return {Act::CloseAbout};
    if (roll < 92)
        return {Act::CloseMain};
    if (roll < 96)
        return {Act::CloseBill};
    return {Act::BillOk};
}

Scenario generate(quint64 seed)
{
    Random random(seed);
    Scenario scenario{.seed = seed, .start = startMoment(random), .regional = regionals[0], .steps = {}};
    if (random.chance(40))
        scenario.regional = regionals[1 + random.below(std::size(regionals) - 1)];
    const int length = int(random.between(10, 60));
    while (int(scenario.steps.size()) < length) {
        const int roll = random.below(100);
        if (roll < 30) // one second
            scenario.steps.push_back({Act::Wait, 0, 1000});
        else if (roll < 45) // part of one
            scenario.steps.push_back({Act::Wait, 0, random.between(1, 999)});
        else if (roll < 55) // a loop held up, or simply a while
            scenario.steps.push_back({Act::Wait, 0, random.between(1001, 300'000)});
        else if (roll < 56) // the computer asleep
            scenario.steps.push_back({Act::Wait, 0, random.between(600'000, 5 * 3'600'000)});
        else if (roll < 62) // clicks as fast as the user can
            for (int clicks = int(random.between(2, 8)); clicks > 0; --clicks)
                scenario.steps.push_back(randomClick(random));
        else if (roll < 70)
            scenario.steps.push_back({Act::Flush});
        else if (roll < 82)
            scenario.steps.push_back({Act::Start, random.below(3)});
        else if (roll < 83)
            scenario.steps.push_back({Act::Stop, random.below(3)});
        else
            scenario.steps.push_back(randomClick(random));
    }
    return scenario;
}

// A window of the program as the session last saw it; once unloaded it may still take a click until the
// event loop disposes of it, as a button pressed twice in quick succession does.
template <class F> struct Seen {
    F *form = nullptr;
    QPointer<QWidget> window;

    F *live(tk::Program &program)
    {
        if (F *found = program.find<F>()) {
            form = found;
            window = tk::windowOf(*found);
        }
        return window ? form : nullptr;
    }
};

// Runs a scenario on the real windows and on the model side by side and compares everything the user
// can see after every step; says what first differed, if anything did.
class Run
{
public:
    explicit Run(const Scenario &scenario)
        : scenario_(scenario), locale_(QString::fromLatin1(scenario.regional.locale)),
          session_(scenario.start), model_(scenario.start.toMSecsSinceEpoch(), QChar(scenario.regional.point))
    {
        session_.program().show<Form1>();
    }

    std::optional<QString> go()
    {
        for (std::size_t i = 0; i < scenario_.steps.size(); ++i) {
            perform(scenario_.steps[i]);
            if (QTest::currentTestFailed())
                return u"the test harness failed at step %1"_s.arg(i + 1);
            if (auto difference = compare())
                return u"after step %1 (%2): %3"_s.arg(i + 1).arg(describe(scenario_.steps[i]), *difference);
        }
        return std::nullopt;
    }

private:
    void perform(const Step &step)
    {
        tk::Program &program = session_.program();
        Form1 *main = main_.live(program);
        Form2 *bill = bill_.live(program);
        Form3 *about = about_.live(program);
        switch (step.act) {
        case Act::Wait:
            session_.milliseconds(step.ms);
            model_.advanceTo(model_.now + step.ms);
            break;
        case Act::Start:
            if (main)
                command(*main, step.how, step.how == 0 ? "Command1" : "mnustart", Qt::Key_S);
            model_.start();
            break;
        case Act::Stop:
            if (main)
                command(*main, step.how, step.how == 0 ? "Command3" : "mnustop", Qt::Key_T);
            model_.stop();
            break;
        case Act::Check1:
            if (main)
                WindowSession::click(*main, "Check1");
            model_.toggleCheck1();
            break;
        case Act::Check2:
            if (main)
                WindowSession::click(*main, "Check2");
            model_.toggleCheck2();
            break;
        case Act::About:
            if (main)
                command(*main, step.how, "mnuabout", Qt::Key_O);
            model_.about();
            break;
        case Act::Again:
            if (about)
                WindowSession::click(*about, "Command1");
            model_.aboutRestart();
            break;
        case Act::Close:
            if (about)
                WindowSession::click(*about, "Command2");
            model_.closeAbout();
            break;
        case Act::CloseAbout:
            if (about)
                tk::windowOf(*about)->close();
            model_.closeAbout();
            break;
        case Act::CloseMain:
            if (main)
                tk::windowOf(*main)->close();
            model_.closeMain();
            break;
        case Act::CloseBill:
            if (bill)
                tk::windowOf(*bill)->close();
            model_.closeBill();
            break;
        case Act::BillOk:
            if (bill)
                WindowSession::click(*bill, "Command1");
            if (model_.billOpen)
                model_.end();
            break;
        case Act::Flush:
            QCoreApplication::processEvents();
            flushed_ = true;
            break;
        }
    }

    // A button or menu item clicked, or the menu's access key pressed (on a window still loaded). A button's
    // own access key clicks it only once the event loop has run a while, so the real-X run presses those.
    static void command(tk::Form &form, int how, const char *control, Qt::Key accessKey)
    {
        if (how == 2 && form.loaded()) {
            // The access keys of the menu bar answer only in the active window.
            QT_WARNING_PUSH
            QT_WARNING_DISABLE_DEPRECATED
            QApplication::setActiveWindow(tk::windowOf(form));
            QT_WARNING_POP
            QTest::keyClick(tk::windowOf(form), accessKey, Qt::AltModifier);
        } else {
            WindowSession::click(form, control);
        }
    }

    std::optional<QString> compare()
    {
        QStringList differences;
        const auto expect = [&differences](const QString &what, const auto &actual, const auto &expected) {
            if (actual != expected)
                differences << u"%1 is \"%2\", should be \"%3\""_s.arg(what, QVariant(actual).toString(),
                                                                       QVariant(expected).toString());
        };
        tk::Program &program = session_.program();
        expect(u"the program's end"_s, program.ended(), model_.ended());
        const Form1 *main = program.find<Form1>();
        const Form2 *bill = program.find<Form2>();
        const Form3 *about = program.find<Form3>();
        expect(u"the main window's presence"_s, main != nullptr, model_.mainOpen);
        expect(u"the bill's presence"_s, bill != nullptr, model_.billOpen);
        expect(u"the about window's presence"_s, about != nullptr, model_.aboutOpen);
        if (main && model_.mainOpen) {
            const auto caption = [main](const char *name) { return main->label(name).caption(); };
            expect(u"the date"_s, caption("Label10"), model_.dateText(0, "d.m.yyyy"));
            expect(u"the elapsed time"_s,
                   caption("Label3") + u':' + caption("Label2") + u':' + caption("Label1"),
                   model_.elapsedText());
            expect(u"the period"_s, caption("Label14"), model_.periodText());
            expect(u"the price"_s, caption("Label4"), model_.priceText());
            expect(u"the title"_s, main->caption(), model_.title);
            expect(u"Check1"_s, main->checkBox("Check1").value(), int(model_.check1));
            expect(u"Check1 enabled"_s, main->checkBox("Check1").enabled(), model_.check1Enabled);
            expect(u"Check2"_s, main->checkBox("Check2").value(), int(model_.check2));
            expect(u"minimized"_s, main->minimized(), model_.minimized);
            if (flushed_)
                compareWidgets(*main, differences);
            // Whatever the model says: the price never goes down and no second goes missing.
            const double price = tk::numberValue(caption("Label4"));
            if (price < lowestPrice_)
                differences << u"the price went down from %1 to %2"_s.arg(lowestPrice_).arg(price);
            lowestPrice_ = price;
            const qint64 seconds = caption("Label3").toLongLong() * 3600 +
                                   caption("Label2").toLongLong() * 60 + caption("Label1").toLongLong();
            if (model_.callStart && seconds != (model_.now - *model_.callStart) / 1000)
                differences << u"%1 s counted %2 ms into the call"_s.arg(seconds).arg(model_.now -
                                                                                      *model_.callStart);
        }
        if (bill && model_.billOpen) {
            expect(u"the bill's calls amount"_s, bill->label("Label16").caption(), model_.billAmount);
            expect(u"the bill's total"_s, bill->label("Label19").caption(), model_.billAmount);
            expect(u"the billing period"_s, bill->label("Label12").caption(),
                   model_.dateText(model_.billShownAt, "mm/yyyy"));
            expect(u"the issue date"_s, bill->label("Label13").caption(),
                   model_.dateText(model_.billShownAt, "dd.mm.yyyy"));
            expect(u"the office's date"_s, bill->label("Label21").caption(),
                   model_.dateText(model_.billShownAt, "dd.mm.yyyy"));
        }
        if (about && model_.aboutOpen)
            compareCredits(*about, differences);
        flushed_ = false;
        if (differences.isEmpty())
            return std::nullopt;
        return differences.join(u"; "_s);
    }

    // Exact while a float holds every position; beyond that the credits need only stay far out of sight.
    void compareCredits(const Form3 &about, QStringList &differences) const
    {
        static const char *const names[] = {"Label2",  "Label3",  "Label4",  "Label5",  "Label6",
                                            "Label7",  "Label8",  "Label9",  "Label10", "Label11",
                                            "Label12", "Label13", "Label14", "Image2"};
        const std::array<double, 14> expected = model_.creditPositions();
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const double actual = dynamic_cast<const tk::BoxControl &>(about.control(names[i])).top();
            const bool exact = std::abs(expected[i]) < 1 << 24;
            if (exact ? actual != expected[i] : actual > -(1 << 23))
                differences << u"%1 stands at %2 twips, should be at %3"_s.arg(QLatin1StringView(names[i]))
                                   .arg(actual, 0, 'f', 0)
                                   .arg(expected[i], 0, 'f', 0);
        }
    }

    // Once the event loop has run, the widgets show what the controls hold.
    static void compareWidgets(const Form1 &main, QStringList &differences)
    {
        if (tk::windowOf(main)->windowTitle() != main.caption())
            differences << u"the window's title shows \"%1\", not \"%2\""_s.arg(
                tk::windowOf(main)->windowTitle(), main.caption());
        for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label14"}) {
            const auto *widget = tk::windowOf(main)->findChild<QLabel *>(QLatin1StringView(name));
            if (widget && widget->text() != main.label(name).caption())
                differences << u"%1 shows \"%2\""_s.arg(QLatin1StringView(name), widget->text());
        }
    }

    const Scenario &scenario_;
    LocaleScope locale_;
    WindowSession session_;
    ReferenceModel model_;
    Seen<Form1> main_;
    Seen<Form2> bill_;
    Seen<Form3> about_;
    bool flushed_ = false;
    double lowestPrice_ = 0;
};

std::optional<QString> run(const Scenario &scenario)
{
    Run run(scenario);
    return run.go();
}

// The shortest sequence found that still fails: steps are taken out, in ever smaller runs, for as long as
// the session fails without them.
Scenario shrink(Scenario failing)
{
    for (std::size_t chunk = failing.steps.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= failing.steps.size();) {
            Scenario candidate = failing;
            candidate.steps.erase(candidate.steps.begin() + Ms(at), candidate.steps.begin() + Ms(at + chunk));
            if (run(candidate))
                failing = std::move(candidate);
            else
                at += chunk;
        }
    }
    return failing;
}

// A crash cannot be shrunk, but it can say which session it was; the words are ready before it runs.
QByteArray crashNote;

void sayWhichSession()
{
    if (!crashNote.isEmpty())
        (void)!write(2, crashNote.constData(), size_t(crashNote.size()));
}

void onFatalSignal(int signal)
{
    sayWhichSession();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The offscreen platform says so whenever a window already shown is shown again; a thousand sessions say
// it often.
QtMessageHandler passOn = nullptr;

void quietAboutRaising(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != u"This plugin does not support raise()"_s)
        passOn(type, context, message);
}

quint64 setting(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

} // namespace

// Thousands of random sessions on the real windows and a simulated clock, each compared with the model
// after every step. ZELVOR_SEED=n runs session n alone; ZELVOR_FIRST_SEED and ZELVOR_SESSIONS choose others.
class RandomSessionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Prague");
        tzset();
#if defined(__SANITIZE_ADDRESS__)
        // The sanitizers keep their own handlers of faults; undefined behaviour aborts (UBSAN_OPTIONS).
        __sanitizer_set_death_callback(sayWhichSession);
        std::signal(SIGABRT, onFatalSignal);
#else
        for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
            std::signal(signal, onFatalSignal);
#endif
        passOn = qInstallMessageHandler(quietAboutRaising);
    }

    // In batches, each with its own time limit.
    void sessionsMatchTheModel_data()
    {
        QTest::addColumn<quint64>("first");
        QTest::addColumn<quint64>("count");
        const quint64 only = setting("ZELVOR_SEED", 0);
        const quint64 first = only ? only : setting("ZELVOR_FIRST_SEED", 1);
        const quint64 count = only ? 1 : setting("ZELVOR_SESSIONS", 3000);
        for (quint64 batch = first; batch < first + count; batch += 500) {
            const quint64 size = std::min<quint64>(500, first + count - batch);
            QTest::addRow("seeds %llu to %llu", batch, batch + size - 1) << batch << size;
        }
    }

    void sessionsMatchTheModel()
    {
        QFETCH(quint64, first);
        QFETCH(quint64, count);
        for (quint64 seed = first; seed < first + count; ++seed) {
            const Scenario scenario = generate(seed);
            crashNote =
                u"\nThe random session with seed %1 crashed (rerun it alone with ZELVOR_SEED=%1):\n%2"_s
                    .arg(seed)
                    .arg(describe(scenario))
                    .toLocal8Bit();
            const std::optional<QString> failure = run(scenario);
            crashNote.clear();
            if (failure) {
                const Scenario shortest = shrink(scenario);
                QFAIL(qPrintable(
                    u"The random session with seed %1 fails (rerun it alone with ZELVOR_SEED=%1).\n"
                    "The shortest sequence that fails, %2:\n%3"_s.arg(seed)
                        .arg(run(shortest).value_or(u"?"_s), describe(shortest))));
            }
        }
    }
};

QTEST_MAIN(RandomSessionsTest)
#include "random_sessions_test.moc"
