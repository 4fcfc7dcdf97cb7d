// Loading Xlib on first use and converting COMPOUND_TEXT with it.
#include "x11xlibtext.h"

#include "x11connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dlfcn.h>

#include <utility>
#include <vector>

namespace platform::x11 {

namespace {

constexpr char kXlibSoname[] = "libX11.so.6";

} // namespace

// The Xlib functions used, looked up in the library loaded once for the process (never unloaded: Xlib keeps
// state, such as its locale converters, that outlives a display).
struct XlibText::Functions
{
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XInternAtom) internAtom = nullptr;
    decltype(&Xutf8TextPropertyToTextList) textPropertyToTextList = nullptr;
    decltype(&XFreeStringList) freeStringList = nullptr;

    static const Functions *load()
    {
        static const Functions functions = [] {
            Functions f;
            void *library = dlopen(kXlibSoname, RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) {
                return f;
            }
            f.openDisplay = reinterpret_cast<decltype(f.openDisplay)>(dlsym(library, "XOpenDisplay"));
            f.closeDisplay = reinterpret_cast<decltype(f.closeDisplay)>(dlsym(library, "XCloseDisplay"));
            f.internAtom = reinterpret_cast<decltype(f.internAtom)>(dlsym(library, "XInternAtom"));
            f.textPropertyToTextList
                = reinterpret_cast<decltype(f.textPropertyToTextList)>(dlsym(library, "Xutf8TextPropertyToTextList"));
            f.freeStringList = reinterpret_cast<decltype(f.freeStringList)>(dlsym(library, "XFreeStringList"));
            return f;
        }();
        const bool complete = functions.openDisplay && functions.closeDisplay && functions.internAtom
            && functions.textPropertyToTextList && functions.freeStringList;
        return complete ? &functions : nullptr;
    }
};

XlibText::XlibText(std::string displayName)
    : m_displayName(std::move(displayName))
{ }

void XlibText::close()
{
    if (m_display != nullptr) {
        m_functions->closeDisplay(std::exchange(m_display, nullptr));
    }
}

bool XlibText::open()
{
    if (!m_tried) {
        m_tried = true;
        m_functions = Functions::load();
        if (m_functions == nullptr) {
            qCInfo(lcX11) << kXlibSoname << "cannot be loaded:" << dlerror();
            return false;
        }
        m_display = m_functions->openDisplay(m_displayName.c_str());
        if (m_display == nullptr) {
            qCInfo(lcX11) << "Xlib cannot open the display";
            return false;
        }
        // Xlib's converters compare the property's type with these atoms, looked up by name on the display.
        // Interned now, they are in Xlib's atom cache, so converting never sends a request (nor meets Xlib's fatal
        // error handling of a broken connection).
        m_functions->internAtom(m_display, "COMPOUND_TEXT", False);
        m_functions->internAtom(m_display, "UTF8_STRING", False);
    }
    return m_display != nullptr;
}

std::optional<std::string> XlibText::toUtf8(std::span<const uint8_t> bytes, uint32_t compoundText)
{
    if (!open()) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(bytes.begin(), bytes.end());
    buffer.push_back(0);
    XTextProperty property {buffer.data(), compoundText, 8, static_cast<unsigned long>(bytes.size())};
    char **list = nullptr;
    int count = 0;
    const int status = m_functions->textPropertyToTextList(m_display, &property, &list, &count);
    std::optional<std::string> text;
    if (status >= Success && list != nullptr && count > 0 && list[0] != nullptr) {
        text = std::string(list[0]);
    } else {
        qCDebug(lcX11) << "cannot convert COMPOUND_TEXT in this locale, status" << status;
    }
    if (list != nullptr) {
        m_functions->freeStringList(list);
    }
    return text;
}

} // namespace platform::x11
