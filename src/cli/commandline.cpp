// Parsing the arguments, the usage text, and the dispatch to the modes that run without a window.
#include "commandline.h"

#include "commands.h"
#include "watch.h"

#include "platform/sessionwindowsystem.h"
#include "settings/settingstext.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

const QString kDoubleDash = QStringLiteral("--");

struct ModeOption
{
    const char *name;
    Mode mode;
};

const ModeOption kModeOptions[]
    = {{"--list", Mode::List}, {"--windows", Mode::Windows}, {"--match", Mode::Match}, {"--apply", Mode::Apply},
        {"--watch", Mode::Watch}, {"--help", Mode::Help}, {"-h", Mode::Help}, {"--version", Mode::Version}};

std::optional<Mode> modeOption(const QString &argument)
{
    for (const ModeOption &option : kModeOptions) {
        if (argument == QLatin1String(option.name)) {
            return option.mode;
        }
    }
    return std::nullopt;
}

QString modeName(Mode mode)
{
    for (const ModeOption &option : kModeOptions) {
        if (option.mode == mode) {
            return QLatin1String(option.name);
        }
    }
    return {};
}

// The descriptions a mode takes, checked against what it needs.
std::optional<QString> descriptionProblem(const Invocation &invocation)
{
    const qsizetype count = invocation.descriptions.size();
    switch (invocation.mode) {
    case Mode::Match:
        return count == 1 ? std::nullopt : std::optional<QString>(QStringLiteral("--match takes one description"));
    case Mode::Apply:
        return count >= 1 ? std::nullopt
                          : std::optional<QString>(QStringLiteral("--apply needs at least one description"));
    case Mode::Watch:
        return std::nullopt;
    default:
        return count == 0 ? std::nullopt
                          : std::optional<QString>(QStringLiteral("%1 takes no description (\"%2\")")
                                                       .arg(modeName(invocation.mode), invocation.descriptions[0]));
    }
}

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
}

} // namespace

std::variant<Invocation, UsageError> parseArguments(const QStringList &arguments)
{
    Invocation invocation;
    bool modeGiven = false;
    bool descriptionsOnly = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (descriptionsOnly || !argument.startsWith(u'-') || argument == u'-') {
            if (!modeGiven) {
                return UsageError {QStringLiteral("unexpected argument \"%1\"").arg(argument)};
            }
            invocation.descriptions << argument;
        } else if (argument == kDoubleDash) {
            descriptionsOnly = true;
        } else if (argument == QLatin1String("--no-skin")) {
            // The window's option: it changes nothing in the other modes.
        } else if (argument == QLatin1String("--settings") || argument.startsWith(QLatin1String("--settings="))) {
            const bool withValue = argument.contains(u'=');
            if (!withValue && i + 1 == arguments.size()) {
                return UsageError {QStringLiteral("--settings needs a file")};
            }
            invocation.settingsFile = withValue ? argument.section(u'=', 1) : arguments[++i];
            if (invocation.settingsFile.isEmpty()) {
                return UsageError {QStringLiteral("--settings needs a file")};
            }
        } else if (const auto mode = modeOption(argument)) {
            if (modeGiven) {
                return UsageError {
                    QStringLiteral("%1 and %2 cannot be combined").arg(modeName(invocation.mode), argument)};
            }
            modeGiven = true;
            invocation.mode = *mode;
        } else {
            return UsageError {QStringLiteral("unknown option %1").arg(argument)};
        }
    }
    if (const auto problem = descriptionProblem(invocation)) {
        return UsageError {*problem};
    }
    return invocation;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: framewright [--no-skin] [--settings FILE]\n"
        "       framewright [--settings FILE] --list | --windows | --match DESCRIPTION\n"
        "       framewright [--settings FILE] --apply DESCRIPTION... | --watch [DESCRIPTION...]\n"
        "\n"
        "Without a mode the window starts. The modes run without a window and only read the settings file.\n"
        "\n"
        "  --list              the saved entries in order: description, window title, placement\n"
        "  --windows           the windows the title list shows, topmost first: id, monitor, state,\n"
        "                      normal rectangle (x,y widthxheight, frame included) and title. The normal\n"
        "                      rectangle of a minimized window, or of one Framewright maximized, is the one\n"
        "                      it is restored to; X keeps none for a window maximized by other means, which\n"
        "                      shows its maximized one\n"
        "  --match DESCRIPTION the windows the saved entry would move, without moving them\n"
        "  --apply DESCRIPTION...\n"
        "                      applies the saved entries as the Saved group's Apply does and prints each\n"
        "                      window moved with its rectangle\n"
        "  --watch [DESCRIPTION...]\n"
        "                      keeps running and applies the entries (all with a window title when none\n"
        "                      is named) to each window that appears or is retitled so that it matches,\n"
        "                      once until its title stops matching; windows open at the start are left\n"
        "                      alone. Ends on SIGTERM or SIGINT.\n"
        "  --settings FILE     another settings file than the usual KTZ.ini\n"
        "  --no-skin           the window with the platform's frame and look\n"
        "  --help, --version\n"
        "\n"
        "Descriptions are matched exactly, else ignoring letter case. After -- every argument is a description.\n"
        "An entry without a window title (the presets) applies to the active window; --watch passes it over.\n"
        "Titles and descriptions are printed escaped: \\\\ for a backslash, \\xNN for a control character,\n"
        "\\uNNNN for a line separator or bidirectional control (hex code points).\n"
        "\n"
        "Exit status: 0 done; 1 no window matched (--apply, --match); 2 some window did not take its placement\n"
        "(--apply); 64 wrong arguments; 65 no saved entry by that description, or none to watch for;\n"
        "66 the settings file cannot be read; 69 no X display.\n");
}

std::optional<int> runCommandLine(int argc, char **argv, QString &settingsFile)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const auto parsed = parseArguments(arguments);
    if (const auto *error = std::get_if<UsageError>(&parsed)) {
        printLine(stderr,
            QStringLiteral("framewright: %1 (see framewright --help)").arg(printableSettingsText(error->message)));
        return kExitUsage;
    }
    const Invocation &invocation = std::get<Invocation>(parsed);
    switch (invocation.mode) {
    case Mode::Window:
        settingsFile = invocation.settingsFile;
        return std::nullopt;
    case Mode::Help:
        std::fputs(qPrintable(usageText()), stdout);
        return kExitOk;
    case Mode::Version:
        printLine(stdout, QStringLiteral("framewright " FRAMEWRIGHT_VERSION));
        return kExitOk;
    default:
        break;
    }
    // The application object and its event dispatcher cost a good part of a shortcut's start, and only --watch
    // (which waits in the event loop) and the Wayland backends (which talk through Qt's event machinery) need one.
    std::optional<QCoreApplication> application;
    if (invocation.mode == Mode::Watch || platform::sessionNeedsApplication()) {
        application.emplace(argc, argv);
    }
    // Standard error carries one line per problem; the window system's diagnostics are asked for with
    // QT_LOGGING_RULES, which takes precedence over this.
    QLoggingCategory::setFilterRules(QStringLiteral("framewright.*.debug=false\nframewright.*.info=false"));
    return invocation.mode == Mode::Watch ? runWatch(invocation) : runCommand(invocation);
}
