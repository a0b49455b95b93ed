#include <desktop_settings.h>
#include <desktop_settings_reader.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using tk::DesktopSettings;
using tk::DesktopSettingsReader;

// Waits are QTest::qWaitFor, not QTRY_*: Qt 6.8's QTRY_* macros narrow their timeout to an int in the
// caller's code, which -Wconversion rejects.
namespace {

const QString portalName = u"org.freedesktop.portal.Desktop"_s;
const QString appearance = u"org.freedesktop.appearance"_s;
const QString accessibility = u"org.gnome.desktop.a11y.interface"_s;
const QString windowManager = u"org.gnome.desktop.wm.preferences"_s;

// Sets a key of GSettings as the user would, in dconf, whatever store this process reads.
bool setGSettings(const QString &schema, const QString &key, const QString &value)
{
    QProcess gsettings;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"GSETTINGS_BACKEND"_s);
    gsettings.setProcessEnvironment(environment);
    gsettings.start(u"gsettings"_s, {u"set"_s, schema, key, value});
    return gsettings.waitForFinished() && gsettings.exitStatus() == QProcess::NormalExit &&
           gsettings.exitCode() == 0;
}

bool portalRuns()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(portalName);
}

} // namespace

// The desktop's settings as the program reads them, on a session bus of the test's own
// (desktop_settings_test.sh): from settings portals of the test's own (fake_portal.py) that answer at once,
// late or with an error, from GSettings in dconf where there is no portal, and from GNOME's own portal. Each
// answer is taken when it comes, what the portal does not tell comes from GSettings without a change in
// between, and changes are followed while the program runs.
class DesktopSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        DesktopSettings::session().setButtonLayout(QString());
        DesktopSettings::session().setHighContrast(false);
        QVERIFY(setGSettings(windowManager, u"button-layout"_s, u"close:"_s));
        QVERIFY(setGSettings(accessibility, u"high-contrast"_s, u"false"_s));
    }

    void cleanup()
    {
        reader_.reset();
        if (portal_) {
            portal_->kill();
            portal_->waitForFinished();
            portal_.reset();
            QVERIFY(QTest::qWaitFor([&] { return !portalRuns(); }));
        }
    }

    void readsTheSourceThatAnswers_data()
    {
        QTest::addColumn<QStringList>("portal");
        QTest::addColumn<QString>("buttonLayout");
        QTest::addColumn<bool>("highContrast");

        // Where the portal tells the desktop's contrast, GNOME's own key counts no more.
        QTest::newRow("a portal with contrast")
            << (u"answers "
                u"org.freedesktop.appearance contrast u:1 "
                u"org.gnome.desktop.a11y.interface high-contrast b:false "
                u"org.gnome.desktop.wm.preferences button-layout s:minimize,close"_s)
                   .split(u' ')
            << u"minimize,close"_s << true;
        // An older portal, or another desktop's, without contrast or GNOME's button layout: what it lacks
        // comes from GSettings.
        QTest::newRow("a portal without them")
            << u"answers org.gnome.desktop.a11y.interface high-contrast b:true"_s.split(u' ') << u"close:"_s
            << true;
        QTest::newRow("a portal that fails")
            << u"error org.gnome.desktop.wm.preferences button-layout s:minimize,close"_s.split(u' ')
            << u"close:"_s << false;
    }

    void readsTheSourceThatAnswers()
    {
        QFETCH(QStringList, portal);
        QFETCH(QString, buttonLayout);
        QFETCH(bool, highContrast);
        startPortal(portal);
        QSignalSpy layoutChanges(&DesktopSettings::session(), &DesktopSettings::buttonLayoutChanged);
        reader_ = std::make_unique<DesktopSettingsReader>();
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().buttonLayout() == buttonLayout; }));
        QCOMPARE(DesktopSettings::session().highContrast(), highContrast);
        // From unknown straight to the source's own value, with nothing in between.
        QCOMPARE(layoutChanges.size(), 1);
    }

    void takesALateAnswerAndFollowsItsChanges()
    {
        startPortal((u"late "
                     u"org.freedesktop.appearance contrast u:0 "
                     u"org.gnome.desktop.wm.preferences button-layout s:close,minimize:"_s)
                        .split(u' '));
        QSignalSpy layoutChanges(&DesktopSettings::session(), &DesktopSettings::buttonLayoutChanged);
        reader_ = std::make_unique<DesktopSettingsReader>();
        // The question is out and unanswered (Qt itself may ask too), and nothing has changed meanwhile.
        QVERIFY(QTest::qWaitFor([&] { return questions().first >= 1; }));
        QCOMPARE(questions().second, questions().first);
        QCOMPARE(layoutChanges.size(), 0);
        QVERIFY(QTest::qWaitFor(
            [&] { return DesktopSettings::session().buttonLayout() == u"close,minimize:"_s; }, 10000));
        QCOMPARE(layoutChanges.size(), 1);
        QVERIFY(!DesktopSettings::session().highContrast());
        change(appearance, u"contrast"_s, u"u:1"_s);
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().highContrast(); }));
        change(windowManager, u"button-layout"_s, u"s::close"_s);
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().buttonLayout() == u":close"_s; }));
    }

    void followsGSettingsWhereNoPortalIs()
    {
        reader_ = std::make_unique<DesktopSettingsReader>();
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().buttonLayout() == u"close:"_s; }));
        QVERIFY(setGSettings(windowManager, u"button-layout"_s, u"appmenu:minimize,close"_s));
        QVERIFY(setGSettings(accessibility, u"high-contrast"_s, u"true"_s));
        QVERIFY(QTest::qWaitFor(
            [&] { return DesktopSettings::session().buttonLayout() == u"appmenu:minimize,close"_s; }));
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().highContrast(); }));
    }

    // desktop_settings_test.sh gives this process GSettings' defaults alone, so that what GNOME sets in
    // dconf can only have come through the portal, which the bus starts as a GNOME session's does.
    void readsGnomesOwnPortal()
    {
        QVERIFY(setGSettings(windowManager, u"button-layout"_s, u"close,minimize:"_s));
        QVERIFY(setGSettings(accessibility, u"high-contrast"_s, u"true"_s));
        reader_ = std::make_unique<DesktopSettingsReader>();
        QVERIFY(QTest::qWaitFor(
            [&] { return DesktopSettings::session().buttonLayout() == u"close,minimize:"_s; }, 30000));
        QVERIFY(DesktopSettings::session().highContrast());
        QVERIFY(setGSettings(windowManager, u"button-layout"_s, u":close"_s));
        QVERIFY(setGSettings(accessibility, u"high-contrast"_s, u"false"_s));
        QVERIFY(QTest::qWaitFor([&] { return DesktopSettings::session().buttonLayout() == u":close"_s; }));
        QVERIFY(QTest::qWaitFor([&] { return !DesktopSettings::session().highContrast(); }));
    }

