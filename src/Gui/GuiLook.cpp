#include "Gui/GuiLook.h"

#include <CEGUI/CEGUI.h>

namespace {

// An image's native resolution is protected in the library; this reads it
// without copying the image.
struct NativeResolutionReader : CEGUI::BasicImage {
    static CEGUI::Sizef of(const CEGUI::BasicImage& image)
    {
        return image.*(&NativeResolutionReader::d_nativeResolution);
    }
};

bool belongsToImageset(const CEGUI::String& imageName, const CEGUI::String& imageset)
{
    return imageName.size() > imageset.size() && imageName.compare(0, imageset.size(), imageset) == 0 &&
           imageName[imageset.size()] == '/';
}

// Auto-scaling off, native resolution from the window's aspect: the images of
// `imageset` keep their pixel size.
void keepPixelSize(const CEGUI::String& imageset, int windowWidth, int windowHeight)
{
    CEGUI::ImageManager::ImageIterator image = CEGUI::ImageManager::getSingleton().getIterator();
    for (; !image.isAtEnd(); ++image) {
        if (!belongsToImageset(image.getCurrentKey(), imageset))
            continue;
        auto* basic = dynamic_cast<CEGUI::BasicImage*>(image.getCurrentValue().first);
        if (!basic)
            continue;
        NativeResolution native =
            nativeResolutionFor(NativeResolutionReader::of(*basic).d_height, windowWidth, windowHeight);
        basic->setAutoScaled(CEGUI::ASM_Disabled);
        basic->setNativeResolution(CEGUI::Sizef(native.width, native.height));
    }
}

} // namespace

NativeResolution nativeResolutionFor(float nativeHeight, int windowWidth, int windowHeight)
{
    float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    return {nativeHeight * aspect, nativeHeight};
}

void setUpResourceGroups(const std::string& dataFolder)
{
    auto* provider = static_cast<CEGUI::DefaultResourceProvider*>(CEGUI::System::getSingleton().getResourceProvider());
    for (const ResourceGroupFolder& entry : guiResourceGroups)
        provider->setResourceGroupDirectory(entry.group, dataFolder + "/" + entry.folder);

    CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
    CEGUI::Font::setDefaultResourceGroup("fonts");
    CEGUI::Scheme::setDefaultResourceGroup("schemes");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeels");
    CEGUI::WindowManager::setDefaultResourceGroup("layouts");
    CEGUI::ScriptModule::setDefaultResourceGroup("lua_scripts");
    CEGUI::AnimationManager::setDefaultResourceGroup("animations");
    CEGUI::XMLParser* parser = CEGUI::System::getSingleton().getXMLParser();
    if (parser->isPropertyPresent("SchemaDefaultResourceGroup"))
        parser->setProperty("SchemaDefaultResourceGroup", "schemas");
}

void loadLook(int windowWidth, int windowHeight, std::string& loading)
{
    for (const char* scheme : guiSchemes) {
        loading = std::string("scheme \"") + scheme + "\"";
        CEGUI::SchemeManager::getSingleton().createFromFile(scheme);
    }
    for (const char* imageset : guiImagesets)
        keepPixelSize(imageset, windowWidth, windowHeight);
    loading = std::string("font \"") + guiFont + "\"";
    CEGUI::FontManager::getSingleton().createFromFile(guiFont);
}
