// framewright-testclient: a foreign X11 client for the X11 tests. It opens and changes top-level windows
// on commands read line by line from stdin and answers each with one line on stdout; tests drive it
// through TestClient (testclient.h). It exits on "quit", at the end of its input, or when X goes away.
//
// Command language. Tokens are separated by blanks; <win> is a window id (0x hex or decimal). A title
// follows the token "--" and is the rest of the line as it stands (UTF-8; may be empty or hold blanks).
//   open [option ...] [-- <title>]   create a top-level window, mapped unless "unmapped"; answers "ok <win>"
//                                    (0x hex). Without "--" the window has no title at all.
//     enc=utf8|latin1|compound   title encoding, default utf8:
//                                  utf8     _NET_WM_NAME (UTF8_STRING) and WM_NAME as ICCCM text: STRING when
//                                           the title is Latin-1, else COMPOUND_TEXT
//                                  latin1   WM_NAME of type STRING only (the title must be Latin-1)
//                                  compound WM_NAME of type COMPOUND_TEXT only
//     pos=X,Y                    position, given by the user (USPosition)
//     size=WxH                   size, given by the user (USSize); default 200x150
//     min=WxH max=WxH inc=WxH base=WxH   WM_NORMAL_HINTS minimum, maximum, resize increments, base size
//     aspect=W:H-W:H             WM_NORMAL_HINTS minimum and maximum aspect (width to height, e.g. 4:3-16:9)
//     gravity=<NorthWest..SouthEast|Static|1..10>   WM_NORMAL_HINTS win_gravity
//     transient=<win>|root       WM_TRANSIENT_FOR (0 stands for None)
//     csd=L,R,T,B                _GTK_FRAME_EXTENTS: client-side decoration margins
//     iconic                     WM_HINTS initial_state Iconic (the window manager maps it minimized)
//     undecorated                _MOTIF_WM_HINTS asking for no frame decorations
//     unmapped                   leave the window unmapped (withdrawn)
//   title <win> [enc=...] [-- <title>]   change the title; without "--" remove it
//   map <win> | unmap <win>      map; withdraw (unmap plus the synthetic UnmapNotify of ICCCM 4.1.4)
//   iconify <win>                ask the window manager to minimize it (WM_CHANGE_STATE)
//   destroy <win>
//   prop <win> <property> <type> <8|16|32> [value ...]   set a raw property: for format 8 one hex string
//                                of bytes, for 16 and 32 numbers (for type ATOM also atom names)
//   delprop <win> <property>
//   quit
// Answers: "ok" (open: "ok <win>") once the server has carried the requests out, or "error <reason>".
// Every window has WM_CLASS, WM_PROTOCOLS (WM_DELETE_WINDOW, which destroys it), _NET_WM_PID,
// WM_CLIENT_MACHINE, WM_HINTS and WM_NORMAL_HINTS.
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <poll.h>
#include <unistd.h>

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

namespace {

// A command line longer than this is answered with an error and dropped.
constexpr std::size_t kMaxLineBytes = 1 << 20;
using namespace std::string_view_literals;
constexpr std::string_view kClass = "framewright-testclient\0Framewright-testclient\0"sv; // WM_CLASS instance, class

using Tokens = std::vector<std::string_view>;

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

// A parsed command line: the words before "--", and the text after it when there is one.
struct CommandLine
{
    Tokens words;
    std::optional<std::string> text;
};

CommandLine splitCommand(std::string_view line)
{
    CommandLine command;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        const std::string_view word = line.substr(start, end - start);
        if (word == "--") {
            command.text = std::string(line.substr(std::min(end + 1, line.size())));
            break;
        }
        command.words.push_back(word);
        pos = end;
    }
    return command;
}

