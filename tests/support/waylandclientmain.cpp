// framewright-waylandclient: a foreign client for the Wayland tests, a Qt program that the tests start with
// QT_QPA_PLATFORM=wayland. It opens and changes top-level windows on commands read line by line from stdin and
// answers each with one line on stdout.
//
//   open [size=WxH] [min=WxH] [vanish-on-resize] [-- <title>]
//                                            a new top-level window of that client size (default 300x200) and
//                                            minimum size; answers "ok <n>" once the compositor shows it. With
//                                            vanish-on-resize it closes itself when the compositor first gives it
//                                            another size (a window that vanishes while it is being placed)
//   state <n>                                answers "ok maximized=<0|1> size=WxH": the window's state and client
//                                            size as the compositor last configured them
//   title <n> [-- <title>]                   changes the title (without "--": empty); answers "ok"
//   close <n>                                closes the window; answers "ok"
//   quit
// Errors answer "error <reason>". It exits on "quit" or at the end of its input.
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include <unistd.h>

namespace {

void answer(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

std::optional<QSize> sizeOption(const QString &value)
{
    const QStringList parts = value.split(QLatin1Char('x'));
    bool okWidth = false;
    bool okHeight = false;
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const QSize size(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
    if (!okWidth || !okHeight || size.isEmpty()) {
        return std::nullopt;
    }
    return size;
}

// A window that answers its "open" when it first paints: Qt paints a window once the compositor has configured it
// and it is exposed.
class ClientWindow : public QWidget
{
public:
    ClientWindow(int number, bool vanishOnResize)
        : m_number(number)
        , m_vanishOnResize(vanishOnResize)
    { }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (m_vanishOnResize && m_answered) {
            hide();
        }
    }

    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        if (!m_answered) {
            m_answered = true;
            answer(QStringLiteral("ok %1").arg(m_number));
        }
    }

private:
    int m_number;
    bool m_vanishOnResize;
    bool m_answered = false;
};

class Client
{
public:
    void command(const QString &line)
    {
        const qsizetype separator = line.indexOf(QStringLiteral(" -- "));
        const QString head = separator < 0 ? line : line.left(separator);
        const std::optional<QString> title
            = separator < 0 ? std::nullopt : std::optional<QString>(line.mid(separator + 4));
        const QStringList words = head.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            answer(QStringLiteral("error empty command"));
        } else if (words[0] == QLatin1String("open")) {
            open(words.mid(1), title);
        } else if (words[0] == QLatin1String("title") && words.size() == 2) {
            if (ClientWindow *window = find(words[1])) {
                window->setWindowTitle(title.value_or(QString()));
                answer(QStringLiteral("ok"));
            }
        } else if (words[0] == QLatin1String("state") && words.size() == 2) {
            if (ClientWindow *window = find(words[1])) {
                answer(QStringLiteral("ok maximized=%1 size=%2x%3")
                           .arg(window->isMaximized() ? 1 : 0)
                           .arg(window->width())
                           .arg(window->height()));
            }
        } else if (words[0] == QLatin1String("close") && words.size() == 2) {
            if (find(words[1])) {
                m_windows.erase(words[1].toInt());
                answer(QStringLiteral("ok"));
            }
        } else if (words[0] == QLatin1String("quit")) {
            QCoreApplication::quit();
        } else {
            answer(QStringLiteral("error unknown command: ") + words[0]);
        }
    }

private:
    void open(const QStringList &options, const std::optional<QString> &title)
    {
        QSize size(300, 200);
        QSize minimum;
        bool vanishOnResize = false;
        for (const QString &option : options) {
            const std::optional<QSize> value = sizeOption(option.section(QLatin1Char('='), 1));
            if (option == QLatin1String("vanish-on-resize")) {
                vanishOnResize = true;
            } else if (option.startsWith(QLatin1String("size=")) && value) {
                size = *value;
            } else if (option.startsWith(QLatin1String("min=")) && value) {
                minimum = *value;
            } else {
                answer(QStringLiteral("error bad option: ") + option);
                return;
            }
        }
        const int number = ++m_last;
        auto window = std::make_unique<ClientWindow>(number, vanishOnResize);
        window->setWindowTitle(title.value_or(QString()));
        if (minimum.isValid()) {
            window->setMinimumSize(minimum);
        }
        window->resize(size);
        window->show();
        m_windows[number] = std::move(window);
    }

    ClientWindow *find(const QString &number)
    {
        const auto found = m_windows.find(number.toInt());
        if (found == m_windows.end()) {
            answer(QStringLiteral("error no window ") + number);
            return nullptr;
        }
        return found->second.get();
    }

    std::map<int, std::unique_ptr<ClientWindow>> m_windows;
    int m_last = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    Client client;
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, count);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            client.command(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
        }
    });
    return application.exec();
}
