// Window-title corpus of the pattern-engine benchmark (see titlecorpus.h).
#include "titlecorpus.h"

#include <array>
#include <random>
#include <string_view>

namespace {

constexpr std::array kFiles {"main.cpp", "README.md", "patternengine.h", "notes.txt", "Budget 2026.ods",
    "Bericht_Q3.docx", "résumé.odt", "index.html", "setup.py", "Cargo.toml", "отчёт.txt", "設計書.md", "CMakeLists.txt",
    "todo.org", "photo_0042.jpg"};
constexpr std::array kFolders {"src", "Documents", "Downloads", "projects/framewright", "Bilder", "Téléchargements",
    "Рабочий стол", "ドキュメント", "tmp", "music/2019"};
constexpr std::array kPages {"GitHub", "Inbox (3) - Gmail", "Wikipedia, the free encyclopedia", "YouTube",
    "Stack Overflow", "Spiegel Online – Nachrichten", "Le Monde.fr - Actualités", "Яндекс", "ニュース - Yahoo! JAPAN",
    "El País: el periódico global", "New Tab", "Issue #1234 · project/repo", "Hacker News", "Amazon.de: Bücher",
    "Google Maps"};
constexpr std::array kUsers {"anna", "root", "dev", "jörg", "sasha"};
constexpr std::array kHosts {"laptop", "build-01", "raspberrypi", "workstation"};
constexpr std::array kMailFolders {
    "Inbox", "Posteingang", "Boîte de réception", "Входящие", "受信トレイ", "Sent", "Drafts"};

template<typename List> std::string_view pickFrom(std::mt19937 &random, const List &list)
{
    return list[std::uniform_int_distribution<size_t>(0, list.size() - 1)(random)];
}

std::string title(std::mt19937 &random)
{
    const auto file = std::string(pickFrom(random, kFiles));
    const auto folder = std::string(pickFrom(random, kFolders));
    const auto page = std::string(pickFrom(random, kPages));
    const auto user = std::string(pickFrom(random, kUsers));
    const auto host = std::string(pickFrom(random, kHosts));
    const auto number = std::to_string(std::uniform_int_distribution<int>(1, 999)(random));
    switch (std::uniform_int_distribution<int>(0, 17)(random)) {
    case 0:
        return file + " - " + folder + " - Visual Studio Code";
    case 1:
        return "*" + file + " (~/" + folder + ") - gedit";
    case 2:
        return file + " [+] (~/" + folder + ") - VIM";
    case 3:
        return file + " — Kate";
    case 4:
        return page + " - Mozilla Firefox";
    case 5:
        return page + " — Mozilla Firefox Private Browsing";
    case 6:
        return page + " - Chromium";
    case 7:
        return page + " - Google Chrome";
    case 8:
        return user + "@" + host + ": ~/" + folder;
    case 9:
        return "Terminal - " + user + "@" + host + ":~/" + folder;
    case 10:
        return "bash — Konsole";
    case 11:
        return std::string(pickFrom(random, kMailFolders)) + " (" + number + ") - " + user
            + "@example.org - Mozilla Thunderbird";
    case 12:
        return "Write: Re: Meeting " + number + " - Thunderbird";
    case 13:
        return folder + " — Dolphin";
    case 14:
        return folder + " - Thunar";
    case 15:
        return "Home — Files";
    case 16:
        return "LibreOffice Calc - " + file;
    default:
        return "Untitled-" + number + " - Document Viewer";
    }
}

} // namespace

std::vector<std::string> generateTitles(int count)
{
    std::mt19937 random(4242);
    std::vector<std::string> titles;
    titles.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        titles.push_back(title(random));
    }
    return titles;
}