private:
    void startPortal(const QStringList &arguments)
    {
        portal_ = std::make_unique<QProcess>();
        portal_->setProcessChannelMode(QProcess::ForwardedChannels);
        portal_->start(qEnvironmentVariable("ZELVOR_FAKE_PORTAL"), arguments);
        QVERIFY(QTest::qWaitFor([&] { return portalRuns(); }));
    }

    // Asks the test's portal itself.
    static QDBusMessage askPortal(const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage question = QDBusMessage::createMethodCall(
            portalName, u"/org/freedesktop/portal/desktop"_s, u"zelvor.test.Portal"_s, method);
        question.setArguments(arguments);
        return QDBusConnection::sessionBus().call(question);
    }

    // How many questions the test's portal has had, and how many it has not answered yet.
    static std::pair<uint, uint> questions()
    {
        const QVariantList counts = askPortal(u"Questions"_s).arguments();
        if (counts.size() != 2)
            return {};
        return {counts.at(0).toUInt(), counts.at(1).toUInt()};
    }

    static void change(const QString &group, const QString &key, const QString &value)
    {
        QCOMPARE(askPortal(u"Change"_s, {group, key, value}).type(), QDBusMessage::ReplyMessage);
    }

    std::unique_ptr<QProcess> portal_;
    std::unique_ptr<DesktopSettingsReader> reader_;
};

QTEST_MAIN(DesktopSettingsTest)
#include "desktop_settings_test.moc"