// A decimal number, or a hexadecimal one after "0x", in [min, max].
std::optional<long> parseNumber(std::string_view text, long min, long max)
{
    const bool hex = text.starts_with("0x");
    const std::string digits(hex ? text.substr(2) : text);
    if (digits.empty() || !(std::isxdigit(static_cast<unsigned char>(digits[0])) || (!hex && digits[0] == '-'))) {
        return std::nullopt;
    }
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || errno != 0 || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<xcb_window_t> parseWindow(std::string_view text)
{
    const auto value = parseNumber(text, 0, UINT32_MAX);
    return value ? std::optional<xcb_window_t>(static_cast<xcb_window_t>(*value)) : std::nullopt;
}

// "A<sep>B<sep>..." with exactly `count` numbers in [min, max].
std::optional<std::vector<long>> parseList(std::string_view text, char separator, std::size_t count, long min, long max)
{
    std::vector<long> values;
    std::size_t pos = 0;
    while (values.size() < count) {
        const std::size_t end = values.size() + 1 == count ? text.size() : text.find(separator, pos);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const auto value = parseNumber(text.substr(pos, end - pos), min, max);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        pos = end + 1;
    }
    return values;
}

std::optional<xcb_gravity_t> parseGravity(std::string_view text)
{
    static const std::map<std::string_view, xcb_gravity_t> kNames {{"NorthWest", XCB_GRAVITY_NORTH_WEST},
        {"North", XCB_GRAVITY_NORTH}, {"NorthEast", XCB_GRAVITY_NORTH_EAST}, {"West", XCB_GRAVITY_WEST},
        {"Center", XCB_GRAVITY_CENTER}, {"East", XCB_GRAVITY_EAST}, {"SouthWest", XCB_GRAVITY_SOUTH_WEST},
        {"South", XCB_GRAVITY_SOUTH}, {"SouthEast", XCB_GRAVITY_SOUTH_EAST}, {"Static", XCB_GRAVITY_STATIC}};
    if (const auto it = kNames.find(text); it != kNames.end()) {
        return it->second;
    }
    const auto value = parseNumber(text, XCB_GRAVITY_NORTH_WEST, XCB_GRAVITY_STATIC);
    return value ? std::optional<xcb_gravity_t>(static_cast<xcb_gravity_t>(*value)) : std::nullopt;
}

std::optional<std::string> parseHexBytes(std::string_view text)
{
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const auto value = parseNumber("0x" + std::string(text.substr(i, 2)), 0, 255);
        if (!value) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*value));
    }
    return bytes;
}

enum class TitleEncoding { Utf8, Latin1, Compound };

struct WindowSpec
{
    TitleEncoding encoding = TitleEncoding::Utf8;
    std::optional<std::vector<long>> position, size, minSize, maxSize, increments, baseSize, frameExtents;
    std::optional<std::vector<long>> aspects; // minimum width, height, maximum width, height
    std::optional<xcb_gravity_t> gravity;
    std::optional<xcb_window_t> transientFor;
    bool iconic = false;
    bool undecorated = false;
    bool mapped = true;
};

