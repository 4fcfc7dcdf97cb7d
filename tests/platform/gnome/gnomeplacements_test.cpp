// Placing windows together on GNOME Shell, with the shell's answers scripted per window: every window of a round
// is asked at once, only windows that passed over their request are asked again, a size the window keeps ends at
// the anchor, and each window's outcome stays its own (one that vanishes or never answers fails alone).
#include "platform/anchoredrect.h"
#include "platform/gnome/gnomeplacements.h"

#include <QTest>

#include <map>

using platform::ShowState;
using platform::WindowPlacement;
using namespace platform::gnome;

namespace {

const QSize kBefore(306, 233);
const QRect kAsked(2000, 100, 500, 400);

// How a scripted window answers: it passes over its first `passOver` requests (keeping its size and state, as a
// client that has just shown its window may), is never smaller than `minimum`, and may vanish or never answer.
struct Behaviour
{
    int passOver = 0;
    QSize minimum;
    bool vanishes = false;
    bool silent = false;
    bool refusesMaximize = false;
};

class ScriptedShell
{
public:
    explicit ScriptedShell(std::vector<Behaviour> behaviours)
        : m_behaviours(std::move(behaviours))
    { }

    std::vector<std::optional<PlaceResult>> placeAll(const std::vector<PlaceRequest> &requests)
    {
        std::vector<uint64_t> round;
        std::vector<std::optional<PlaceResult>> results;
        for (const PlaceRequest &request : requests) {
            round.push_back(request.id);
            asked[request.id].push_back(request.rect);
            results.push_back(answer(m_behaviours.at(request.id - 1), request));
        }
        rounds.push_back(round);
        return results;
    }

    std::vector<std::vector<uint64_t>> rounds;    // the ids asked in each round
    std::map<uint64_t, std::vector<QRect>> asked; // every rectangle each window was asked for, in order

private:
    static std::optional<PlaceResult> answer(Behaviour &behaviour, const PlaceRequest &request)
    {
        if (behaviour.silent) {
            return std::nullopt;
        }
        if (behaviour.vanishes) {
            return PlaceResult {false, {}, false};
        }
        if (behaviour.passOver > 0) {
            --behaviour.passOver;
            return PlaceResult {true, QRect(request.rect.topLeft(), kBefore), false};
        }
        const QSize size = request.rect.size().expandedTo(behaviour.minimum);
        return PlaceResult {true, QRect(request.rect.topLeft(), size), request.maximize && !behaviour.refusesMaximize};
    }

    std::vector<Behaviour> m_behaviours;
};

} // namespace

Q_DECLARE_METATYPE(Behaviour)

class GnomePlacementsTest : public QObject
{
    Q_OBJECT

private slots:
    // Three windows placed together: the second behaves as the row says, the first and third take the placement
    // at once. `rounds` is how many rounds the second window is asked in (the others only in the first).
    void eachWindowEndsOnItsOwn_data()
    {
        QTest::addColumn<Behaviour>("second");
        QTest::addColumn<bool>("maximize");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QRect>("secondEndsAsked"); // the last rectangle the second window was asked for

        const Qt::Alignment anchor = Qt::AlignRight | Qt::AlignBottom;
        const QRect atMinimum = platform::anchoredRect(kAsked, QSize(600, 450), anchor, kCoordinateLimitPx);
        const QRect keptSize = platform::anchoredRect(kAsked, kBefore, anchor, kCoordinateLimitPx);
        QTest::newRow("takes it at once") << Behaviour {} << false << 1 << true << kAsked;
        QTest::newRow("passes over its first size") << Behaviour {1} << false << 2 << true << kAsked;
        QTest::newRow("passes over two sizes") << Behaviour {2} << false << 3 << true << kAsked;
        QTest::newRow("keeps its size: placed at the anchor with it")
            << Behaviour {3} << false << 4 << true << keptSize;
        QTest::newRow("refuses the size: its minimum at the anchor")
            << Behaviour {0, QSize(600, 450)} << false << 2 << true << atMinimum;
        QTest::newRow("passes over, then its minimum")
            << Behaviour {1, QSize(600, 450)} << false << 3 << true << atMinimum;
        QTest::newRow("maximized") << Behaviour {} << true << 1 << true << kAsked;
        QTest::newRow("not maximized as asked")
            << Behaviour {0, {}, false, false, true} << true << 3 << false << kAsked;
        QTest::newRow("vanishes") << Behaviour {0, {}, true} << false << 1 << false << kAsked;
        QTest::newRow("never answers") << Behaviour {0, {}, false, true} << false << 1 << false << kAsked;
    }

    void eachWindowEndsOnItsOwn()
    {
        QFETCH(Behaviour, second);
        QFETCH(bool, maximize);
        QFETCH(int, rounds);
        QFETCH(bool, taken);
        QFETCH(QRect, secondEndsAsked);
        ScriptedShell shell({Behaviour {}, second, Behaviour {}});
        WindowPlacement placement {maximize ? ShowState::Maximized : ShowState::Normal, kAsked};
        placement.anchor = Qt::AlignRight | Qt::AlignBottom;
        const std::vector<PlacementTarget> targets {{1, kBefore}, {2, kBefore}, {3, kBefore}};
        const auto placeAll = [&](const std::vector<PlaceRequest> &requests) { return shell.placeAll(requests); };

        QCOMPARE(placeTogether(placeAll, targets, placement), (std::vector<bool> {true, taken, true}));
        QCOMPARE(shell.rounds.front(), (std::vector<uint64_t> {1, 2, 3}));
        QCOMPARE(int(shell.rounds.size()), rounds);
        for (size_t round = 1; round < shell.rounds.size(); ++round) {
            QCOMPARE(shell.rounds[round], std::vector<uint64_t> {2});
        }
        QCOMPARE(shell.asked[2].back(), secondEndsAsked);
        QCOMPARE(shell.asked[1], std::vector<QRect> {kAsked});
    }

    // A window not shown yet is listed as 0 x 0: another size than the one asked for cannot be told from the one
    // it had, so it is asked again, three times in all; its size is then taken as its own.
    void windowNotShownYetIsAskedAgain()
    {
        ScriptedShell shell({Behaviour {0, QSize(600, 450)}});
        const auto placeAll = [&](const std::vector<PlaceRequest> &requests) { return shell.placeAll(requests); };
        const std::vector<bool> taken
            = placeTogether(placeAll, {{1, QSize()}}, WindowPlacement {ShowState::Normal, kAsked});
        QCOMPARE(taken, std::vector<bool> {true});
        QCOMPARE(shell.rounds.size(), size_t(3)); // left-top anchor: the minimum already sits where it belongs
    }

    void noWindowsAsksNothing()
    {
        ScriptedShell shell({});
        const auto placeAll = [&](const std::vector<PlaceRequest> &requests) { return shell.placeAll(requests); };
        QVERIFY(placeTogether(placeAll, {}, WindowPlacement {ShowState::Normal, kAsked}).empty());
        QVERIFY(shell.rounds.empty());
    }
};

QTEST_GUILESS_MAIN(GnomePlacementsTest)
#include "gnomeplacements_test.moc"
