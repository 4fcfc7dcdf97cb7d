// loadSkin: package, description, the loading steps in order, derived images.
#include "skinloader.h"

#include "skin/format/lzh.h"
#include "skin/format/quickini.h"
#include "skinloadsteps.h"

#include <string>
#include <string_view>

SkinLoadResult loadSkin(std::span<const uint8_t> package, const PlatformLook &look)
{
    SkinLoadResult result;
    TSkinReader reader;
    try {
        if (!reader.open(package)) {
            result.packageError = reader.error();
            result.errorText = QString::fromStdString(reader.errorText());
            return result;
        }
    } catch (const ElzhException &e) {
        result.errorText = QString::fromLatin1(e.what());
        return result;
    }
    std::string descriptionName;
    const std::vector<uint8_t> text = reader.extractFirstContaining(".ini", &descriptionName);
    if (descriptionName.empty()) {
        result.errorText = QStringLiteral("the package has no description entry");
        return result;
    }
    TQuickIni ini;
    ini.load(std::string_view(reinterpret_cast<const char *>(text.data()), text.size()));
    const SkinDescription description(ini, reader);

    SkinObjects &skin = result.objects.emplace();
    skinload::readFrame(description, skin);
    skinload::readColours(description, look.colours, skin);
    skinload::readSysButtons(description, skin);
    skinload::readButtonsAndTitle(description, skin);
    skinload::readControls(description, skin);
    skinload::deriveImages(look, skin);
    return result;
}