// Reads one "open"/"title" option into `spec`; returns an error message when the option is not valid.
std::optional<std::string> parseOption(std::string_view option, WindowSpec &spec, xcb_window_t root)
{
    const std::size_t equals = option.find('=');
    const std::string_view key = option.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : option.substr(equals + 1);
    const auto parseSize = [&value] { return parseList(value, 'x', 2, 1, SHRT_MAX); };
    bool valid = true;
    if (key == "enc") {
        static const std::map<std::string_view, TitleEncoding> kEncodings {
            {"utf8", TitleEncoding::Utf8}, {"latin1", TitleEncoding::Latin1}, {"compound", TitleEncoding::Compound}};
        const auto it = kEncodings.find(value);
        valid = it != kEncodings.end();
        spec.encoding = valid ? it->second : spec.encoding;
    } else if (key == "pos") {
        valid = bool(spec.position = parseList(value, ',', 2, SHRT_MIN, SHRT_MAX));
    } else if (key == "size") {
        valid = bool(spec.size = parseSize());
    } else if (key == "min") {
        valid = bool(spec.minSize = parseSize());
    } else if (key == "max") {
        valid = bool(spec.maxSize = parseSize());
    } else if (key == "inc") {
        valid = bool(spec.increments = parseSize());
    } else if (key == "base") {
        valid = bool(spec.baseSize = parseList(value, 'x', 2, 0, SHRT_MAX));
    } else if (key == "aspect") {
        const std::size_t dash = value.find('-');
        const auto min = parseList(value.substr(0, dash), ':', 2, 1, SHRT_MAX);
        const auto max
            = dash == std::string_view::npos ? std::nullopt : parseList(value.substr(dash + 1), ':', 2, 1, SHRT_MAX);
        valid = min && max;
        if (valid) {
            spec.aspects = std::vector<long> {(*min)[0], (*min)[1], (*max)[0], (*max)[1]};
        }
    } else if (key == "csd") {
        valid = bool(spec.frameExtents = parseList(value, ',', 4, 0, SHRT_MAX));
    } else if (key == "gravity") {
        valid = bool(spec.gravity = parseGravity(value));
    } else if (key == "transient") {
        valid = bool(spec.transientFor = value == "root" ? std::optional<xcb_window_t>(root) : parseWindow(value));
    } else if (option == "iconic") {
        spec.iconic = true;
    } else if (option == "undecorated") {
        spec.undecorated = true;
    } else if (option == "unmapped") {
        spec.mapped = false;
    } else {
        return "unknown option " + std::string(option);
    }
    return valid ? std::nullopt : std::optional<std::string>("bad value in " + std::string(option));
}

class TestClientProgram
{
public:
    TestClientProgram(Display *display, xcb_connection_t *connection);

    // Carries out one command line and returns the answer line (without the line break).
    std::string execute(std::string_view line);
    void handleEvent(const xcb_generic_event_t *event);
    bool quitRequested() const { return m_quit; }

private:
    struct TextProperty
    {
        xcb_atom_t type;
        std::uint8_t format;
        std::string bytes;
    };
    // The title properties to set; both empty: remove the title.
    struct Title
    {
        std::optional<std::string> netWmName;
        std::optional<TextProperty> wmName;
    };

    std::string open(const Tokens &options, const std::optional<std::string> &title);
    std::string retitle(xcb_window_t window, const Tokens &options, const std::optional<std::string> &title);
    std::string setRawProperty(xcb_window_t window, const Tokens &arguments);
    std::optional<Title> encodeTitle(TitleEncoding encoding, const std::optional<std::string> &title);
    void setTitle(xcb_window_t window, const Title &title);
    std::optional<TextProperty> encodeText(const std::string &utf8, XICCEncodingStyle style, bool exact);
    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint8_t format,
        std::uint32_t count, const void *data);
    void setValues32(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const std::vector<std::uint32_t> &v);
    void deleteProperty(xcb_window_t window, xcb_atom_t property);
    void withdraw(xcb_window_t window);
    void iconify(xcb_window_t window);
    xcb_atom_t atom(std::string_view name);
    // The answer once the server has processed every request sent for this command.
    std::string finish(std::string success);

    Display *m_display;
    xcb_connection_t *m_connection;
    xcb_screen_t *m_screen;
    std::set<xcb_window_t> m_windows;
    std::vector<xcb_void_cookie_t> m_pending;
    std::map<std::string, xcb_atom_t, std::less<>> m_atoms;
    std::string m_hostName;
    bool m_quit = false;
};

TestClientProgram::TestClientProgram(Display *display, xcb_connection_t *connection)
    : m_display(display)
    , m_connection(connection)
    , m_screen(xcb_setup_roots_iterator(xcb_get_setup(connection)).data)
{
    std::array<char, 256> host {};
    if (gethostname(host.data(), host.size() - 1) == 0) {
        m_hostName = host.data();
    }
}

