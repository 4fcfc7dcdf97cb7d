// Runs the framewright program of this build to its end (see framewrightrun.h).
#include "framewrightrun.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>

Run runFramewright(const QStringList &arguments, const RunOptions &options)
{
    QProcess process;
    process.setProcessEnvironment(options.environment);
    process.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), arguments);
    Run run;
    if (process.waitForFinished(options.limitMs) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    } else if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    run.rawOut = process.readAllStandardOutput();
    run.rawErr = process.readAllStandardError();
    run.out = QString::fromUtf8(run.rawOut);
    run.err = QString::fromUtf8(run.rawErr);
    return run;
}

QByteArray startWatching(QProcess &watch, const QStringList &arguments, int limitMs)
{
    static const QByteArray kWatching = "watching for ";
    const QDeadlineTimer deadline(limitMs);
    watch.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), arguments);
    QByteArray errors;
    if (!watch.waitForStarted(limitMs)) {
        return errors;
    }
    const auto saidIt = [&errors] {
        const qsizetype at = errors.indexOf(kWatching);
        return at >= 0 && errors.indexOf('\n', at) >= 0;
    };
    while (!saidIt() && watch.state() == QProcess::Running && !deadline.hasExpired()) {
        watch.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 0, 100)));
        errors += watch.readAllStandardError();
    }
    return errors + watch.readAllStandardError();
}
