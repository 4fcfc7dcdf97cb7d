// Runs the framewright program of this build to its end (see framewrightrun.h).
#include "framewrightrun.h"

#include <QProcess>

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