xcb_atom_t TestClientProgram::atom(std::string_view name)
{
    if (const auto it = m_atoms.find(name); it != m_atoms.end()) {
        return it->second;
    }
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!reply || reply->atom == XCB_ATOM_NONE) {
        return XCB_ATOM_NONE;
    }
    m_atoms.emplace(std::string(name), reply->atom);
    return reply->atom;
}

void TestClientProgram::setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint8_t format,
    std::uint32_t count, const void *data)
{
    m_pending.push_back(
        xcb_change_property_checked(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count, data));
}

void TestClientProgram::setValues32(
    xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const std::vector<std::uint32_t> &values)
{
    setProperty(window, property, type, 32, static_cast<std::uint32_t>(values.size()), values.data());
}

void TestClientProgram::deleteProperty(xcb_window_t window, xcb_atom_t property)
{
    m_pending.push_back(xcb_delete_property_checked(m_connection, window, property));
}

std::string TestClientProgram::finish(std::string success)
{
    std::string answer = std::move(success);
    for (const xcb_void_cookie_t cookie : m_pending) {
        const auto error = owned(xcb_request_check(m_connection, cookie));
        if (error && answer.starts_with("ok")) {
            answer = "error X error " + std::to_string(error->error_code) + " in request "
                + std::to_string(error->major_code) + "." + std::to_string(error->minor_code);
        }
    }
    m_pending.clear();
    if (xcb_connection_has_error(m_connection)) {
        return "error lost the X connection";
    }
    return answer;
}

std::optional<TestClientProgram::TextProperty> TestClientProgram::encodeText(
    const std::string &utf8, XICCEncodingStyle style, bool exact)
{
    std::array<char *, 1> list {const_cast<char *>(utf8.c_str())};
    XTextProperty property {};
    const int status = Xutf8TextListToTextProperty(m_display, list.data(), 1, style, &property);
    std::optional<TextProperty> text;
    if (status == Success || (status > 0 && !exact)) {
        text = TextProperty {static_cast<xcb_atom_t>(property.encoding), static_cast<std::uint8_t>(property.format),
            std::string(reinterpret_cast<const char *>(property.value), property.nitems)};
    }
    if (property.value) {
        XFree(property.value);
    }
    return text;
}

// nullopt when the title cannot be encoded as asked.
std::optional<TestClientProgram::Title> TestClientProgram::encodeTitle(
    TitleEncoding encoding, const std::optional<std::string> &title)
{
    if (!title) {
        return Title {};
    }
    const bool utf8 = encoding == TitleEncoding::Utf8;
    const XICCEncodingStyle style = utf8    ? XStdICCTextStyle
        : encoding == TitleEncoding::Latin1 ? XStringStyle
                                            : XCompoundTextStyle;
    // WM_NAME beside _NET_WM_NAME is a fallback for old readers, so a lossy conversion will do there.
    auto wmName = encodeText(*title, style, !utf8);
    if (!wmName) {
        return std::nullopt;
    }
    return Title {utf8 ? title : std::nullopt, std::move(wmName)};
}

void TestClientProgram::setTitle(xcb_window_t window, const Title &title)
{
    const xcb_atom_t netWmName = atom("_NET_WM_NAME");
    if (title.netWmName) {
        setProperty(window, netWmName, atom("UTF8_STRING"), 8, static_cast<std::uint32_t>(title.netWmName->size()),
            title.netWmName->data());
    } else {
        deleteProperty(window, netWmName);
    }
    if (title.wmName) {
        setProperty(window, XCB_ATOM_WM_NAME, title.wmName->type, title.wmName->format,
            static_cast<std::uint32_t>(title.wmName->bytes.size()), title.wmName->bytes.data());
    } else {
        deleteProperty(window, XCB_ATOM_WM_NAME);
    }
}

