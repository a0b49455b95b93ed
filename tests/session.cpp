#include "session.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

Session::Session(const QDateTime &start) : clock_(start), program_(clock_) {}

bool Session::catchingUp()
{
    const std::optional<tk::Ms> due = program_.scheduler().nextDue();
    return due && *due <= clock_.monotonic();
}

QDateTime Session::at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone("Europe/Prague"));
}

void Session::click(tk::Form &form, const char *name)
{
    tk::Control &control = form.control(name);
    if (auto *button = dynamic_cast<tk::CommandButton *>(&control))
        button->click();
    else if (auto *box = dynamic_cast<tk::CheckBox *>(&control))
        box->click();
    else if (auto *item = dynamic_cast<tk::MenuItem *>(&control))
        item->click();
    else
        QFAIL(name);
}

namespace {

const QString ownProcessVariable = QStringLiteral("ZELVOR_OWN_PROCESS");

} // namespace

OwnProcess::OwnProcess(const QStringList &environment)
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &name : variables.keys()) {
        if (name == u"LANG" || name == u"LANGUAGE" || name.startsWith(u"LC_"))
            variables.remove(name);
    }
    for (const QString &variable : environment)
        variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    variables.insert(ownProcessVariable, QStringLiteral("1"));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(QTest::currentTestFunction()) + u':' +
                   QString::fromLocal8Bit(QTest::currentDataTag())});
    process.waitForFinished(60000);
    passed_ = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    output_ = QString::fromLocal8Bit(process.readAll());
}

bool OwnProcess::here()
{
    return qEnvironmentVariableIsSet(qPrintable(ownProcessVariable));
}

bool inOwnProcess(const QStringList &environment)
{
    if (OwnProcess::here()) {
        tk::setUserLocale(QLocale::system());
        return true;
    }
    const OwnProcess row(environment);
    if (!row.passed())
        QTest::qFail(qPrintable(row.output()), __FILE__, __LINE__);
    return false;
}
