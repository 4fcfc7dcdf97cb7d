// Reading settings files of 20k, 40k and 80k repeated names: duplicate keys in one section, duplicate sections, and
// as many distinct keys for comparison. The first key and the first section of a name win, and finding them must
// stay linear: doubling the names may at most double the time again (ratio 80k/20k at most 2.2 x 2.2). Prints the
// median CPU time of a few runs per size.
// Usage: bench_settingsduplicates [runs]
#include "settings/settingsfile.h"

#include "cputime.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace {

enum class Repeated { Keys, Sections, Nothing };

QByteArray repeatedNames(Repeated repeated, int count)
{
    QByteArray text = "[General]\n";
    for (int n = 0; n < count; ++n) {
        switch (repeated) {
        case Repeated::Keys:
            text += "Left=" + QByteArray::number(n) + "\n";
            break;
        case Repeated::Sections:
            text += "[Entry]\nTitle=" + QByteArray::number(n) + "\n";
            break;
        case Repeated::Nothing:
            text += "Key" + QByteArray::number(n) + "=" + QByteArray::number(n) + "\n";
            break;
        }
    }
    return text;
}

// Reading the file, the values the first names hold and the names of the keys, in CPU milliseconds.
double readMs(const QString &path, qsizetype expectedKeys)
{
    const double start = cpuMs();
    const SettingsFile settings(path);
    const bool firstWins = settings.readInteger(QStringLiteral("General"), QStringLiteral("Left"), 0) == 0
        && settings.readInteger(QStringLiteral("Entry"), QStringLiteral("Title"), 0) == 0;
    const QStringList keys = settings.keys(QStringLiteral("General"));
    const double ms = cpuMs() - start;
    if (!firstWins || keys.size() != expectedKeys) {
        std::fprintf(stderr, "the first key or section of a name did not win\n");
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int counts[] = {20000, 40000, 80000};
    const std::pair<Repeated, const char *> kinds[] = {{Repeated::Keys, "duplicate keys"},
        {Repeated::Sections, "duplicate sections"}, {Repeated::Nothing, "distinct keys"}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KTZ.ini"));

    std::printf("%-20s %10s %10s %10s %10s\n", "names", "20k ms", "40k ms", "80k ms", "80k/20k");
    bool linear = true;
    for (const auto &[repeated, label] : kinds) {
        std::vector<double> typical;
        for (const int count : counts) {
            const QByteArray content = repeatedNames(repeated, count);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
            file.close();
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) {
                times.push_back(readMs(path,
                    repeated == Repeated::Keys          ? 1
                        : repeated == Repeated::Nothing ? count
                                                        : 0));
            }
            typical.push_back(median(times));
        }
        const double ratio = typical[2] / std::max(typical[0], 0.01);
        linear = linear && ratio <= kLinearDoublingRatio * kLinearDoublingRatio;
        std::printf("%-20s %10.1f %10.1f %10.1f %10.2f\n", label, typical[0], typical[1], typical[2], ratio);
    }
    std::printf("%s\n",
        linear ? "linear: 80k names within 2.2 per doubling of 20k"
               : "NOT LINEAR: 80k names take more than 2.2 per doubling of 20k");
    return linear ? 0 : 1;
}