std::string TestClientProgram::open(const Tokens &options, const std::optional<std::string> &title)
{
    WindowSpec spec;
    for (const std::string_view option : options) {
        if (const auto error = parseOption(option, spec, m_screen->root)) {
            return "error " + *error;
        }
    }
    const auto encodedTitle = encodeTitle(spec.encoding, title);
    if (!encodedTitle) {
        return "error the title cannot be encoded that way";
    }
    const std::vector<long> position = spec.position.value_or(std::vector<long> {0, 0});
    const std::vector<long> size = spec.size.value_or(std::vector<long> {200, 150});

    const xcb_window_t window = xcb_generate_id(m_connection);
    const std::array<std::uint32_t, 2> values {
        m_screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE};
    m_pending.push_back(xcb_create_window_checked(m_connection, XCB_COPY_FROM_PARENT, window, m_screen->root,
        static_cast<std::int16_t>(position[0]), static_cast<std::int16_t>(position[1]),
        static_cast<std::uint16_t>(size[0]), static_cast<std::uint16_t>(size[1]), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values.data()));

    setTitle(window, *encodedTitle);
    setProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, kClass.size(), kClass.data());
    setProperty(window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(m_hostName.size()),
        m_hostName.data());
    setValues32(window, atom("WM_PROTOCOLS"), XCB_ATOM_ATOM, {atom("WM_DELETE_WINDOW")});
    setValues32(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(getpid())});

    xcb_icccm_wm_hints_t hints {};
    xcb_icccm_wm_hints_set_input(&hints, 1);
    if (spec.iconic) {
        xcb_icccm_wm_hints_set_iconic(&hints);
    } else {
        xcb_icccm_wm_hints_set_normal(&hints);
    }
    m_pending.push_back(xcb_icccm_set_wm_hints_checked(m_connection, window, &hints));

    xcb_size_hints_t sizeHints {};
    if (spec.position) {
        xcb_icccm_size_hints_set_position(&sizeHints, 1, position[0], position[1]);
    }
    if (spec.size) {
        xcb_icccm_size_hints_set_size(&sizeHints, 1, size[0], size[1]);
    }
    if (spec.minSize) {
        xcb_icccm_size_hints_set_min_size(&sizeHints, (*spec.minSize)[0], (*spec.minSize)[1]);
    }
    if (spec.maxSize) {
        xcb_icccm_size_hints_set_max_size(&sizeHints, (*spec.maxSize)[0], (*spec.maxSize)[1]);
    }
    if (spec.increments) {
        xcb_icccm_size_hints_set_resize_inc(&sizeHints, (*spec.increments)[0], (*spec.increments)[1]);
    }
    if (spec.baseSize) {
        xcb_icccm_size_hints_set_base_size(&sizeHints, (*spec.baseSize)[0], (*spec.baseSize)[1]);
    }
    if (spec.aspects) {
        const std::vector<long> &a = *spec.aspects;
        xcb_icccm_size_hints_set_aspect(&sizeHints, a[0], a[1], a[2], a[3]);
    }
    if (spec.gravity) {
        xcb_icccm_size_hints_set_win_gravity(&sizeHints, *spec.gravity);
    }
    m_pending.push_back(xcb_icccm_set_wm_normal_hints_checked(m_connection, window, &sizeHints));

    if (spec.transientFor) {
        m_pending.push_back(xcb_icccm_set_wm_transient_for_checked(m_connection, window, *spec.transientFor));
    }
    if (spec.frameExtents) {
        const std::vector<long> &e = *spec.frameExtents;
        setValues32(window, atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL,
            {std::uint32_t(e[0]), std::uint32_t(e[1]), std::uint32_t(e[2]), std::uint32_t(e[3])});
    }
    if (spec.undecorated) {
        // flags: decorations given; functions; decorations: none; input mode; status
        setValues32(window, atom("_MOTIF_WM_HINTS"), atom("_MOTIF_WM_HINTS"), {2, 0, 0, 0, 0});
    }
    if (spec.mapped) {
        m_pending.push_back(xcb_map_window_checked(m_connection, window));
    }

    std::array<char, 32> id {};
    std::snprintf(id.data(), id.size(), "ok 0x%x", window);
    const std::string answer = finish(id.data());
    if (answer.starts_with("ok")) {
        m_windows.insert(window);
    } else {
        xcb_destroy_window(m_connection, window);
    }
    return answer;
}

