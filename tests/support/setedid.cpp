// framewright-setedid: puts a synthetic 128-byte EDID naming a monitor on a RandR output, as the output
// property "EDID" (type INTEGER, format 8) that drivers publish. The dummy driver and Xvfb have no EDID of their
// own and `xrandr --set` only changes properties that already exist. Usage: framewright-setedid <output> <name>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace {

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

using Edid = std::array<std::uint8_t, 128>;

constexpr std::size_t kDescriptorTextBytes = 13;

// An 18-byte display descriptor (EDID 1.3, section 3.10.3) holding text: 00 00 00 <tag> 00, then up to
// 13 characters ended by 0x0A and padded with 0x20.
void putTextDescriptor(Edid &edid, std::size_t offset, std::uint8_t tag, std::string_view text)
{
    const std::array<std::uint8_t, 5> head {0x00, 0x00, 0x00, tag, 0x00};
    std::memcpy(&edid[offset], head.data(), head.size());
    for (std::size_t i = 0; i < kDescriptorTextBytes; ++i) {
        const char c = i < text.size() ? text[i] : (i == text.size() ? '\n' : ' ');
        edid[offset + 5 + i] = static_cast<std::uint8_t>(c);
    }
}

// EDID 1.3 base block of a 1920x1080 digital monitor, 508 x 286 mm, named `name`.
Edid makeEdid(std::string_view name)
{
    static constexpr std::array<std::uint8_t, 54> kFixedPart {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0x00,                   // 0-7: header
        0x1A, 0xF4,             // 8-9: manufacturer "FWT", three 5-bit letters (A = 1), big-endian
        0x80, 0x07,             // 10-11: product code 1920, little-endian
        0x01, 0x00, 0x00, 0x00, // 12-15: serial number 1
        0x01, 34,               // 16-17: week 1 of 1990 + 34
        0x01, 0x03,             // 18-19: EDID version 1.3
        0x80,                   // 20: digital input
        51, 29,                 // 21-22: image size in cm
        0x78,                   // 23: gamma 2.2, stored as gamma * 100 - 100
        0x0A,                   // 24: RGB colour, preferred timing in the first descriptor
        0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54, // 25-34: sRGB chromaticity
        0x00, 0x00, 0x00,                                           // 35-37: no established timings
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,             // 38-53: eight unused standard timings
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};
    // 54-71: detailed timing 1920x1080 at 60 Hz: 148.5 MHz pixel clock (in 10 kHz, little-endian),
    // active/blank 1920/280 and 1080/45, sync offset/width 88/44 and 4/5, image 508 x 286 mm,
    // no border, digital separate sync with positive polarities.
    static constexpr std::array<std::uint8_t, 18> kPreferredTiming {
        0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0xFC, 0x1E, 0x11, 0x00, 0x00, 0x1E};
    // 90-107: range limits: 56-76 Hz vertical, 30-83 kHz horizontal, 150 MHz, default GTF.
    static constexpr std::array<std::uint8_t, 18> kRangeLimits {
        0x00, 0x00, 0x00, 0xFD, 0x00, 0x38, 0x4C, 0x1E, 0x53, 0x0F, 0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};

    Edid edid {};
    std::memcpy(&edid[0], kFixedPart.data(), kFixedPart.size());
    std::memcpy(&edid[54], kPreferredTiming.data(), kPreferredTiming.size());
    putTextDescriptor(edid, 72, 0xFC, name); // 72-89: monitor name
    std::memcpy(&edid[90], kRangeLimits.data(), kRangeLimits.size());
    edid[108 + 3] = 0x10; // 108-125: dummy descriptor, all zero but the tag
    edid[126] = 0;        // no extension blocks
    unsigned sum = 0;
    for (std::size_t i = 0; i < 127; ++i) {
        sum += edid[i];
    }
    edid[127] = static_cast<std::uint8_t>((256 - sum % 256) % 256); // the block sums to 0 modulo 256
    return edid;
}

bool isDescriptorText(std::string_view text)
{
    if (text.empty() || text.size() > kDescriptorTextBytes) {
        return false;
    }
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

int fail(const char *message)
{
    std::fprintf(stderr, "framewright-setedid: %s\n", message);
    return 1;
}

// The output called `name` on the first screen, or XCB_NONE.
xcb_randr_output_t findOutput(xcb_connection_t *connection, xcb_window_t root, std::string_view name)
{
    const auto resources = owned(xcb_randr_get_screen_resources_current_reply(
        connection, xcb_randr_get_screen_resources_current(connection, root), nullptr));
    if (!resources) {
        return XCB_NONE;
    }
    const xcb_randr_output_t *outputs = xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    for (int i = 0; i < count; ++i) {
        const auto info = owned(xcb_randr_get_output_info_reply(
            connection, xcb_randr_get_output_info(connection, outputs[i], resources->config_timestamp), nullptr));
        if (!info) {
            continue;
        }
        const std::string_view outputName(reinterpret_cast<const char *>(xcb_randr_get_output_info_name(info.get())),
            static_cast<std::size_t>(xcb_randr_get_output_info_name_length(info.get())));
        if (outputName == name) {
            return outputs[i];
        }
    }
    return XCB_NONE;
}

xcb_atom_t internAtom(xcb_connection_t *connection, std::string_view name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!reply) {
        return XCB_ATOM_NONE;
    }
    return reply->atom;
}

// Sets the property and reads it back: true when the server holds exactly `edid`.
bool setEdid(xcb_connection_t *connection, xcb_randr_output_t output, xcb_atom_t property, const Edid &edid)
{
    const auto error = owned(xcb_request_check(connection,
        xcb_randr_change_output_property_checked(
            connection, output, property, XCB_ATOM_INTEGER, 8, XCB_PROP_MODE_REPLACE, edid.size(), edid.data())));
    if (error) {
        return false;
    }
    const auto stored = owned(xcb_randr_get_output_property_reply(connection,
        xcb_randr_get_output_property(connection, output, property, XCB_ATOM_ANY, 0, edid.size() / 4, 0, 0), nullptr));
    return stored && stored->type == XCB_ATOM_INTEGER && stored->format == 8
        && xcb_randr_get_output_property_data_length(stored.get()) == static_cast<int>(edid.size())
        && std::memcmp(xcb_randr_get_output_property_data(stored.get()), edid.data(), edid.size()) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        return fail("usage: framewright-setedid <output> <monitor name>");
    }
    const std::string_view outputName = argv[1];
    const std::string_view monitorName = argv[2];
    if (!isDescriptorText(monitorName)) {
        return fail("the monitor name must be 1 to 13 printable ASCII characters");
    }

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return fail("cannot connect to the X server");
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    int status = 0;
    const xcb_randr_output_t output = findOutput(connection, root, outputName);
    const xcb_atom_t property = internAtom(connection, "EDID");
    if (output == XCB_NONE) {
        status = fail("no RandR output of that name");
    } else if (property == XCB_ATOM_NONE) {
        status = fail("cannot intern the atom EDID");
    } else if (!setEdid(connection, output, property, makeEdid(monitorName))) {
        status = fail("the server did not store the EDID property");
    }
    xcb_disconnect(connection);
    return status;
}