std::string TestClientProgram::retitle(
    xcb_window_t window, const Tokens &options, const std::optional<std::string> &title)
{
    WindowSpec spec;
    for (const std::string_view option : options) {
        const auto error = parseOption(option, spec, m_screen->root);
        if (error || !option.starts_with("enc=")) {
            return "error " + error.value_or("title takes only enc=");
        }
    }
    const auto encodedTitle = encodeTitle(spec.encoding, title);
    if (!encodedTitle) {
        return "error the title cannot be encoded that way";
    }
    setTitle(window, *encodedTitle);
    return finish("ok");
}

std::string TestClientProgram::setRawProperty(xcb_window_t window, const Tokens &arguments)
{
    if (arguments.size() < 3) {
        return "error prop needs <property> <type> <format> [value ...]";
    }
    const xcb_atom_t property = atom(arguments[0]);
    const xcb_atom_t type = atom(arguments[1]);
    const auto format = parseNumber(arguments[2], 8, 32);
    const Tokens values(arguments.begin() + 3, arguments.end());
    if (property == XCB_ATOM_NONE || type == XCB_ATOM_NONE || !format
        || (*format != 8 && *format != 16 && *format != 32)) {
        return "error bad property, type or format";
    }
    if (*format == 8) {
        const auto bytes = values.empty() ? std::optional<std::string>("") : parseHexBytes(values[0]);
        if (!bytes || values.size() > 1) {
            return "error format 8 takes one hex string";
        }
        setProperty(window, property, type, 8, static_cast<std::uint32_t>(bytes->size()), bytes->data());
        return finish("ok");
    }
    const long max = *format == 16 ? UINT16_MAX : UINT32_MAX;
    std::vector<std::uint32_t> numbers;
    for (const std::string_view value : values) {
        auto number = parseNumber(value, 0, max);
        if (!number && type == XCB_ATOM_ATOM && *format == 32) {
            number = atom(value);
        }
        if (!number) {
            return "error bad value " + std::string(value);
        }
        numbers.push_back(static_cast<std::uint32_t>(*number));
    }
    if (*format == 32) {
        setValues32(window, property, type, numbers);
    } else {
        const std::vector<std::uint16_t> shorts(numbers.begin(), numbers.end());
        setProperty(window, property, type, 16, static_cast<std::uint32_t>(shorts.size()), shorts.data());
    }
    return finish("ok");
}

// ICCCM 4.1.4: a client withdraws a window by unmapping it and sending a synthetic UnmapNotify to the root,
// so that a window manager learns of it even when the window was iconic (and already unmapped).
void TestClientProgram::withdraw(xcb_window_t window)
{
    m_pending.push_back(xcb_unmap_window_checked(m_connection, window));
    xcb_unmap_notify_event_t event {};
    event.response_type = XCB_UNMAP_NOTIFY;
    event.event = m_screen->root;
    event.window = window;
    m_pending.push_back(xcb_send_event_checked(m_connection, 0, m_screen->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event)));
}

// ICCCM 4.1.4: WM_CHANGE_STATE with IconicState, sent to the root.
void TestClientProgram::iconify(xcb_window_t window)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_CHANGE_STATE");
    event.data.data32[0] = XCB_ICCCM_WM_STATE_ICONIC;
    m_pending.push_back(xcb_send_event_checked(m_connection, 0, m_screen->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event)));
}

std::string TestClientProgram::execute(std::string_view line)
{
    const CommandLine command = splitCommand(line);
    if (command.words.empty()) {
        return "error empty command";
    }
    const std::string_view verb = command.words[0];
    if (verb == "quit") {
        m_quit = true;
        return "ok";
    }
    if (verb == "open") {
        return open(Tokens(command.words.begin() + 1, command.words.end()), command.text);
    }
    static const std::set<std::string_view> kWindowVerbs {
        "title", "prop", "map", "unmap", "iconify", "destroy", "delprop"};
    if (!kWindowVerbs.contains(verb)) {
        return "error unknown command " + std::string(verb);
    }
    const auto window = command.words.size() >= 2 ? parseWindow(command.words[1]) : std::nullopt;
    if (!window || !m_windows.contains(*window)) {
        return "error " + std::string(verb) + " needs a window of this client";
    }
    const Tokens rest(command.words.begin() + 2, command.words.end());
    if (verb == "title") {
        return retitle(*window, rest, command.text);
    }
    if (verb == "prop") {
        return setRawProperty(*window, rest);
    }
    if (!rest.empty() && verb != "delprop") {
        return "error too many arguments";
    }
    if (verb == "map") {
        m_pending.push_back(xcb_map_window_checked(m_connection, *window));
    } else if (verb == "unmap") {
        withdraw(*window);
    } else if (verb == "iconify") {
        iconify(*window);
    } else if (verb == "destroy") {
        m_pending.push_back(xcb_destroy_window_checked(m_connection, *window));
        m_windows.erase(*window);
    } else if (rest.size() == 1) {
        deleteProperty(*window, atom(rest[0]));
    } else {
        return "error delprop needs <property>";
    }
    return finish("ok");
}

void TestClientProgram::handleEvent(const xcb_generic_event_t *event)
{
    const std::uint8_t type = event->response_type & 0x7F;
    if (type == 0) {
        const auto *error = reinterpret_cast<const xcb_generic_error_t *>(event);
        std::fprintf(stderr, "framewright-testclient: X error %d in request %d.%d\n", error->error_code,
            error->major_code, error->minor_code);
    } else if (type == XCB_CLIENT_MESSAGE) {
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
        if (message->type == atom("WM_PROTOCOLS") && message->format == 32
            && message->data.data32[0] == atom("WM_DELETE_WINDOW") && m_windows.erase(message->window) == 1) {
            xcb_destroy_window(m_connection, message->window);
        }
    }
}

void answer(const std::string &text)
{
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Reads what stdin has and carries out every complete line; false at the end of input.
bool readCommands(TestClientProgram &program, std::string &buffer, bool &discarding)
{
    std::array<char, 4096> chunk {};
    const ssize_t count = read(STDIN_FILENO, chunk.data(), chunk.size());
    if (count < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    if (count == 0) {
        return false;
    }
    buffer.append(chunk.data(), static_cast<std::size_t>(count));
    std::size_t newline;
    while (!program.quitRequested() && (newline = buffer.find('\n')) != std::string::npos) {
        std::string_view line(buffer.data(), newline);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        answer(discarding ? "error line too long" : program.execute(line));
        discarding = false;
        buffer.erase(0, newline + 1);
    }
    if (buffer.size() > kMaxLineBytes) {
        discarding = true;
        buffer.clear();
    }
    return true;
}

} // namespace

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("framewright-testclient: cannot open the display\n", stderr);
        return 1;
    }
    XSetEventQueueOwner(display, XCBOwnsEventQueue);
    xcb_connection_t *connection = XGetXCBConnection(display);
    TestClientProgram program(display, connection);

    std::string buffer;
    bool discarding = false;
    int status = 0;
    while (!program.quitRequested()) {
        while (const auto event = owned(xcb_poll_for_event(connection))) {
            program.handleEvent(event.get());
        }
        if (xcb_connection_has_error(connection)) {
            std::fputs("framewright-testclient: lost the X connection\n", stderr);
            status = 1;
            break;
        }
        xcb_flush(connection);
        std::array<pollfd, 2> fds {{{STDIN_FILENO, POLLIN, 0}, {xcb_get_file_descriptor(connection), POLLIN, 0}}};
        if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
            status = 1;
            break;
        }
        if (fds[0].revents != 0 && !readCommands(program, buffer, discarding)) {
            break;
        }
    }
    XCloseDisplay(display);
    return status;
}
